// The real program started on a generated sample device, as the device's task manager starts it,
// checked through the files it leaves and the journal of what it asked of the device.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/Journey.h"

namespace marrowleaf::test {
namespace {

class StartupTest : public Journey {
 protected:
  void SetUp() override { MakeDevice(); }
  ProgramResult Start(const std::vector<std::string>& arguments, const std::string& script = "") {
    std::vector<std::string> environment = {"MARROWLEAF_ROOT=" + root_.HostRoot(),
                                            "MARROWLEAF_DISPLAY=headless"};
    if (!script.empty()) {
      root_.Write("/.sim/test-script.txt", script);
      environment.push_back("MARROWLEAF_SCRIPT=" + root_.Host("/.sim/test-script.txt"));
    }
    return RunProgram("bookshelf.app", arguments, environment, 60000);
  }
  // The device's task manager starts the home screen again after a set-up step ends it.
  ProgramResult StartAsTaskManager(const std::vector<std::string>& arguments) {
    ProgramResult run;
    for (int starts = 0; starts < 6; ++starts) {
      run = Start(arguments);
      if (run.exit_status != 1) break;
    }
    return run;
  }
  bool JournalHasTask(const std::string& path) const {
    for (const auto& task : Journal("task")) {
      if (task["path"].asString() == path) return true;
    }
    return false;
  }
};

TEST_F(StartupTest, NormalStartRunsTheLoopAndClosesOnTheExitEvent) {
  root_.Write("/tmp/.current", "/mnt/ext1/book.epub");
  ProgramResult run = Start({});
  ASSERT_EQ(run.exit_status, 0) << run.output;
  EXPECT_FALSE(run.timed_out);
  EXPECT_EQ(Journal("loop-ended").size(), 1u) << run.output;
  EXPECT_FALSE(root_.Exists("/tmp/.current"));
  EXPECT_NE(root_.Read("/var/run/runtime.cfg").find("theme.name=Contrast"), std::string::npos);
  EXPECT_NE(root_.Read("/tmp/bookshelf.self.check").find("counter=0"), std::string::npos)
      << "the home screen came to the front";
}

// As on a device, a start that reaches the home screen is a healthy one: run after run, no start
// counts as failed and none calls the device services.
TEST_F(StartupTest, ADozenNormalRunsInARowNeverCallTheServices) {
  for (int run = 1; run <= 12; ++run) {
    ProgramResult result = Start({});
    ASSERT_EQ(result.exit_status, 0) << "run " << run << ": " << result.output;
  }
  for (const auto& ipc : Journal("ipc")) EXPECT_NE(ipc["command"].asInt(), 0x602);
  EXPECT_FALSE(JournalHasTask("/ebrmain/bin/settings.app"));
  EXPECT_NE(root_.Read("/tmp/bookshelf.self.check").find("counter=0"), std::string::npos);
}

TEST_F(StartupTest, ARestartAskedByAScriptGoesOnWithItsNextLine) {
  const std::string shot = root_.Host("/.sim/after-restart.png");
  ProgramResult run = Start({}, "event restart\nidle\nscreenshot " + shot + "\nquit\n");
  ASSERT_EQ(run.exit_status, 0) << run.output;
  EXPECT_FALSE(run.timed_out);
  EXPECT_EQ(Journal("exec").size(), 1u) << "one restart, not one at every start";
  EXPECT_EQ(Journal("loop-ended").size(), 1u);
  EXPECT_TRUE(root_.Exists("/.sim/after-restart.png"));
}

TEST_F(StartupTest, FirstBootOnAFullCardRunsEachStepOnceAndReachesTheHomeScreen) {
  ProgramResult made = MakeSampleDevice(root_.HostRoot(), "6in-1072", {"--first-boot"});
  ASSERT_EQ(made.exit_status, 0) << made.output;
  root_.Write("/.sim/device.cfg", root_.Read("/.sim/device.cfg") + "storage_full=1\n");
  ProgramResult run = StartAsTaskManager({});
  ASSERT_EQ(run.exit_status, 0) << run.output;
  EXPECT_FALSE(run.timed_out);
  EXPECT_EQ(Journal("exec").size(), 3u) << "two scripts and the wizard, once each";
  bool told = false;
  for (const auto& message : Journal("message"))
    told |= message["text"].asString().find("storage is full") != std::string::npos;
  EXPECT_TRUE(told);
  EXPECT_FALSE(Journal("loop-ended").empty());
}

TEST_F(StartupTest, SecondSystemEventTellsTheServicesAndResetsTheSelfCheck) {
  root_.Write("/tmp/bookshelf.self.check", "counter=4\n");
  ProgramResult run = Start({}, "event foreground\nevent background\nevent foreground\nidle\nquit\n");
  ASSERT_EQ(run.exit_status, 0) << run.output;
  int services_ready = 0;
  for (const auto& ipc : Journal("ipc")) services_ready += ipc["command"].asInt() == 0x600;
  EXPECT_EQ(services_ready, 1);
  EXPECT_NE(root_.Read("/tmp/bookshelf.self.check").find("counter=0"), std::string::npos);
}

TEST_F(StartupTest, MaintenanceSwitchSavesStateAndEndsWithoutAWindow) {
  root_.Write("/tmp/.current", "/mnt/ext1/reading.fb2");
  root_.Write("/tmp/.bsstate", "reader-state");
  for (const char* maintenance : {"-s", "-z"}) {
    ProgramResult run = Start({maintenance});
    ASSERT_EQ(run.exit_status, 0) << run.output;
    EXPECT_TRUE(Journal("loop-ended").empty()) << maintenance;
    const std::string saved = root_.Read("/mnt/ext1/system/state/.bsstate");
    ASSERT_GE(saved.size(), 4u);
    EXPECT_EQ(saved.substr(4), "/mnt/ext1/reading.fb2reader-state") << maintenance;
    EXPECT_NE(root_.Read("/var/run/runtime.cfg").find("theme.name"), std::string::npos);
  }
}

TEST_F(StartupTest, InstallStartRestoresStateAndRequestsTheScreenFlash) {
  root_.Write("/tmp/.current", "/mnt/ext1/a.epub");
  root_.Write("/tmp/.bsstate", "S");
  ASSERT_EQ(Start({"-s"}).exit_status, 0);
  root_.Write("/tmp/.current", "");
  ProgramResult run = Start({"-i"});
  ASSERT_EQ(run.exit_status, 0) << run.output;
  EXPECT_EQ(root_.Read("/tmp/.current"), "/mnt/ext1/a.epub") << "kept without -h";
  EXPECT_EQ(root_.Read("/tmp/.bsstate"), "S");
  EXPECT_FALSE(root_.Exists("/mnt/ext1/system/state/.bsstate"));
  // The install start asks for one full flash of the first screen, which the home screen then
  // performs and clears.
  EXPECT_NE(root_.Read("/tmp/desktop_update.cfg").find("update=0"), std::string::npos);
  int flashes = 0;
  for (const auto& update : Journal("update")) flashes += update["kind"].asString() == "full";
  EXPECT_GE(flashes, 1);
  for (const char* folder : {"/mnt/ext1/system/cache", "/mnt/ext1/system/language/keyboard",
                             "/mnt/ext1/applications", "/mnt/ext1/system/logo/offlogo",
                             "/mnt/ext1/system/dictionaries"}) {
    EXPECT_TRUE(root_.Exists(folder)) << folder;
  }
  EXPECT_TRUE(root_.Exists("/mnt/ext1/system/.marrowleaf"));
  EXPECT_TRUE(root_.Exists("/mnt/ext1/system/config/styles.xml"));
  ASSERT_EQ(Start({"-i", "-h"}).exit_status, 0);
  EXPECT_FALSE(root_.Exists("/tmp/.current")) << "-h drops the current book";
}

TEST_F(StartupTest, TenFailedStartsInARowCallTheServices) {
  root_.Write("/tmp/bookshelf.self.check", "counter=10\n");
  ProgramResult run = Start({"-s"});
  ASSERT_EQ(run.exit_status, 0) << run.output;
  bool asked_services = false;
  for (const auto& ipc : Journal("ipc")) asked_services |= ipc["command"].asInt() == 0x602;
  EXPECT_TRUE(asked_services);
  EXPECT_TRUE(JournalHasTask("/ebrmain/bin/settings.app"));
  EXPECT_NE(root_.Read("/tmp/bookshelf.self.check").find("counter=11"), std::string::npos);
}

TEST_F(StartupTest, DamagedConfigurationFilesNeverStopTheStart) {
  root_.Write("/mnt/ext1/system/config/global.cfg", std::string("\x00\xff\x01garbage\n=\n\"", 14));
  root_.Write("/tmp/bookshelf.self.check", "counter=\xff\xfe\n");
  root_.Write("/mnt/secure/ota_flag", "image=");
  root_.Write("/mnt/ext1/system/state/.bsstate", "\xff\xff\xff\x7f" "abc");
  // Without readable "done" marks the first-run steps run again; the task manager restarts the
  // home screen after the step that ends it, and the start completes.
  ProgramResult run = StartAsTaskManager({"-i"});
  EXPECT_EQ(run.exit_status, 0) << run.output;
  EXPECT_FALSE(root_.Exists("/mnt/secure/ota_flag")) << "the flag is removed once read";
  EXPECT_FALSE(Journal("loop-ended").empty());
}

TEST_F(StartupTest, BrokenScriptIsReportedWithItsLineBeforeAnythingRuns) {
  root_.Write("/tmp/bookshelf.self.check", "counter=3\n");
  root_.Write("/mnt/secure/ota_flag", "image=/mnt/ext1/system/ota/update.bin\n");
  root_.Write("/mnt/ext1/system/ota/update.bin", "not an update");
  ProgramResult run = Start({}, "idle\nfly away\n");
  EXPECT_EQ(run.exit_status, 2);
  EXPECT_NE(run.output.find(":2: unknown command 'fly'"), std::string::npos) << run.output;
  EXPECT_EQ(root_.Read("/tmp/bookshelf.self.check"), "counter=3\n");
  EXPECT_TRUE(root_.Exists("/mnt/secure/ota_flag"));
  EXPECT_TRUE(root_.Exists("/mnt/ext1/system/ota/update.bin"));
}

TEST_F(StartupTest, FirstBootRunsEachSetUpStepOnceAndThenStartsNormally) {
  ProgramResult made = MakeSampleDevice(root_.HostRoot(), "6in-1072", {"--first-boot"});
  ASSERT_EQ(made.exit_status, 0) << made.output;
  ProgramResult run = StartAsTaskManager({});
  ASSERT_EQ(run.exit_status, 0) << run.output;
  const std::string global = root_.Read("/mnt/ext1/system/config/global.cfg");
  for (const char* step : {"net_cfg_encrypt=done", "json2cfg=done", "resetfrontlight=done"}) {
    EXPECT_NE(global.find(step), std::string::npos) << step;
  }
  std::vector<std::string> execs;
  for (const auto& exec : Journal("exec")) execs.push_back(exec["path"].asString());
  const std::vector<std::string> expected_first = {"/ebrmain/bin/net_cfg_encrypt.sh",
                                                   "/ebrmain/bin/json2cfg.sh"};
  ASSERT_GE(execs.size(), 2u);
  EXPECT_EQ(std::vector<std::string>(execs.begin(), execs.begin() + 2), expected_first);
  bool wizard_ran = false;
  for (const auto& path : execs) wizard_ran |= path == "/ebrmain/bin/setup_wizard.app";
  EXPECT_TRUE(wizard_ran);
  EXPECT_FALSE(Journal("loop-ended").empty());
}

}  // namespace
}  // namespace marrowleaf::test

namespace marrowleaf::test {
namespace {

// The error shows on the screen over the starting program, which waits while the script reads it
// back and answers it (by the script, then by a tap on its button); then the home screen follows.
// A file that can't be read is reported once, not at every start.
TEST_F(StartupTest, ABrokenApplicationDatabaseShowsItsErrorUntilAnsweredOnceAcrossStarts) {
  const std::string broken = "{\"applications\": [ {\"id\": ";
  root_.Write("/ebrmain/config/desktop/apps_db.json", broken);
  auto file = [this](const std::string& name) { return root_.Host("/.sim/" + name); };
  ProgramResult first = Start({}, "idle\nwindows " + file("open.json") + "\nscreenshot " +
                                      file("open.png") + "\nanswer 1\nidle\nwindows " +
                                      file("after.json") + "\n");
  ASSERT_EQ(first.exit_status, 0) << first.output;
  const ScreenReader open(file("open.json"));
  EXPECT_EQ(open.Find("dialog").title, "Error");
  EXPECT_NE(open.Find("dialog").text.find("Failed load application data json file."),
            std::string::npos);
  const ScreenReader::Window ok = open.Find("dialog/button1");
  EXPECT_EQ(ok.text, "OK");
  EXPECT_TRUE(root_.Exists("/.sim/open.png"));
  const ScreenReader after(file("after.json"));
  EXPECT_FALSE(after.Shows("dialog"));
  EXPECT_NE(after.CurrentPage(), 0) << "the home screen follows the answer";

  // A file changed again is checked again; this time a tap on OK answers.
  root_.Write("/ebrmain/config/desktop/apps_db.json", broken + " ");
  ProgramResult second = Start({}, "idle\ntap " + std::to_string(ok.CentreX()) + " " +
                                       std::to_string(ok.CentreY()) + "\nidle\nwindows " +
                                       file("tapped.json") + "\n");
  ASSERT_EQ(second.exit_status, 0) << second.output;
  EXPECT_FALSE(ScreenReader(file("tapped.json")).Shows("dialog"));
  // Each answer follows the script's command that gave it, not the start.
  std::vector<int> answered_after;
  int line = 0;
  for (const auto& entry : JournalReader(root_.HostRoot()).All()) {
    if (entry["event"].asString() == "script") line = entry["line"].asInt();
    if (entry["event"].asString() == "dialog") answered_after.push_back(line);
  }
  EXPECT_EQ(answered_after, (std::vector<int>{4, 2}));
  ASSERT_EQ(Start({}).exit_status, 0);
  EXPECT_EQ(Journal("dialog").size(), 2u) << "the same broken file is not reported again";
  EXPECT_EQ(Journal("loop-ended").size(), 3u);
}

}  // namespace
}  // namespace marrowleaf::test
