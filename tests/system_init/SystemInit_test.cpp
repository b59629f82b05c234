#include "system_init/SystemInit.h"

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/sdk/config.h"
#include "platform/sdk/device.h"
#include "support/JournalReader.h"
#include "support/TempDeviceRoot.h"

namespace marrowleaf::test {
namespace {

constexpr const char* kGlobal = "/mnt/ext1/system/config/global.cfg";
constexpr const char* kSaved = "/mnt/ext1/system/state/.bsstate";
constexpr const char* kCurrent = "/tmp/.current";
constexpr const char* kUpdateRequest = "/tmp/desktop_update.cfg";
constexpr int kExitedBase = 1000;

// global.cfg of a device whose first-run steps are all behind it.
constexpr const char* kSetUpDevice =
    "net_cfg_encrypt=done\njson2cfg=done\nresetfrontlight=done\nsetup_wizard_flag=0\n";
// global.cfg of a new device: a start that ran the first-run steps would end in a script.
constexpr const char* kNewDevice = "";

std::string SavedState(const std::string& book, const std::string& state) {
  const uint32_t n = static_cast<uint32_t>(4 + book.size());
  return std::string{static_cast<char>(n), 0, 0, 0} + book + state;
}

class SystemInit : public ::testing::Test {
 protected:
  void SetUp() override {
    root_.MakeFolder("/var/run");
    root_.MakeFolder("/mnt/ext1/system/state");
    root_.Write("/.sim/device.cfg", "wifi=1\n");
    ReloadDeviceProfile();
  }
  void TearDown() override { ReloadDeviceProfile(); }

  // Runs system_init in a child process, as a start of the program does. Returns its result, or
  // kExitedBase + the exit status when the process ended on its own.
  int Start(std::vector<const char*> arguments) const {
    arguments.insert(arguments.begin(), "bookshelf.app");
    const pid_t pid = fork();
    if (pid == 0) {
      const int result = desktop::system_init(static_cast<int>(arguments.size()), arguments.data());
      _exit(result == 0 ? 100 : result == -1 ? 101 : 102);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status))
      return -kExitedBase;
    const int code = WEXITSTATUS(status);
    if (code == 100)
      return 0;
    if (code == 101)
      return -1;
    return kExitedBase + code;
  }
  int ConfigInt(const char* path, const char* key) const {
    DeviceConfig* config = OpenConfig(path, nullptr);
    if (config == nullptr)
      return -100;
    const int value = ReadInt(config, key, -1);
    CloseConfigNoSave(config);
    return value;
  }
  std::string ThemeRecorded() const {
    DeviceConfig* config = OpenConfig("/var/run/runtime.cfg", nullptr);
    if (config == nullptr)
      return "<no file>";
    const std::string value = ReadString(config, "theme.name", "");
    CloseConfigNoSave(config);
    return value;
  }

  TempDeviceRoot root_;
  JournalReader journal_{root_.HostRoot()};
};

TEST_F(SystemInit, RunsANormalStartWithoutSwitches) {
  root_.Write(kGlobal, kSetUpDevice);
  root_.Write(kCurrent, "/mnt/ext1/book.epub");
  root_.Write("/mnt/secure/ota_flag", "image=/mnt/ext1/missing.bin md5=00");
  root_.Write(kSaved, SavedState("", "x"));
  EXPECT_EQ(Start({}), 0);
  EXPECT_FALSE(root_.Exists(kCurrent));
  EXPECT_FALSE(root_.Exists("/mnt/secure/ota_flag"));
  EXPECT_TRUE(root_.Exists(kSaved)) << "a start without -i restores nothing";
  EXPECT_EQ(ThemeRecorded(), "Contrast");
  EXPECT_EQ(ConfigInt("/tmp/bookshelf.self.check", "counter"), 1);
  EXPECT_EQ(journal_.Events("startup_logo").size(), 1u);
}

TEST_F(SystemInit, RestoresTheStateAndAsksForAScreenUpdateAfterBoot) {
  root_.Write(kGlobal, std::string(kSetUpDevice) + "screen_reader_enabled=1\n");
  root_.Write(kSaved, SavedState("/mnt/ext1/book.epub", "state"));
  EXPECT_EQ(Start({"-i"}), 0);
  EXPECT_EQ(root_.Read(kCurrent), "/mnt/ext1/book.epub");
  EXPECT_EQ(root_.Read("/tmp/.bsstate"), "state");
  EXPECT_FALSE(root_.Exists(kSaved));
  EXPECT_EQ(ConfigInt(kUpdateRequest, "update"), 1);
  EXPECT_TRUE(root_.Exists("/mnt/ext1/system/dictionaries"));
  ASSERT_NE(GetDeviceSharedState(), nullptr);
  EXPECT_EQ(GetDeviceSharedState()->screen_reader, 1);

  root_.Write(kUpdateRequest, "update=0\n");
  root_.Write(kSaved, SavedState("/mnt/ext1/book.epub", "state"));
  EXPECT_EQ(Start({"-i", "-h"}), 0);
  EXPECT_FALSE(root_.Exists(kCurrent)) << "-h drops the current book after all";
  EXPECT_EQ(ConfigInt(kUpdateRequest, "update"), 0) << "a waiting request is left alone";
}

TEST_F(SystemInit, SavesTheStateAndEndsOnAMaintenanceRun) {
  root_.Write(kGlobal, kNewDevice);
  root_.Write(kCurrent, "/mnt/ext1/book.epub");
  root_.Write("/tmp/.bsstate", "state");
  root_.Write("/mnt/secure/ota_flag", "image=/x");
  root_.Write("/.sim/device.cfg", "wifi=1\nsafe_mode=1\n");
  ReloadDeviceProfile();
  EXPECT_EQ(Start({"-z"}), -1);
  EXPECT_EQ(root_.Read(kSaved), SavedState("/mnt/ext1/book.epub", "state"));
  EXPECT_TRUE(root_.Exists("/mnt/secure/ota_flag")) << "no OTA clean-up";
  EXPECT_TRUE(journal_.Events("exec").empty()) << "no first-run steps";
  EXPECT_TRUE(journal_.Events("message").empty()) << "no safe-mode warning";
  EXPECT_EQ(journal_.Events("hourglass").size(), 1u);
  EXPECT_EQ(ThemeRecorded(), "Contrast");
}

TEST_F(SystemInit, ANormalStartRemovesWhatSavesCutShortLeftAndNothingElse) {
  root_.Write(kGlobal, kSetUpDevice);
  const std::vector<std::string> leftovers = {
      "/mnt/ext1/system/config/global.cfg.tmp-a1B2c3",
      "/mnt/ext1/system/config/desktop/apps.json.tmp-ZZ9zz9",
      "/mnt/ext1/system/cache/desktop/cache.dat.tmp-000000",
      "/mnt/ext1/system/cache/desktop.index.tmp-Qwerty",
      "/var/run/runtime.cfg.tmp-xyzXYZ",
  };
  const std::vector<std::string> kept = {
      "/mnt/ext1/system/config/notes.tmp-12",            // not six letters
      "/mnt/ext1/system/config/book.tmp-abcdef.epub",    // the marker is not at the end
      "/mnt/ext1/system/config/.tmp-abcdef",             // no target name before it
      "/mnt/ext1/system/config/other/x.cfg.tmp-abcdef",  // a folder the program saves nothing in
      "/mnt/ext1/Books/novel.tmp-abcdef",
  };
  for (const auto& path : leftovers) root_.Write(path, "half");
  for (const auto& path : kept) root_.Write(path, "keep");
  root_.Write("/outside.txt", "keep");
  ASSERT_EQ(symlink(root_.Host("/outside.txt").c_str(),
                    root_.Host("/mnt/ext1/system/config/link.cfg.tmp-abcdef").c_str()),
            0);
  EXPECT_EQ(Start({"-z"}), -1);
  for (const auto& path : leftovers) EXPECT_TRUE(root_.Exists(path)) << "maintenance: " << path;
  EXPECT_EQ(Start({}), 0);
  for (const auto& path : leftovers) EXPECT_FALSE(root_.Exists(path)) << path;
  for (const auto& path : kept) EXPECT_EQ(root_.Read(path), "keep") << path;
  EXPECT_EQ(root_.Read("/outside.txt"), "keep");
  EXPECT_TRUE(
      std::filesystem::is_symlink(root_.Host("/mnt/ext1/system/config/link.cfg.tmp-abcdef")));
}

TEST_F(SystemInit, SwitchesProfileWithoutFirstRunStepsAndWarnsWhenItCant) {
  root_.Write(kGlobal, kNewDevice);
  root_.MakeFolder("/mnt/ext1/system/profiles/anna");
  root_.Write(kSaved, SavedState("/mnt/ext1/anna.epub", "anna's state"));
  EXPECT_EQ(Start({"-p", "anna"}), 0);
  EXPECT_EQ(root_.Read("/tmp/.bsstate"), "anna's state");
  EXPECT_FALSE(root_.Exists(kCurrent)) << "restored, then dropped by the normal start";
  EXPECT_FALSE(root_.Exists(kSaved));
  EXPECT_TRUE(journal_.Events("message").empty());

  EXPECT_EQ(Start({"-p", "nobody"}), 0);
  const auto messages = journal_.Events("message");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0]["icon"].asInt(), 3);
  EXPECT_EQ(messages[0]["timeout"].asInt(), 10000);
  EXPECT_TRUE(journal_.Events("exec").empty());
}

TEST_F(SystemInit, RunsTheFirstRunStepsOfANewDevice) {
  root_.Write(kGlobal, kNewDevice);
  EXPECT_EQ(Start({"-ix", "i"}), kExitedBase + 1) << "the missing script ends the start";
  const auto execs = journal_.Events("exec");
  ASSERT_EQ(execs.size(), 1u);
  EXPECT_EQ(execs[0]["path"].asString(), "/ebrmain/bin/net_cfg_encrypt.sh");
  EXPECT_FALSE(root_.Exists("/mnt/ext1/system/dictionaries")) << "-ix is no switch";
}

TEST_F(SystemInit, RemovesNetworkApplicationsFromDevicesWithoutWifi) {
  root_.Write(kGlobal, kSetUpDevice);
  const std::vector<std::string> files = {
      "/mnt/ext1/applications/BookStore.app",  "/mnt/ext1/applications/marrownews.app",
      "/mnt/ext1/applications/webbrowser.app", "/mnt/ext1/applications/sync.app",
      "/mnt/ext1/system/bookstore.cfg",        "/mnt/ext1/applications/UlvaneSync.app"};
  for (const auto& file : files) root_.Write(file, "x");
  root_.Write("/mnt/ext1/applications/reader.app", "x");
  EXPECT_EQ(Start({}), 0);
  for (const auto& file : files) EXPECT_TRUE(root_.Exists(file)) << file;

  root_.Write("/.sim/device.cfg", "wifi=0\n");
  ReloadDeviceProfile();
  EXPECT_EQ(Start({}), 0);
  for (const auto& file : files) EXPECT_FALSE(root_.Exists(file)) << file;
  EXPECT_TRUE(root_.Exists("/mnt/ext1/applications/reader.app"));
}

}  // namespace
}  // namespace marrowleaf::test
