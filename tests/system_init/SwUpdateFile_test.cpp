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

// The header's field holds 12 bytes; a version is equal only when every character is, including
// those of a running version longer than the field.
TEST_F(SwUpdateFile, ComparesTheWholeHeaderVersionWhenNoSectionCarriesOne) {
  struct Case {
    std::string header;
    std::string running;
    int installed;
  };
  const std::vector<Case> cases = {
      {"6.8.1234", "6.8.1234", 1},         {"6.8.1234", "6.8.1235", 0},
      {"6.8.1234", "6.8.12345", 0},        {"6.8.1234", "6.8.123", 0},
      {"123456789012", "123456789012", 1}, {"123456789012", "1234567890123", 0},
      {"123456789012", "12345678901", 0},
  };
  for (const Case& c : cases) {
    // A section without "VERSION=" is text but leaves the header's version in force; a byte
    // right after the field is not part of it.
    std::string bytes = UpdateFileBytes(c.header, {{"a", "NAME=x\n" + std::string(1, '\0')}});
    bytes[48] = '9';
    WriteGzipFile(root_, kImage, bytes);
    RunningVersion(c.running);
    EXPECT_EQ(check_swupdate_file(kImage), c.installed) << c.header << " vs " << c.running;
    EXPECT_TRUE(root_.Exists(kImage)) << "a readable file of another version is kept";
  }
  WriteImage("6.8.1234", {{"kernel", "VERSION=9.9.9\n" + std::string(1, '\0')}});
  RunningVersion("6.8.1234");
  EXPECT_EQ(check_swupdate_file(kImage), 1) << "only 'a' sections carry a version";
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

// All 16 entries of the table are read; only names starting with a small 'a' count, and only the
// first 1024 bytes of a section are searched.
TEST_F(SwUpdateFile, ReadsEverySectionEntryAndTheFirst1024BytesOfEachASection) {
  const std::string nul(1, '\0');
  std::vector<UpdateSection> sections(15, UpdateSection{"rootfs", "data"});
  sections.push_back({"app16", std::string(1000, ' ') + "VERSION=6.8.16" + nul});
  WriteImage("1.0", sections);
  RunningVersion("6.8.16");
  EXPECT_EQ(check_swupdate_file(kImage), 1) << "the 16th entry, its version at byte 1008";
  WriteImage("1.0", {{"App", "VERSION=6.8.16" + nul},
                     {"app", std::string(1020, ' ') + "VERSION=6.8.16" + nul}});
  EXPECT_EQ(check_swupdate_file(kImage), 0);
  RunningVersion("1.0");
  EXPECT_EQ(check_swupdate_file(kImage), 1);
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
