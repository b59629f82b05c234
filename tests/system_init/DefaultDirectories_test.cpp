#include "system_init/DefaultDirectories.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "support/TempDeviceRoot.h"
#include "system_init/MakeHidden.h"

namespace marrowleaf::test {
namespace {

using desktop::CreateDefaultDirectories;
using desktop::make_hidden;

constexpr const char* kStyles = "/mnt/ext1/system/config/styles.xml";
constexpr const char* kDefaultStyles = "/ebrmain/share/FBReader/default/styles.xml";
const std::string kDefaultStyleText = "<DefaultStyles>default</DefaultStyles>\n";

// A stand-in for the device's attribute tool that records its arguments.
void InstallAttributeTool(const TempDeviceRoot& root, int exit_status) {
  root.Write("/bin/mattr", "#!/bin/sh\necho \"$@\" >> \"$MARROWLEAF_ROOT/mattr.calls\"\nexit " +
                               std::to_string(exit_status) + "\n");
  chmod(root.Host("/bin/mattr").c_str(), 0755);
}

class DefaultDirectories : public ::testing::Test {
 protected:
  void SetUp() override {
    root_.Write(kDefaultStyles, kDefaultStyleText);
    root_.MakeFolder("/mnt/ext1/system/config");
  }
  TempDeviceRoot root_;
};

TEST_F(DefaultDirectories, CreatesTheFoldersTheMarkerAndHidesTheSystemFolder) {
  InstallAttributeTool(root_, 0);
  CreateDefaultDirectories();
  for (const char* folder :
       {"/mnt/ext1/system/cache", "/mnt/ext1/system/fonts", "/mnt/ext1/system/themes",
        "/mnt/ext1/system/language/keyboard", "/mnt/ext1/applications", "/mnt/ext1/system/bin",
        "/mnt/ext1/system/logo/bootlogo", "/mnt/ext1/system/logo/offlogo",
        "/mnt/ext1/system/dictionaries"}) {
    EXPECT_TRUE(root_.Exists(folder)) << folder;
  }
  EXPECT_EQ(root_.Read("/mnt/ext1/system/.marrowleaf"), "");
  EXPECT_EQ(root_.Read("/mattr.calls"), "+hs /mnt/ext1/system\n");
}

TEST_F(DefaultDirectories, KeepsAnExistingMarkerAndRunsAgainWithoutHarm) {
  root_.Write("/mnt/ext1/system/.marrowleaf", "mine");
  CreateDefaultDirectories();
  CreateDefaultDirectories();
  EXPECT_EQ(root_.Read("/mnt/ext1/system/.marrowleaf"), "mine");
}

TEST_F(DefaultDirectories, CopiesTheDefaultStyleFileWhenThereIsNone) {
  CreateDefaultDirectories();
  EXPECT_EQ(root_.Read(kStyles), kDefaultStyleText);
}

TEST_F(DefaultDirectories, KeepsAStyleFileWithItsClosingTagInAnyCase) {
  const std::string own = "<defaultstyles>mine</DEFAULTSTYLES>";
  root_.Write(kStyles, own);
  CreateDefaultDirectories();
  EXPECT_EQ(root_.Read(kStyles), own);
}

TEST_F(DefaultDirectories, ReplacesAStyleFileWithoutItsClosingTagInTheFirst65535Bytes) {
  root_.Write(kStyles, "<DefaultStyles><style name=\"cut");
  CreateDefaultDirectories();
  EXPECT_EQ(root_.Read(kStyles), kDefaultStyleText);

  root_.Write(kStyles, "<DefaultStyles>" + std::string(65535, ' ') + "</DefaultStyles>");
  CreateDefaultDirectories();
  EXPECT_EQ(root_.Read(kStyles), kDefaultStyleText);
}

TEST(MakeHidden, ReportsTheToolsExitStatusAndTakesAMissingToolCalmly) {
  TempDeviceRoot root;
  EXPECT_EQ(make_hidden("/mnt/ext1/system"), 127);
  InstallAttributeTool(root, 3);
  EXPECT_EQ(make_hidden("/mnt/ext1/a b;rm -rf x"), 3);
  EXPECT_EQ(root.Read("/mattr.calls"), "+hs /mnt/ext1/a b;rm -rf x\n");
  EXPECT_EQ(make_hidden(std::string(256, 'x').c_str()), -1);
}

}  // namespace
}  // namespace marrowleaf::test
