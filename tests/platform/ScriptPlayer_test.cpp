#include "ScriptPlayer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "EventLoop.h"
#include "platform/sdk/clock.h"
#include "platform/sdk/dialogs.h"
#include "platform/sdk/device.h"
#include "platform/sdk/events.h"
#include "platform/sdk/network.h"
#include "platform/sdk/timers.h"
#include "support/TempDeviceRoot.h"

namespace marrowleaf::platform {
namespace {

struct Received {
  int type;
  int par1;
  int par2;
  int64_t at_ms;
};
std::vector<Received> g_received;

int Record(int type, int par1, int par2) {
  g_received.push_back({type, par1, par2, CurrentClock().NowMs()});
  if (type == EVT_EXIT) EventLoop::Get().RequestExit();
  return 1;
}

class ScriptPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clock_ = std::make_shared<ManualClock>(0);
    InstallClock(clock_);
    EventLoop::Get().Reset();
    EventLoop::Get().SetHandler(Record);
    g_received.clear();
  }
  void TearDown() override {
    EventLoop::Get().Reset();
    InstallClock(nullptr);
  }
  void RunScript(const std::string& text) {
    std::string error;
    auto script = ScriptPlayer::Parse(text, "test", &error);
    ASSERT_TRUE(script) << error;
    EventLoop::Get().Run(script.get());
  }
  std::vector<int> Types() const {
    std::vector<int> types;
    for (const auto& event : g_received) types.push_back(event.type);
    return types;
  }
  std::shared_ptr<ManualClock> clock_;
};

TEST(ScriptParsing, RejectsABadLineWithItsNumberBeforeAnythingRuns) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"idle\n\n# note\njump 1 2\n", "s:4: unknown command 'jump'"},
      {"tap 10\n", "s:1: wrong number of arguments for 'tap'"},
      {"wait soon\n", "s:1: bad number 'soon'"},
      {"key sideways\n", "s:1: unknown key 'sideways'"},
      {"event lunar-eclipse\n", "s:1: unknown event 'lunar-eclipse'"},
  };
  for (const auto& [script, message] : cases) {
    std::string error;
    EXPECT_FALSE(ScriptPlayer::Parse(script, "s", &error)) << script;
    EXPECT_EQ(error, message);
  }
}

// Scripts are host files read with a cap of 1 MiB: a script of exactly the cap plays, one byte
// more (or a missing file) is refused with the path named.
TEST(ScriptParsing, ReadsAScriptFileUpToTheCapAndRefusesALongerOrMissingOne) {
  const std::string path = ::testing::TempDir() + "/script-cap.txt";
  const std::string quit = "quit\n";
  const size_t cap = size_t{1} << 20;
  const std::vector<std::pair<size_t, bool>> cases = {{quit.size(), true}, {cap, true},
                                                      {cap + 1, false}, {3 * cap, false}};
  for (const auto& [size, readable] : cases) {
    {
      // Comment lines fill the file ahead of the one command.
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      const std::string filler(size - quit.size(), '#');
      out << (filler.empty() ? "" : filler.substr(0, filler.size() - 1) + "\n") << quit;
    }
    std::string error;
    const auto script = ScriptPlayer::FromFile(path, &error);
    EXPECT_EQ(readable, script != nullptr) << size << ": " << error;
    if (script)
      EXPECT_EQ(2 - (size == quit.size()), script->NextLine()) << size;
    else
      EXPECT_NE(std::string::npos, error.find(path)) << size;
  }
  std::remove(path.c_str());
  std::string error;
  EXPECT_FALSE(ScriptPlayer::FromFile(path, &error));
  EXPECT_NE(std::string::npos, error.find("can't read the script"));
}

TEST_F(ScriptPlayerTest, AResumedScriptGoesOnWhereTheReplacedProcessStopped) {
  std::string error;
  auto script = ScriptPlayer::Parse("event restart\n# note\nkey ok\nwait 5\n", "test", &error);
  ASSERT_TRUE(script) << error;
  EXPECT_EQ(script->NextLine(), 1);
  script->ResumeAt(2);
  EXPECT_EQ(script->NextLine(), 3) << "comments and blank lines are skipped";
  EventLoop::Get().Run(script.get());
  EXPECT_EQ(Types(), (std::vector<int>{EVT_KEYPRESS, EVT_KEYRELEASE, EVT_EXIT}));
  // Resumed past its end, a script stays there however often the process is replaced.
  script->ResumeAt(9);
  EXPECT_EQ(script->NextLine(), 9);
}

TEST_F(ScriptPlayerTest, WaitDelaysTheNextCommandAndAScriptWithoutQuitStillEndsWithExit) {
  RunScript("event foreground\nwait 250\nevent sd-in 1 0\n");
  ASSERT_EQ(Types(), (std::vector<int>{EVT_FOREGROUND, EVT_SD_IN, EVT_EXIT}));
  EXPECT_EQ(g_received[1].at_ms - g_received[0].at_ms, 250);
  EXPECT_EQ(g_received[1].par1, 1);
}

TEST_F(ScriptPlayerTest, NetworkEventsChangeTheDevicesNetworkAndTellTheProgram) {
  test::TempDeviceRoot root;
  root.Write("/.sim/device.cfg", "wifi=1\nnetwork=1\n");
  ReloadDeviceProfile();
  RunScript("event network-down\nquit\n");
  EXPECT_EQ(NetConnect(nullptr), -1);
  EXPECT_NE(root.Read("/.sim/device.cfg").find("network=0"), std::string::npos);
  EventLoop::Get().Reset();
  EventLoop::Get().SetHandler(Record);
  RunScript("event network-up\nquit\n");
  EXPECT_EQ(NetConnect(nullptr), 0);
  EXPECT_EQ(Types(), (std::vector<int>{EVT_NET_DISCONNECTED, EVT_EXIT, EVT_NET_CONNECTED, EVT_EXIT}));
  ReloadDeviceProfile();
}

TEST_F(ScriptPlayerTest, InputCommandsBecomePointerAndKeyEvents) {
  RunScript("tap 10 20\nkey ok\nhold 5 6\nswipe 0 0 100 0\nquit\n");
  const std::vector<int> expected = {
      EVT_POINTERDOWN, EVT_POINTERUP, EVT_KEYPRESS, EVT_KEYRELEASE, EVT_POINTERDOWN,
      EVT_POINTERLONG, EVT_POINTERUP, EVT_POINTERDOWN, EVT_POINTERMOVE, EVT_POINTERMOVE,
      EVT_POINTERMOVE, EVT_POINTERMOVE, EVT_POINTERUP, EVT_EXIT};
  ASSERT_EQ(Types(), expected);
  EXPECT_EQ(g_received[0].par1, 10);
  EXPECT_EQ(g_received[0].par2, 20);
  EXPECT_EQ(g_received[3].par1, KEY_OK);
  EXPECT_GE(g_received[5].at_ms - g_received[4].at_ms, 500) << "a hold lasts half a second";
  EXPECT_EQ(g_received[12].par1, 100);
}

TEST_F(ScriptPlayerTest, IdleWaitsForTimersToRunOut) {
  static bool fired = false;
  fired = false;
  SetHardTimer("settle", [] { fired = true; }, 1500);
  RunScript("idle\nevent show\nquit\n");
  EXPECT_TRUE(fired);
  ASSERT_EQ(Types(), (std::vector<int>{EVT_SHOW, EVT_EXIT}));
  EXPECT_GE(g_received[0].at_ms, 1500);
}

TEST_F(ScriptPlayerTest, AnswerQueuesTheNextDialogsButton) {
  RunScript("answer 2\nquit\n");
  EXPECT_EQ(DialogSynchro(ICON_QUESTION, "t", "q", "@No", "@Yes", nullptr), 2);
}

}  // namespace
}  // namespace marrowleaf::platform
