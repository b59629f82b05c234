#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <future>
#include <thread>
#include <vector>

#include "ScreenState.h"
#include "platform/sdk/device.h"
#include "platform/sdk/screen.h"
#include "support/JournalReader.h"
#include "support/TempDeviceRoot.h"

namespace marrowleaf::platform {
namespace {

using test::JournalReader;
using test::TempDeviceRoot;

std::atomic<bool> g_hook_entered{false};
std::atomic<bool> g_hook_release{false};
std::atomic<bool> g_hook_done{false};
std::vector<UpdateKind> g_hook_kinds;

// A display that takes its time: it shows the update only when the test lets it.
void SlowDisplay(UpdateKind kind, int, int, int, int) {
  g_hook_kinds.push_back(kind);
  g_hook_entered = true;
  while (!g_hook_release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  g_hook_done = true;
}

class ScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_.Write("/.sim/device.cfg",
                "screen_width=758\nscreen_height=1024\npanel_height=40\ndpi=212\n");
    ReloadDeviceProfile();
  }
  void TearDown() override {
    SetOrientation(0);
    SetScreenUpdateHook(nullptr);
    SetPanelTransparent(0);
  }

  std::vector<Json::Value> Updates() const {
    return JournalReader(root_.HostRoot()).Events("update");
  }

  TempDeviceRoot root_;
};

void ExpectRect(const Json::Value& update, const char* kind, int x, int y, int w, int h) {
  EXPECT_EQ(update["kind"].asString(), kind);
  EXPECT_EQ(update["x"].asInt(), x);
  EXPECT_EQ(update["y"].asInt(), y);
  EXPECT_EQ(update["w"].asInt(), w);
  EXPECT_EQ(update["h"].asInt(), h);
}

TEST_F(ScreenTest, SizesComeFromTheProfileAndTurnWithTheOrientation) {
  EXPECT_EQ(ScreenWidth(), 758);
  EXPECT_EQ(ScreenHeight(), 1024);
  EXPECT_EQ(PanelHeight(), 40);
  EXPECT_EQ(ScreenDpi(), 212);

  SetOrientation(1);
  EXPECT_EQ(GetOrientation(), 1);
  EXPECT_EQ(ScreenWidth(), 1024);
  EXPECT_EQ(ScreenHeight(), 758);
  SetOrientation(7);
  EXPECT_EQ(GetOrientation(), 1) << "an orientation the panel can't take is ignored";
  SetOrientation(2);
  EXPECT_EQ(ScreenWidth(), 758);
}

TEST_F(ScreenTest, EveryUpdateIsJournaledWithItsKindAndRectangle) {
  FullUpdate();
  PartialUpdate(10, 20, 30, 40);
  SoftUpdate();
  DynamicUpdate(1, 2, 3, 4);

  const auto updates = Updates();
  ASSERT_EQ(updates.size(), 4u);
  ExpectRect(updates[0], "full", 0, 0, 758, 1024);
  ExpectRect(updates[1], "partial", 10, 20, 30, 40);
  ExpectRect(updates[2], "soft", 0, 0, 758, 1024);
  ExpectRect(updates[3], "dynamic", 1, 2, 3, 4);
}

TEST_F(ScreenTest, UpdatesAreClippedToTheScreenAndEmptyOnesDropped) {
  PartialUpdate(-10, -20, 50, 50);
  PartialUpdate(700, 1000, INT_MAX, INT_MAX);
  PartialUpdate(758, 0, 10, 10);
  PartialUpdate(10, 10, 0, 10);
  DynamicUpdate(10, 10, -5, 10);

  const auto updates = Updates();
  ASSERT_EQ(updates.size(), 2u);
  ExpectRect(updates[0], "partial", 0, 0, 40, 30);
  ExpectRect(updates[1], "partial", 700, 1000, 58, 24);
}

TEST_F(ScreenTest, WaitingForTheUpdateReturnsOnlyAfterTheDisplayShowedIt) {
  SetScreenUpdateHook(SlowDisplay);
  g_hook_kinds.clear();
  g_hook_entered = false;
  g_hook_release = false;
  g_hook_done = false;
  std::thread drawer([] { PartialUpdate(0, 0, 10, 10); });
  while (!g_hook_entered) std::this_thread::sleep_for(std::chrono::milliseconds(1));

  auto waited = std::async(std::launch::async, [] {
    WaitForUpdateComplete();
    return g_hook_done.load();
  });
  EXPECT_EQ(waited.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
  g_hook_release = true;
  EXPECT_TRUE(waited.get()) << "the wait ended before the display had shown the update";
  drawer.join();
  EXPECT_EQ(g_hook_kinds, std::vector<UpdateKind>{UpdateKind::kPartial});
}

TEST_F(ScreenTest, PanelTransparencyChangesAreJournaledOnce) {
  SetPanelTransparent(50);
  SetPanelTransparent(50);
  SetPanelTransparent(250);
  SetPanelTransparent(0);

  const auto panel = JournalReader(root_.HostRoot()).Events("panel");
  ASSERT_EQ(panel.size(), 3u);
  EXPECT_EQ(panel[0]["transparent"].asInt(), 50);
  EXPECT_EQ(panel[1]["transparent"].asInt(), 100);
  EXPECT_EQ(panel[2]["transparent"].asInt(), 0);
  EXPECT_EQ(ScreenState::Get().PanelTransparency(), 0);
}

}  // namespace
}  // namespace marrowleaf::platform
