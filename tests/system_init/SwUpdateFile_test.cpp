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

// A text section whose name starts with a small 'a' may carry "VERSION=": the last one that does
// wins over the header, whole. All 16 table entries are read, only the first 1024 bytes of a
// section, and only up to the first control character or 32 characters of the value.
TEST_F(SwUpdateFile, TakesTheVersionOfTheLastASectionThatHasOne) {
  const std::string nul(1, '\0');
  std::vector<UpdateSection> sixteen(15, UpdateSection{"rootfs", "data"});
  sixteen.push_back({"app16", std::string(1000, ' ') + "VERSION=6.8.16" + nul});
  struct Case {
    const char* what;
    std::string header;
    std::vector<UpdateSection> sections;
    std::string installed;  // the running version that matches; any other does not
  };
  const std::vector<Case> cases = {
      {"the last of three", "1.0.0",
       {{"app1", "NAME=x\nVERSION=2.0.0\n" + nul}, {"rootfs", std::string(300, '\x7f')},
        {"app2", "VERSION=3.0.0\r\nMORE=1" + nul}, {"app3", "no version in here" + nul}},
       "3.0.0"},
      {"shorter than the header's", "6.8.1234", {{"a", "VERSION=6.8" + nul}}, "6.8"},
      {"no NUL: binary", "6.8.1234", {{"a", "VERSION=1.1"}}, "6.8.1234"},
      {"32 characters at most", "1", {{"a1", "VERSION=" + std::string(40, '7') + nul}},
       std::string(32, '7')},
      {"ends before a non-ASCII byte", "1", {{"a1", "VERSION=5.5\xc3\xa9tail" + nul}}, "5.5"},
      {"the 16th entry, at byte 1008", "1.0", sixteen, "6.8.16"},
      {"capital A, and beyond 1024 bytes", "1.0",
       {{"App", "VERSION=6.8.16" + nul}, {"app", std::string(1020, ' ') + "VERSION=6.8.16" + nul}},
       "1.0"},
  };
  for (const Case& c : cases) {
    WriteImage(c.header, c.sections);
    RunningVersion(c.installed);
    EXPECT_EQ(check_swupdate_file(kImage), 1) << c.what;
    RunningVersion(c.installed + "0");
    EXPECT_EQ(check_swupdate_file(kImage), 0) << c.what;
  }
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

TEST_F(SwUpdateFile, ReadsUncompressedFilesTooAndOnlyReportsAMissingOne) {
  EXPECT_EQ(check_swupdate_file(kImage), 0);
  EXPECT_FALSE(root_.Exists(kImage));
  root_.Write(kImage, UpdateFileBytes("6.8.1234", {}));
  EXPECT_EQ(check_swupdate_file(kImage), 1);
}

}  // namespace
}  // namespace marrowleaf::test
