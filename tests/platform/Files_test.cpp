// The SDK's file functions on a temporary device root.
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sdk/files.h"
#include "platform/utils/FileRemoval.h"
#include "support/TempDeviceRoot.h"

namespace {

using marrowleaf::test::TempDeviceRoot;

size_t EntriesIn(const TempDeviceRoot& root, const std::string& folder) {
  size_t count = 0;
  for ([[maybe_unused]] const auto& entry :
       std::filesystem::directory_iterator(root.Host(folder))) {
    ++count;
  }
  return count;
}

TEST(Files, BuildPathCreatesTheParentFoldersButNotTheFile) {
  TempDeviceRoot root;
  EXPECT_EQ(pk_buildpath("/mnt/ext1/system/cache/desktop/cache.dat"), 0);
  EXPECT_TRUE(std::filesystem::is_directory(root.Host("/mnt/ext1/system/cache/desktop")));
  EXPECT_FALSE(root.Exists("/mnt/ext1/system/cache/desktop/cache.dat"));
  EXPECT_EQ(pk_buildpath("/mnt/ext1/system//profiles/alice/"), 0);
  EXPECT_TRUE(std::filesystem::is_directory(root.Host("/mnt/ext1/system/profiles/alice")));
  EXPECT_EQ(pk_buildpath("/mnt/ext1/system/cache/desktop/cache.dat"), 0) << "already there";
}

TEST(Files, BuildPathFailsWhereAFileStandsInTheWay) {
  TempDeviceRoot root;
  root.Write("/mnt/ext1/blocker", "x");
  EXPECT_EQ(pk_buildpath("/mnt/ext1/blocker/inner/file"), -1);
  EXPECT_EQ(pk_buildpath(nullptr), -1);
}

TEST(Files, AccessAndUnlinkWorkOnDevicePaths) {
  TempDeviceRoot root;
  root.Write("/tmp/desktop_update.cfg", "update=1\n");
  EXPECT_EQ(pk_access("/tmp/desktop_update.cfg", F_OK), 0);
  EXPECT_EQ(pk_access("/tmp/missing", F_OK), -1);
  EXPECT_EQ(pk_access(nullptr, F_OK), -1);
  EXPECT_EQ(pk_unlink("/tmp/desktop_update.cfg"), 0);
  EXPECT_FALSE(root.Exists("/tmp/desktop_update.cfg"));
  EXPECT_EQ(pk_unlink("/tmp/desktop_update.cfg"), -1);
}

TEST(Files, CopyReplacesTheTargetWholeAndLeavesNoTemporaryFile) {
  TempDeviceRoot root;
  std::string content;
  for (int i = 0; i < 100000; ++i) content += static_cast<char>(i * 7);
  root.Write("/ebrmain/config/desktop/view.json", content);
  root.Write("/mnt/ext1/system/config/desktop/view.json",
             "old content that is longer than nothing");
  EXPECT_EQ(
      CopyFile("/ebrmain/config/desktop/view.json", "/mnt/ext1/system/config/desktop/view.json"),
      0);
  EXPECT_EQ(root.Read("/mnt/ext1/system/config/desktop/view.json"), content);
  EXPECT_EQ(EntriesIn(root, "/mnt/ext1/system/config/desktop"), 1u);
}

TEST(Files, CopyFailsWithoutTouchingTheTarget) {
  TempDeviceRoot root;
  root.Write("/mnt/ext1/target", "kept");
  root.MakeFolder("/ebrmain/a_folder");
  EXPECT_EQ(copy_file("/ebrmain/missing", "/mnt/ext1/target"), -1);
  EXPECT_EQ(copy_file("/ebrmain/a_folder", "/mnt/ext1/target"), -1);
  EXPECT_EQ(copy_file(nullptr, "/mnt/ext1/target"), -1);
  EXPECT_EQ(root.Read("/mnt/ext1/target"), "kept");
  root.Write("/ebrmain/source", "new");
  EXPECT_EQ(copy_file("/ebrmain/source", "/mnt/ext1/no/folder/target"), -1);
  EXPECT_EQ(EntriesIn(root, "/mnt/ext1"), 1u);
}

// A folder beside the device root with a file that no device path may reach, and the working
// folder moved into it, where a relative path would land.
class DeviceRootEscape : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(outside_);
    std::ofstream(outside_ / "victim") << "keep";
    previous_folder_ = std::filesystem::current_path();
    std::filesystem::current_path(outside_);
  }
  void TearDown() override {
    std::filesystem::current_path(previous_folder_);
    std::filesystem::remove_all(outside_);
  }
  // The outside folder holds the untouched victim and nothing else.
  void ExpectOutsideUntouched(const std::string& what) const {
    std::ifstream in(outside_ / "victim");
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, "keep") << what;
    size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(outside_))
      ++entries;
    EXPECT_EQ(entries, 1u) << what;
  }

  TempDeviceRoot root_;
  std::filesystem::path outside_ = root_.HostRoot() + "-outside";
  std::filesystem::path previous_folder_;
};

TEST_F(DeviceRootEscape, DotDotStopsAtTheRootAndRelativePathsAreRefused) {
  EXPECT_EQ(HostPath("/../../etc/passwd"), root_.Host("/etc/passwd"));
  EXPECT_EQ(HostPath("/mnt/ext1/./books/../system//x"), root_.Host("/mnt/ext1/system/x"));
  EXPECT_EQ(HostPath("/mnt/.."), root_.Host("/"));
  EXPECT_EQ(HostPath("/mnt/ext1/"), root_.Host("/mnt/ext1/"));
  for (const char* refused : {"victim", "./victim", "../victim", "", ":memory:"}) {
    EXPECT_EQ(HostPath(refused), "") << refused;
  }
}

TEST_F(DeviceRootEscape, NoFileCallReachesOutsideThroughDotDotRelativePathsOrLinks) {
  std::filesystem::create_directories(root_.Host("/mnt/ext1"));
  std::filesystem::create_directory_symlink(outside_, root_.Host("/mnt/ext1/link"));
  root_.Write("/mnt/ext1/source", "new");
  std::string up;
  for (int i = 0; i < 32; ++i) up += "/..";
  const std::vector<std::string> hostile = {up + (outside_ / "victim").string(), "victim",
                                            "./victim", "/mnt/ext1/link/victim"};
  const std::vector<std::pair<const char*, std::function<void(const char*)>>> calls = {
      {"pk_unlink", [](const char* path) { pk_unlink(path); }},
      {"unlink_file_with_af",
       [](const char* path) { marrowleaf::utilities::unlink_file_with_af(path); }},
      {"WriteFileAtomically", [](const char* path) { WriteFileAtomically(path, "lost"); }},
      {"copy_file", [](const char* path) { copy_file("/mnt/ext1/source", path); }},
      {"pk_buildpath", [](const char* path) { pk_buildpath((std::string(path) + "/x/y").c_str()); }},
  };
  for (const std::string& path : hostile) {
    for (const auto& [name, call] : calls) {
      call(path.c_str());
      ExpectOutsideUntouched(std::string(name) + " " + path);
    }
    if (path[0] != '/') {
      EXPECT_EQ(pk_access(path.c_str(), F_OK), -1) << path;
    }
  }
  std::string content;
  EXPECT_FALSE(ReadFileCapped("victim", 100, &content));
  EXPECT_EQ(pk_unlink("/mnt/ext1/link"), 0) << "the link itself lies inside and may go";
  ExpectOutsideUntouched("the link removed");
}

}  // namespace
