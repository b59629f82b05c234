// The main frame's own duties: the menu key that opens the control panel, the boot flash, and the
// note that new firmware was found.
#include "controllers/MainFrame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "EventLoop.h"
#include "platform/sdk/device.h"
#include "platform/sdk/events.h"
#include "support/JournalReader.h"
#include "support/TempDeviceRoot.h"

namespace marrowleaf::desktop {
namespace {

using platform::EventLoop;

std::vector<int> delivered;

int Record(int type, int, int) {
  delivered.push_back(type);
  return 1;
}

class MainFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_.Write("/.sim/device.cfg", "screen_width=600\nscreen_height=800\ndpi=160\n"
                                    "panel_height=40\ntouch=1\n");
    ReloadDeviceProfile();
    EventLoop::Get().Reset();
    EventLoop::Get().SetHandler(&Record);
    delivered.clear();
  }
  void TearDown() override { EventLoop::Get().Reset(); }
  int Updates(const std::string& kind) const {
    int updates = 0;
    for (const auto& entry : test::JournalReader(root_.HostRoot()).Events("update"))
      updates += entry["kind"].asString() == kind;
    return updates;
  }

  test::TempDeviceRoot root_;
};

TEST_F(MainFrameTest, TheMenuKeyOpensTheControlPanelUnlessTheReaderGaveItAnotherAction) {
  struct Case {
    const char* setting;
    bool opens;
  };
  const std::vector<Case> cases = {
      {"", true}, {"gkey.23.0=@KA_task\n", false}, {"gkey.23.0=@KA_scrn\n", false},
      {"gkey.23.0=@KA_expl\n", false}, {"gkey.23.0=@KA_something_else\n", true}};
  MainFrame frame(0, nullptr);
  for (const Case& c : cases) {
    // A device of its own for each setting: the global configuration is read once per device.
    test::TempDeviceRoot device;
    device.Write("/mnt/ext1/system/config/global.cfg", c.setting);
    const int handled = frame.MainHandler(EVT_KEYRELEASE, KEY_MENU, 0);
    EXPECT_EQ(handled, c.opens ? 1 : 0) << c.setting;
    int calls = 0;
    for (const auto& entry : test::JournalReader(device.HostRoot()).Events("sdk"))
      calls += entry["call"].asString() == "OpenControlPanel";
    EXPECT_EQ(calls, c.opens ? 1 : 0) << c.setting;
    EXPECT_EQ(frame.MainHandler(EVT_KEYRELEASE, KEY_MENU, 1), 0) << "the release of a long press";
  }
}

TEST_F(MainFrameTest, TheBootFlashWaitsForTheScreenAndHappensOnce) {
  root_.Write("/tmp/desktop_update.cfg", "update=1\n");
  MainFrame frame(0, nullptr);
  DeviceSharedState* shared = GetDeviceSharedState();
  ASSERT_NE(shared, nullptr);
  shared->foreign_task_in_front = 1;
  frame.CustomScreenUpdate();
  EXPECT_EQ(Updates("full"), 0) << "another task holds the screen";
  EXPECT_NE(root_.Read("/tmp/desktop_update.cfg").find("update=1"), std::string::npos);
  shared->foreign_task_in_front = 0;
  frame.CustomScreenUpdate();
  EXPECT_EQ(Updates("full"), 1);
  EXPECT_NE(root_.Read("/tmp/desktop_update.cfg").find("update=0"), std::string::npos);
  frame.CustomScreenUpdate();
  EXPECT_EQ(Updates("full"), 1);
}

TEST_F(MainFrameTest, NewFirmwareIsAnnouncedOnceAndNotedInTheNotificationCentre) {
  root_.Write("/mnt/ext1/system/config/global.cfg", "language=en\n");
  root_.MakeFolder("/var/run");
  MainFrame frame(0, nullptr);
  frame.onFirmwareFound();
  frame.onFirmwareFound();
  EventLoop::Get().RunPending();
  EXPECT_EQ(std::count(delivered.begin(), delivered.end(), EVT_NEWFIRMWARE_ANNOUNCED), 1);
  EXPECT_NE(root_.Read("/mnt/ext1/system/config/global.cfg").find("new_firmware=1"),
            std::string::npos);
  EXPECT_EQ(test::JournalReader(root_.HostRoot()).Events("notification").size(), 1u);
  EXPECT_NE(root_.Read("/var/run/notifications.cfg").find("@NewSoftwareUpdateFound"),
            std::string::npos);
}

}  // namespace
}  // namespace marrowleaf::desktop
