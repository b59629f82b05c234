#include "system_init/SwUpdateFile.h"

#include <gtest/gtest.h>

#include "UpdateFileBuilder.h"
#include "platform/sdk/device.h"
#include "support/TempDeviceRoot.h"

namespace marrowleaf::test {
namespace {

using desktop::check_swupdate_file;

constexpr const char* kImage = "/mnt/ext1/update.bin";

class SwUpdateFile : public ::testing::Test {
 protected:
  void SetUp() override { RunningVersion("6.8.1234"); }
  void TearDown() override { ReloadDeviceProfile(); }

  void RunningVersion(const std::string& version) {
    root_.Write("/.sim/device.cfg", "software_version=" + version + "\n");
    ReloadDeviceProfile();
  }
  void WriteImage(const std::string& version, const std::vector<UpdateSection>& sections) {
    WriteGzipFile(root_, kImage, UpdateFileBytes(version, sections));
  }

  TempDeviceRoot root_;
};

TEST_F(SwUpdateFile, ComparesTheHeaderVersionWhenNoSectionCarriesOne) {
  WriteImage("6.8.1234", {{"kernel", "VERSION=9.9.9\n" + std::string(1, '\0')}});
  EXPECT_EQ(check_swupdate_file(kImage), 1);
  RunningVersion("6.8.1235");
  EXPECT_EQ(check_swupdate_file(kImage), 0);
  EXPECT_TRUE(root_.Exists(kImage)) << "a readable file of another version is kept";
}

TEST_F(SwUpdateFile, TakesTheVersionOfTheLastASectionThatHasOne) {
  const std::string nul(1, '\0');
  WriteImage("1.0.0", {{"app1", "NAME=x\nVERSION=2.0.0\n" + nul},
                       {"rootfs", std::string(300, '\x7f')},
                       {"app2", "VERSION=3.0.0\r\nMORE=1" + nul},
                       {"app3", "no version in here" + nul}});
  RunningVersion("3.0.0");
  EXPECT_EQ(check_swupdate_file(kImage), 1);
  RunningVersion("2.0.0");
  EXPECT_EQ(check_swupdate_file(kImage), 0);
}

TEST_F(SwUpdateFile, LetsAShorterSectionVersionReplaceTheHeaderVersionWhole) {
  WriteImage("6.8.1234", {{"a", std::string("VERSION=6.8") + '\0'}});
  RunningVersion("6.8");
  EXPECT_EQ(check_swupdate_file(kImage), 1);
}

TEST_F(SwUpdateFile, IgnoresASectionsThatAreNotText) {
  // Without a NUL before the section's end the bytes are binary, whatever they look like.
  WriteImage("6.8.1234", {{"a", "VERSION=1.1"}});
  EXPECT_EQ(check_swupdate_file(kImage), 1);
}

TEST_F(SwUpdateFile, StopsTheSectionVersionAtControlCharactersAndAt32Characters) {
  const std::string long_version(40, '7');
  WriteImage("1", {{"a1", "VERSION=" + long_version + '\0'}});
  RunningVersion(long_version.substr(0, 32));
  EXPECT_EQ(check_swupdate_file(kImage), 1);
  WriteImage("1", {{"a1", std::string("VERSION=5.5\xc3\xa9tail") + '\0'}});
  RunningVersion("5.5");
  EXPECT_EQ(check_swupdate_file(kImage), 1);
}

TEST_F(SwUpdateFile, ReadsUncompressedFilesToo) {
  root_.Write(kImage, UpdateFileBytes("6.8.1234", {}));
  EXPECT_EQ(check_swupdate_file(kImage), 1);
}

TEST_F(SwUpdateFile, AcceptsAVersionFieldThatFillsAllTwelveBytes) {
  WriteImage("123456789012", {});
  RunningVersion("123456789012");
  EXPECT_EQ(check_swupdate_file(kImage), 1);
}

TEST_F(SwUpdateFile, DeletesFilesThatAreNoUpdateFiles) {
  const std::string valid = UpdateFileBytes("6.8.1234", {});
  const std::vector<std::pair<std::string, std::string>> broken = {
      {"511 bytes", valid.substr(0, 511)},
      {"wrong magic", UpdateFileBytes("6.8.1234", {}, "MarrowleafUpdatX")},
      {"section beyond the end", UpdateFileBytes("6.8.1234", {{"a", "", 1 << 30, 100}})},
      {"section cut short", UpdateFileBytes("6.8.1234", {{"a", "VERSION=6", 0, 500}})},
  };
  for (const auto& [what, bytes] : broken) {
    WriteGzipFile(root_, kImage, bytes);
    EXPECT_EQ(check_swupdate_file(kImage), 0) << what;
    EXPECT_FALSE(root_.Exists(kImage)) << what;
  }
}

TEST_F(SwUpdateFile, DeletesAnImageWhoseSectionsNeedMoreInflatingThanItsSizeAllows) {
  // 16 MiB of zeros pack into a few KiB; sections that jump back and forth across them would make
  // the check inflate the data over and over.
  constexpr int64_t kFar = 15 << 20;
  std::vector<UpdateSection> sections;
  for (int index = 0; index < 16; ++index)
    sections.push_back({"a" + std::to_string(index), "", index % 2 == 0 ? 0 : kFar, 32});
  std::string bytes = UpdateFileBytes("1.0", sections);
  bytes.resize(1024 + kFar + 1024, '\0');
  const std::string text = std::string("VERSION=6.8.1234") + '\0';
  bytes.replace(1024, text.size(), text);
  bytes.replace(1024 + kFar, text.size(), text);
  WriteGzipFile(root_, kImage, bytes);
  EXPECT_EQ(check_swupdate_file(kImage), 0);
  EXPECT_FALSE(root_.Exists(kImage));
  // The same sections in a file whose size can hold them are read.
  std::vector<UpdateSection> near;
  for (int index = 0; index < 16; ++index)
    near.push_back({"a" + std::to_string(index), "", index % 2 == 0 ? 0 : 4096, 32});
  bytes = UpdateFileBytes("1.0", near);
  bytes.resize(1024 + 8192, '\0');
  bytes.replace(1024, text.size(), text);
  bytes.replace(1024 + 4096, text.size(), text);
  WriteGzipFile(root_, kImage, bytes);
  EXPECT_EQ(check_swupdate_file(kImage), 1);
}

TEST_F(SwUpdateFile, OnlyReportsAMissingFile) {
  EXPECT_EQ(check_swupdate_file(kImage), 0);
  EXPECT_FALSE(root_.Exists(kImage));
}

}  // namespace
}  // namespace marrowleaf::test
