#include "system_init/FirstRunSteps.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <memory>

#include "platform/sdk/clock.h"
#include "platform/sdk/config.h"
#include "platform/sdk/device.h"
#include "support/JournalReader.h"
#include "support/TempDeviceRoot.h"

namespace marrowleaf::test {
namespace {

using desktop::FirstRunStep;
using desktop::NextFirstRunStep;
using desktop::RunFirstRunSteps;
using ::testing::ExitedWithCode;

constexpr const char* kGlobal = "/mnt/ext1/system/config/global.cfg";
constexpr const char* kAllScriptsDone =
    "net_cfg_encrypt=done\njson2cfg=done\nresetfrontlight=done\n";

class FirstRunSteps : public ::testing::Test {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "fast");
    platform::InstallClock(clock_);
  }
  void TearDown() override {
    platform::InstallClock(nullptr);
    ReloadDeviceProfile();
  }

  void InstallProgram(const std::string& path, int exit_status) const {
    root_.Write(path, "#!/bin/sh\nexit " + std::to_string(exit_status) + "\n");
    chmod(root_.Host(path).c_str(), 0755);
  }
  std::string GlobalValue(const char* key) const {
    DeviceConfig* config = OpenConfig(kGlobal, nullptr);
    if (config == nullptr)
      return "<no file>";
    const std::string value = ReadString(config, key, "");
    CloseConfigNoSave(config);
    return value;
  }
  std::string LastExec() const {
    const auto execs = journal_.Events("exec");
    return execs.empty() ? "" : execs.back()["path"].asString();
  }

  std::shared_ptr<platform::ManualClock> clock_ = std::make_shared<platform::ManualClock>();
  TempDeviceRoot root_;
  JournalReader journal_{root_.HostRoot()};
};

TEST_F(FirstRunSteps, ChoosesTheFirstStepNotYetDone) {
  const std::vector<std::pair<std::string, FirstRunStep>> cases = {
      {"", FirstRunStep::kEncryptNetworkConfig},
      {"json2cfg=done\nresetfrontlight=done\nnet_cfg_encrypt=started\n",
       FirstRunStep::kEncryptNetworkConfig},
      {"net_cfg_encrypt=done\nresetfrontlight=done\n", FirstRunStep::kConvertJsonConfig},
      {"net_cfg_encrypt=done\njson2cfg=done\n", FirstRunStep::kResetFrontlight},
      {kAllScriptsDone, FirstRunStep::kSetupWizard},
  };
  for (const auto& [content, expected] : cases) {
    root_.Write(kGlobal, content);
    DeviceConfig* config = OpenConfig(kGlobal, nullptr);
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(NextFirstRunStep(config), expected) << content;
    CloseConfigNoSave(config);
  }
}

TEST_F(FirstRunSteps, MarksAScriptDoneAndThenBecomesIt) {
  root_.Write(kGlobal, "");
  InstallProgram("/ebrmain/bin/net_cfg_encrypt.sh", 7);
  EXPECT_EXIT(RunFirstRunSteps(), ExitedWithCode(7), "Want run net_cfg_encrypt.sh");
  EXPECT_EQ(GlobalValue("net_cfg_encrypt"), "done");
  EXPECT_EQ(GlobalValue("json2cfg"), "") << "one step a start";
  EXPECT_EQ(LastExec(), "/ebrmain/bin/net_cfg_encrypt.sh");
}

TEST_F(FirstRunSteps, EndsWithStatusOneWhenAScriptCantRun) {
  root_.Write(kGlobal, "net_cfg_encrypt=done\n");
  EXPECT_EXIT(RunFirstRunSteps(), ExitedWithCode(1), "Want run json2cfg.sh");
  EXPECT_EQ(GlobalValue("json2cfg"), "done") << "a failing script is not run again";
  EXPECT_EQ(LastExec(), "/ebrmain/bin/json2cfg.sh");
}

TEST_F(FirstRunSteps, ResetsTheFrontlightAndEnds) {
  root_.Write(kGlobal, "net_cfg_encrypt=done\njson2cfg=done\n");
  EXPECT_EXIT(RunFirstRunSteps(), ExitedWithCode(1), "Want resetfrontlight");
  EXPECT_EQ(GlobalValue("resetfrontlight"), "done");
  const auto frontlight = journal_.Events("frontlight");
  ASSERT_EQ(frontlight.size(), 1u);
  EXPECT_EQ(frontlight[0]["percent"].asInt(), 60);
}

TEST_F(FirstRunSteps, LeavesFlightModeAndBecomesTheSetupWizard) {
  root_.Write(kGlobal, kAllScriptsDone);
  root_.Write("/.sim/device.cfg", "flight_mode=1\n");
  ReloadDeviceProfile();
  InstallProgram("/ebrmain/bin/setup_wizard.app", 5);
  EXPECT_EXIT(RunFirstRunSteps(), ExitedWithCode(5), "");
  EXPECT_EQ(LastExec(), "/ebrmain/bin/setup_wizard.app");
  const auto calls = journal_.Events("sdk");
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back()["call"].asString(), "SetFlightMode");
  EXPECT_EQ(calls.back()["enabled"].asInt(), 0);
}

TEST_F(FirstRunSteps, WarnsAboutAMissingWizardAndGoesOn) {
  root_.Write(kGlobal, kAllScriptsDone);
  root_.Write("/.sim/device.cfg", "flight_mode=1\n");
  ReloadDeviceProfile();
  RunFirstRunSteps();
  EXPECT_EQ(clock_->NowMs(), 250) << "the radio gets time to settle";
  const auto messages = journal_.Events("message");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0]["icon"].asInt(), 4);
  EXPECT_EQ(messages[0]["text"].asString(), "Setup wizard application not found!");
  EXPECT_EQ(messages[0]["timeout"].asInt(), 3000);
}

TEST_F(FirstRunSteps, DoesNothingWhenTheWizardIsNotWantedOrThereIsNoConfiguration) {
  RunFirstRunSteps();
  root_.Write(kGlobal, std::string(kAllScriptsDone) + "setup_wizard_flag=0\n");
  InstallProgram("/ebrmain/bin/setup_wizard.app", 5);
  RunFirstRunSteps();
  EXPECT_TRUE(journal_.Events("exec").empty());
  EXPECT_TRUE(journal_.Events("message").empty());
}

// One start of the home screen in a child process: the exit status of a step that ended it, or
// kWentOn when the start went on to the home screen.
constexpr int kWentOn = 100;
int StartOnce() {
  const pid_t child = fork();
  if (child == 0) {
    RunFirstRunSteps();
    _exit(kWentOn);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(FirstRunSteps, ADamagedLineInTheConfigurationCostsNoStepItsMark) {
  const std::string before = "net_cfg_encrypt=done\nline without equals\njson2cfg=done\n";
  const std::string after = "setup_wizard_flag=0\nlanguage=de\n";
  root_.Write(kGlobal, before + after);
  EXPECT_EXIT(RunFirstRunSteps(), ExitedWithCode(1), "Want resetfrontlight");
  EXPECT_EQ(root_.Read(kGlobal), before + after + "resetfrontlight=done\n");
  EXPECT_EQ(StartOnce(), kWentOn) << "no step and no wizard runs again";
  EXPECT_TRUE(journal_.Events("exec").empty());
}

TEST_F(FirstRunSteps, OnAFullCardEachStepRunsOnceThisBootAndTheStartGoesOn) {
  root_.Write(kGlobal, "");
  root_.Write("/.sim/device.cfg", "storage_full=1\n");
  ReloadDeviceProfile();
  InstallProgram("/ebrmain/bin/net_cfg_encrypt.sh", 0);
  InstallProgram("/ebrmain/bin/json2cfg.sh", 0);
  InstallProgram("/ebrmain/bin/setup_wizard.app", 0);
  int starts = 1;
  while (StartOnce() != kWentOn && starts < 10) ++starts;
  EXPECT_EQ(starts, 5) << "three steps, the wizard, then the home screen";
  std::vector<std::string> execs;
  for (const auto& exec : journal_.Events("exec")) execs.push_back(exec["path"].asString());
  EXPECT_EQ(execs, (std::vector<std::string>{"/ebrmain/bin/net_cfg_encrypt.sh", "/ebrmain/bin/json2cfg.sh",
                                             "/ebrmain/bin/setup_wizard.app"}));
  EXPECT_EQ(GlobalValue("net_cfg_encrypt"), "") << "the card really was full";
  const auto messages = journal_.Events("message");
  ASSERT_FALSE(messages.empty());
  EXPECT_NE(messages.back()["text"].asString().find("torage"), std::string::npos);
  // A new boot empties /tmp: the steps get their chance again.
  root_.Write("/tmp/bookshelf.first_run", "");
  EXPECT_EQ(StartOnce(), 0);
  EXPECT_EQ(journal_.Events("exec").size(), 4u);
}

}  // namespace
}  // namespace marrowleaf::test
