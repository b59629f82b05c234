#include "system_init/StateFiles.h"

#include <gtest/gtest.h>

#include "support/TempDeviceRoot.h"

namespace marrowleaf::test {
namespace {

using desktop::RestoreStateFiles;
using desktop::SaveStateFiles;

constexpr const char* kSaved = "/mnt/ext1/system/state/.bsstate";
constexpr const char* kCurrent = "/tmp/.current";
constexpr const char* kReaderState = "/tmp/.bsstate";

std::string Count(uint32_t n) {
  return std::string{static_cast<char>(n & 0xff), static_cast<char>((n >> 8) & 0xff),
                     static_cast<char>((n >> 16) & 0xff), static_cast<char>(n >> 24)};
}

class StateFiles : public ::testing::Test {
 protected:
  void SetUp() override { root_.MakeFolder("/mnt/ext1/system/state"); }
  TempDeviceRoot root_;
};

TEST_F(StateFiles, SavesBothFilesInTheSharedLayoutAndRestoresThem) {
  const std::string book = "/mnt/ext1/Books/novel.epub";
  const std::string state("pos=12\0\x01\xff", 9);
  root_.Write(kCurrent, book);
  root_.Write(kReaderState, state);
  SaveStateFiles();
  EXPECT_EQ(root_.Read(kSaved), Count(4 + book.size()) + book + state);

  root_.Write(kCurrent, "stale");
  root_.Write(kReaderState, "stale");
  RestoreStateFiles();
  EXPECT_EQ(root_.Read(kCurrent), book);
  EXPECT_EQ(root_.Read(kReaderState), state);
  EXPECT_FALSE(root_.Exists(kSaved));
}

TEST_F(StateFiles, RestoresOnlyTheReaderStateWhenNoBookWasSaved) {
  root_.Write(kCurrent, "untouched");
  root_.Write(kSaved, Count(4) + "state bytes");
  RestoreStateFiles();
  EXPECT_EQ(root_.Read(kCurrent), "untouched");
  EXPECT_EQ(root_.Read(kReaderState), "state bytes");
}

TEST_F(StateFiles, SavesACountOfFourWhenThereIsNoCurrentBook) {
  root_.Write(kReaderState, "only state");
  SaveStateFiles();
  EXPECT_EQ(root_.Read(kSaved), Count(4) + "only state");
}

TEST_F(StateFiles, IgnoresASavedFileWhoseCountIsDamagedButStillDeletesIt) {
  for (const std::string& saved :
       {Count(400) + "short", Count(0xffffffff) + "x", Count(3) + "xyz", std::string("ab")}) {
    root_.Write(kCurrent, "kept");
    root_.Write(kReaderState, "kept");
    root_.Write(kSaved, saved);
    RestoreStateFiles();
    EXPECT_EQ(root_.Read(kCurrent), "kept");
    EXPECT_EQ(root_.Read(kReaderState), "kept");
    EXPECT_FALSE(root_.Exists(kSaved));
  }
}

TEST_F(StateFiles, LeavesTheTemporaryFilesAloneWithoutASavedFile) {
  root_.Write(kCurrent, "book");
  RestoreStateFiles();
  EXPECT_EQ(root_.Read(kCurrent), "book");
  EXPECT_FALSE(root_.Exists(kReaderState));
}

TEST_F(StateFiles, KeepsTheSavedFileWithin16384Bytes) {
  root_.Write(kCurrent, std::string(20000, 'b'));
  root_.Write(kReaderState, "never fits");
  SaveStateFiles();
  const std::string saved = root_.Read(kSaved);
  EXPECT_EQ(saved, Count(16384) + std::string(16380, 'b'));

  root_.Write(kCurrent, std::string(100, 'b'));
  root_.Write(kReaderState, std::string(20000, 's'));
  SaveStateFiles();
  EXPECT_EQ(root_.Read(kSaved).size(), 16384u);
}

}  // namespace
}  // namespace marrowleaf::test
