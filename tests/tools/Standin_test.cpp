// The stand-in programs of the sample device: the application copies and the first-run scripts,
// run as real processes in a generated device.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/JournalReader.h"
#include "support/ProgramRunner.h"
#include "support/TempDeviceRoot.h"

namespace marrowleaf::test {
namespace {

const std::string kGenerator = std::string(MARROWLEAF_BIN_DIR) + "/make-sample-device";
const char kGlobalConfig[] = "/mnt/ext1/system/config/global.cfg";

class Standin : public ::testing::Test {
 protected:
  void SetUp() override {
    ProgramResult run = RunProgram(kGenerator, {"--root", root_.HostRoot(), "--first-boot"}, {});
    ASSERT_EQ(run.exit_status, 0) << run.output;
  }

  // The scripts end by starting the home screen again; a stand-in in its place records that start
  // instead of running the real program.
  void ReplaceHomeScreenByStandin() {
    const std::string home = root_.Host("/ebrmain/bin/bookshelf.app");
    std::filesystem::remove(home);
    std::filesystem::copy_file(root_.Host("/ebrmain/bin/settings.app"), home);
  }

  std::vector<Json::Value> StandinStarts() const {
    return JournalReader(root_.HostRoot()).Events("standin");
  }

  static std::vector<std::string> Strings(const Json::Value& array) {
    std::vector<std::string> strings;
    for (const Json::Value& value : array) strings.push_back(value.asString());
    return strings;
  }

  TempDeviceRoot root_;
};

TEST_F(Standin, JournalsItsDevicePathAndEveryArgumentVerbatim) {
  const std::vector<std::string> arguments = {
      "-o", "two  words", "say \"hi\"", "back\\slash", "it's", "", "$HOME;`ls`", "Jörg ✓", "a\nb"};
  ProgramResult run = RunProgram(root_.Host("/ebrmain/bin/settings.app"), arguments, {});
  ASSERT_EQ(run.exit_status, 0) << run.output;

  std::vector<Json::Value> starts = StandinStarts();
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0]["path"].asString(), "/ebrmain/bin/settings.app");
  EXPECT_EQ(Strings(starts[0]["args"]), arguments);
}

TEST_F(Standin, EachCopyReportsItsOwnPath) {
  ASSERT_EQ(RunProgram(root_.Host("/bin/mattr"), {"+hs", "/mnt/ext1/system"}, {}).exit_status, 0);
  ASSERT_EQ(RunProgram(root_.Host("/mnt/ext1/applications/sync.app"), {}, {}).exit_status, 0);

  std::vector<Json::Value> starts = StandinStarts();
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_EQ(starts[0]["path"].asString(), "/bin/mattr");
  EXPECT_EQ(Strings(starts[0]["args"]), (std::vector<std::string>{"+hs", "/mnt/ext1/system"}));
  EXPECT_EQ(starts[1]["path"].asString(), "/mnt/ext1/applications/sync.app");
  EXPECT_TRUE(starts[1]["args"].empty());
}

TEST_F(Standin, FirstRunScriptsRecordThemselvesAndStartTheHomeScreenAgain) {
  ReplaceHomeScreenByStandin();
  for (const char* script : {"/ebrmain/bin/net_cfg_encrypt.sh", "/ebrmain/bin/json2cfg.sh"}) {
    ProgramResult run = RunProgram(root_.Host(script), {"with space"}, {});
    EXPECT_EQ(run.exit_status, 0) << script << ": " << run.output;
  }
  std::vector<Json::Value> starts = StandinStarts();
  ASSERT_EQ(starts.size(), 4u);
  EXPECT_EQ(starts[0]["path"].asString(), "/ebrmain/bin/net_cfg_encrypt.sh");
  EXPECT_EQ(Strings(starts[0]["args"]), std::vector<std::string>{"with space"});
  EXPECT_EQ(starts[1]["path"].asString(), "/ebrmain/bin/bookshelf.app");
  EXPECT_TRUE(starts[1]["args"].empty());
  EXPECT_EQ(starts[2]["path"].asString(), "/ebrmain/bin/json2cfg.sh");
  EXPECT_EQ(starts[3]["path"].asString(), "/ebrmain/bin/bookshelf.app");
}

TEST_F(Standin, ScriptsFindTheDeviceRootFromTheirPlaceWithoutTheVariable) {
  ReplaceHomeScreenByStandin();
  ProgramResult run = RunProgram(root_.Host("/ebrmain/bin/json2cfg.sh"), {}, {"MARROWLEAF_ROOT"});
  ASSERT_EQ(run.exit_status, 0) << run.output;
  std::vector<Json::Value> starts = StandinStarts();
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_EQ(starts[0]["path"].asString(), "/ebrmain/bin/json2cfg.sh");
  EXPECT_EQ(starts[1]["path"].asString(), "/ebrmain/bin/bookshelf.app");
}

TEST_F(Standin, SetupWizardClearsItsFlagWhereItStandsAndKeepsTheOtherKeys) {
  ReplaceHomeScreenByStandin();
  root_.Write(kGlobalConfig, "language=de\n  setup_wizard_flag = 1\ntheme=Contrast\n");
  ProgramResult run = RunProgram(root_.Host("/ebrmain/bin/setup_wizard.app"), {}, {});
  ASSERT_EQ(run.exit_status, 0) << run.output;
  EXPECT_EQ(root_.Read(kGlobalConfig), "language=de\nsetup_wizard_flag=0\ntheme=Contrast\n");

  std::vector<Json::Value> starts = StandinStarts();
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_EQ(starts[0]["path"].asString(), "/ebrmain/bin/setup_wizard.app");
  EXPECT_EQ(starts[1]["path"].asString(), "/ebrmain/bin/bookshelf.app");
}

TEST_F(Standin, SetupWizardAddsItsFlagToAFileWithoutIt) {
  ReplaceHomeScreenByStandin();
  root_.Write(kGlobalConfig, "language=de");
  ASSERT_EQ(RunProgram(root_.Host("/ebrmain/bin/setup_wizard.app"), {}, {}).exit_status, 0);
  EXPECT_EQ(root_.Read(kGlobalConfig), "language=de\nsetup_wizard_flag=0\n");

  std::filesystem::remove(root_.Host(kGlobalConfig));
  ASSERT_EQ(RunProgram(root_.Host("/ebrmain/bin/setup_wizard.app"), {}, {}).exit_status, 0);
  EXPECT_EQ(root_.Read(kGlobalConfig), "setup_wizard_flag=0\n");
}

}  // namespace
}  // namespace marrowleaf::test
