#include "system_init/StateFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

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

  // Without a current book the count is four and only the reader's state follows.
  std::remove(root_.Host(kCurrent).c_str());
  SaveStateFiles();
  EXPECT_EQ(root_.Read(kSaved), Count(4) + state);
}

// A saved file with no book restores only the reader's state; one whose count is damaged restores
// nothing; both are deleted. Without a saved file nothing changes.
TEST_F(StateFiles, RestoresOnlyWhatASavedFileHoldsWholeAndDeletesIt) {
  struct Case {
    const char* what;
    std::string saved;  // empty: no saved file
    std::string reader_state;
  };
  const std::vector<Case> cases = {
      {"no book saved", Count(4) + "state bytes", "state bytes"},
      {"count past the end", Count(400) + "short", "kept"},
      {"count of 2^32-1", Count(0xffffffff) + "x", "kept"},
      {"count below four", Count(3) + "xyz", "kept"},
      {"no whole count", "ab", "kept"},
      {"no saved file", "", "kept"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    root_.Write(kCurrent, "kept");
    root_.Write(kReaderState, "kept");
    if (!c.saved.empty())
      root_.Write(kSaved, c.saved);
    RestoreStateFiles();
    EXPECT_EQ(root_.Read(kCurrent), "kept");
    EXPECT_EQ(root_.Read(kReaderState), c.reader_state);
    EXPECT_FALSE(root_.Exists(kSaved));
  }
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
