// The SDK's file functions on a temporary device root.
#include <unistd.h>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "platform/sdk/files.h"
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

}  // namespace
