#pragma once

// What the journeys share: a sample device made by the project's tool, the real program run
// headless on a script, and the screens and journal it leaves.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/JournalReader.h"
#include "support/ProgramRunner.h"
#include "support/ScreenReader.h"
#include "support/TempDeviceRoot.h"

namespace marrowleaf::test {

class Journey : public ::testing::Test {
 protected:
  void MakeDevice(const std::string& profile = "6in-1072") {
    const ProgramResult made = MakeSampleDevice(root_.HostRoot(), profile);
    ASSERT_EQ(made.exit_status, 0) << made.output;
  }
  // Runs the program on the script as written, with an empty journal.
  ProgramResult RunScript(const std::string& script, std::vector<std::string> environment = {}) {
    root_.Write("/.sim/journey.txt", script);
    root_.Write("/.sim/journal.jsonl", "");
    environment.push_back("MARROWLEAF_ROOT=" + root_.HostRoot());
    environment.push_back("MARROWLEAF_DISPLAY=headless");
    environment.push_back("MARROWLEAF_SCRIPT=" + root_.Host("/.sim/journey.txt"));
    ProgramResult run = RunProgram("bookshelf.app", {}, environment, 90000);
    EXPECT_EQ(run.exit_status, 0) << run.output;
    return run;
  }
  // Runs the script from the home screen settled to its end settled.
  ProgramResult Run(const std::string& script, std::vector<std::string> environment = {}) {
    return RunScript("idle\n" + script + "idle\nquit\n", std::move(environment));
  }
  // The script command that keeps the windows shown, and those windows read back.
  std::string Windows(const std::string& name) const {
    return "windows " + root_.Host("/.sim/" + name + ".json") + "\n";
  }
  ScreenReader Screen(const std::string& name) const {
    return ScreenReader(root_.Host("/.sim/" + name + ".json"));
  }
  std::vector<Json::Value> Journal(const std::string& event) const {
    return JournalReader(root_.HostRoot()).Events(event);
  }

  TempDeviceRoot root_;
};

}  // namespace marrowleaf::test
