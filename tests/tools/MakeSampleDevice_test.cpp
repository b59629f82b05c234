// The sample-device generator, run as the real program into temporary device roots.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sdk/config.h"
#include "support/ProgramRunner.h"
#include "support/TempDeviceRoot.h"

namespace marrowleaf::test {
namespace {

const std::string kGenerator = std::string(MARROWLEAF_BIN_DIR) + "/make-sample-device";
const char kGlobalConfig[] = "/mnt/ext1/system/config/global.cfg";
const char* const kFirstRunKeys[] = {"net_cfg_encrypt", "json2cfg", "resetfrontlight",
                                     "setup_wizard_flag"};

ProgramResult Generate(const TempDeviceRoot& root, std::vector<std::string> arguments = {}) {
  arguments.insert(arguments.begin(), {"--root", root.HostRoot()});
  return RunProgram(kGenerator, arguments, {});
}

// The value of a key as the device's own configuration reader sees it; "<missing>" without it.
std::string ConfigValue(const std::string& device_path, const std::string& key) {
  DeviceConfig* config = OpenConfig(device_path.c_str(), nullptr);
  if (config == nullptr)
    return "<no file>";
  std::string value = ReadString(config, key.c_str(), "<missing>");
  CloseConfigNoSave(config);
  return value;
}

bool IsExecutableFile(const std::string& host_path) {
  struct stat info {};
  return stat(host_path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         access(host_path.c_str(), X_OK) == 0;
}

std::string ReadHostFile(const std::string& host_path) {
  std::ifstream in(host_path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

struct ExpectedProfile {
  std::string name;
  std::string width, height, dpi, touch, color;
};

TEST(MakeSampleDevice, WritesEveryProfileWithItsScreenAndAllDeviceKeys) {
  const ExpectedProfile profiles[] = {
      {"6in-758", "758", "1024", "212", "1", "0"},
      {"6in-1072", "1072", "1448", "300", "1", "0"},
      {"7.8in-color", "1404", "1872", "300", "1", "1"},
      {"6in-keys", "758", "1024", "212", "0", "0"},
  };
  const char* const keys[] = {"screen_width",
                              "screen_height",
                              "dpi",
                              "touch",
                              "color",
                              "wifi",
                              "audio",
                              "device_number",
                              "model",
                              "serial",
                              "partner",
                              "partner_name",
                              "software_version",
                              "profile",
                              "network",
                              "safe_mode",
                              "panel_height"};
  for (const ExpectedProfile& expected : profiles) {
    SCOPED_TRACE(expected.name);
    TempDeviceRoot root;
    // Through the journeys' copies of made devices: four devices are a minute's work under the
    // sanitizers, and the copy is the generator's own output.
    ProgramResult run = MakeSampleDevice(root.HostRoot(), expected.name);
    ASSERT_EQ(run.exit_status, 0) << run.output;
    const std::string profile = "/.sim/device.cfg";
    EXPECT_EQ(ConfigValue(profile, "screen_width"), expected.width);
    EXPECT_EQ(ConfigValue(profile, "screen_height"), expected.height);
    EXPECT_EQ(ConfigValue(profile, "dpi"), expected.dpi);
    EXPECT_EQ(ConfigValue(profile, "touch"), expected.touch);
    EXPECT_EQ(ConfigValue(profile, "color"), expected.color);
    for (const char* key : keys) EXPECT_NE(ConfigValue(profile, key), "<missing>") << key;
    // The firmware version must fit the 12 characters of an update file's header.
    EXPECT_LE(ConfigValue(profile, "software_version").size(), 12u);
  }
}

TEST(MakeSampleDevice, MakesTheSixInchHighResolutionDeviceByDefault) {
  TempDeviceRoot root;
  ProgramResult run = Generate(root);
  ASSERT_EQ(run.exit_status, 0) << run.output;
  EXPECT_EQ(ConfigValue("/.sim/device.cfg", "screen_width"), "1072");
  EXPECT_EQ(ConfigValue("/.sim/device.cfg", "screen_height"), "1448");
}

TEST(MakeSampleDevice, MarksTheFirstRunStepsDoneUnlessFirstBootIsAsked) {
  TempDeviceRoot ready;
  ASSERT_EQ(Generate(ready).exit_status, 0);
  EXPECT_EQ(ConfigValue(kGlobalConfig, "net_cfg_encrypt"), "done");
  EXPECT_EQ(ConfigValue(kGlobalConfig, "json2cfg"), "done");
  EXPECT_EQ(ConfigValue(kGlobalConfig, "resetfrontlight"), "done");
  EXPECT_EQ(ConfigValue(kGlobalConfig, "setup_wizard_flag"), "0");
  EXPECT_EQ(ConfigValue(kGlobalConfig, "language"), "en");

  TempDeviceRoot fresh;
  ASSERT_EQ(Generate(fresh, {"--first-boot"}).exit_status, 0);
  for (const char* key : kFirstRunKeys) EXPECT_EQ(ConfigValue(kGlobalConfig, key), "<missing>");
  EXPECT_EQ(ConfigValue(kGlobalConfig, "theme"), "Contrast");
}

TEST(MakeSampleDevice, RefusesToWriteOverADeviceUnlessForced) {
  TempDeviceRoot root;
  ASSERT_EQ(Generate(root).exit_status, 0);
  root.Write(kGlobalConfig, "language=de\n");

  ProgramResult refused = Generate(root, {"--first-boot"});
  EXPECT_NE(refused.exit_status, 0);
  EXPECT_NE(refused.output.find("--force"), std::string::npos) << refused.output;
  EXPECT_EQ(root.Read(kGlobalConfig), "language=de\n");

  ProgramResult forced = Generate(root, {"--first-boot", "--force", "--profile", "6in-keys"});
  ASSERT_EQ(forced.exit_status, 0) << forced.output;
  EXPECT_EQ(ConfigValue(kGlobalConfig, "language"), "en");
  EXPECT_EQ(ConfigValue(kGlobalConfig, "net_cfg_encrypt"), "<missing>");
  EXPECT_EQ(ConfigValue("/.sim/device.cfg", "touch"), "0");
}

TEST(MakeSampleDevice, RejectsBadCommandLinesWithoutTouchingTheRoot) {
  TempDeviceRoot root;
  EXPECT_EQ(RunProgram(kGenerator, {}, {}).exit_status, 2);
  EXPECT_EQ(Generate(root, {"--books", "many"}).exit_status, 2);
  EXPECT_EQ(Generate(root, {"--books", "-1"}).exit_status, 2);
  EXPECT_EQ(Generate(root, {"--colour"}).exit_status, 2);
  EXPECT_EQ(Generate(root, {"--profile"}).exit_status, 2);

  ProgramResult unknown = Generate(root, {"--profile", "13in-paper"});
  EXPECT_EQ(unknown.exit_status, 1);
  EXPECT_NE(unknown.output.find("6in-1072"), std::string::npos) << unknown.output;
  EXPECT_FALSE(root.Exists("/.sim/device.cfg"));
  EXPECT_FALSE(root.Exists("/ebrmain"));
}

TEST(MakeSampleDevice, InstallsTheProgramsTheHomeScreenStarts) {
  TempDeviceRoot root;
  ASSERT_EQ(Generate(root).exit_status, 0);
  for (const char* program :
       {"/ebrmain/bin/settings.app", "/ebrmain/bin/reader.app", "/ebrmain/bin/browser.app",
        "/ebrmain/bin/scanner.app", "/ebrmain/bin/lcpdrmhelperui.app",
        "/ebrmain/bin/cloud_book_uploader.app", "/ebrmain/bin/checkupdate-launcher", "/bin/mattr",
        "/mnt/ext1/applications/BookStore.app", "/mnt/ext1/applications/UlvaneSync.app",
        "/ebrmain/bin/net_cfg_encrypt.sh", "/ebrmain/bin/json2cfg.sh",
        "/ebrmain/bin/setup_wizard.app"}) {
    EXPECT_TRUE(IsExecutableFile(root.Host(program))) << program;
  }
  std::error_code error;
  EXPECT_EQ(std::filesystem::read_symlink(root.Host("/ebrmain/bin/bookshelf.app"), error).string(),
            std::string(MARROWLEAF_BIN_DIR) + "/bookshelf.app");
}

TEST(MakeSampleDevice, NamesOnlyInstalledReadersInTheReaderTable) {
  TempDeviceRoot root;
  ASSERT_EQ(Generate(root).exit_status, 0);
  for (const char* extension : {"epub", "fb2", "pdf", "djvu", "mobi", "cbz", "txt"}) {
    const std::string reader = ConfigValue("/ebrmain/config/readers.cfg", extension);
    ASSERT_EQ(reader.front(), '/') << extension << " -> " << reader;
    EXPECT_TRUE(IsExecutableFile(root.Host(reader))) << extension << " -> " << reader;
  }
}

TEST(MakeSampleDevice, WritesTheThemeStyleFileAndLanguageFiles) {
  TempDeviceRoot root;
  ASSERT_EQ(Generate(root).exit_status, 0);
  EXPECT_EQ(ConfigValue("/ebrmain/themes/Contrast/theme.cfg", "theme.name"), "Contrast");
  // The pictures the catalogue names by file are drawn from the theme.
  for (const char* icon : {"/mnt/ext1/system/themes/icons/solitaire.png",
                           "/mnt/ext1/system/themes/icons/solitaire_f.png"}) {
    const std::string png = root.Read(icon);
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8)) << icon;
    EXPECT_GT(png.size(), 200u) << icon;
  }
  const std::string styles = root.Read("/ebrmain/share/FBReader/default/styles.xml");
  EXPECT_EQ(styles.rfind("<?xml", 0), 0u);
  EXPECT_NE(styles.find("<DefaultStyles>"), std::string::npos);
  EXPECT_NE(styles.find("</DefaultStyles>"), std::string::npos);

  std::set<std::string> sources, copies;
  std::error_code error;
  const std::string source_folder = std::string(MARROWLEAF_SOURCE_DIR) + "/desktop/res/lang";
  for (const auto& entry : std::filesystem::directory_iterator(source_folder, error)) {
    if (entry.path().extension() == ".txt")
      sources.insert(entry.path().filename().string());
  }
  for (const auto& entry : std::filesystem::directory_iterator(root.Host("/ebrmain/language"))) {
    copies.insert(entry.path().filename().string());
  }
  EXPECT_EQ(copies, sources);
  for (const std::string& name : sources) {
    EXPECT_EQ(root.Read("/ebrmain/language/" + name), ReadHostFile(source_folder + "/" + name))
        << name;
  }
}

}  // namespace
}  // namespace marrowleaf::test
