#include "controllers/Controller.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "EventLoop.h"
#include "controllers/ControllerFakes.h"
#include "platform/sdk/clock.h"
#include "platform/sdk/device.h"
#include "platform/sdk/events.h"
#include "platform/sdk/log.h"
#include "platform/sdk/timers.h"
#include "support/JournalReader.h"
#include "support/TempDeviceRoot.h"
#include "views/popup_menu/PopupMenuItemData.h"

namespace marrowleaf::desktop {
namespace {

using platform::EventLoop;
using platform::ManualClock;

class ControllerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clock_ = std::make_shared<ManualClock>(0);
    platform::InstallClock(clock_);
    EventLoop::Get().Reset();
    ReloadDeviceProfile();
    controller_ = std::make_unique<Controller>();
    controller_->AttachFrame(&frame_);
    controller_->Connect({&data_, &covers_, nullptr, &wifi_});
  }
  void TearDown() override {
    EventLoop::Get().Reset();
    platform::InstallClock(nullptr);
  }
  int Send(int id, int param = 0, int param2 = 0) {
    MWCommand command(id, param, param2);
    return controller_->OnCommand(command);
  }
  void RunTimersFor(int ms) {
    clock_->Advance(ms);
    EventLoop::Get().RunPending();
  }
  // A menu with a submenu two levels deep, opened level by level as the popup handler does.
  void OpenThreeNestedMenus() {
    auto inner = std::make_shared<PopupMenuItemDataList>();
    inner->Add(std::make_shared<PopupMenuItemData>(1001, PopupMenuItemData::kKindOrdinary, "leaf"));
    auto middle = std::make_shared<PopupMenuItemDataList>();
    middle->Add(std::make_shared<PopupMenuItemData>(PopupMenuItemData::kKindOrdinary, "in", inner));
    controller_->MenuItems()->Add(
        std::make_shared<PopupMenuItemData>(PopupMenuItemData::kKindOrdinary, "mid", middle));
    controller_->OpenState(STATE_POPUP_MENU, STATE_OPEN_PUSH);
    controller_->SubmenuPath().push_back(0);
    controller_->OpenState(STATE_POPUP_MENU, STATE_OPEN_PUSH);
    controller_->SubmenuPath().push_back(0);
    controller_->OpenState(STATE_POPUP_MENU, STATE_OPEN_PUSH);
  }

  test::TempDeviceRoot root_;
  std::shared_ptr<ManualClock> clock_;
  TestFrame frame_;
  RecordingData data_;
  RecordingCovers covers_;
  RecordingWiFi wifi_;
  std::unique_ptr<Controller> controller_;
};

TEST_F(ControllerTest, InitShowsTheMainViewAndAsksForItsBooks) {
  frame_.main_view.SetBookSlotCount(9);
  EXPECT_EQ(Send(CMD_INIT), 0);
  EXPECT_TRUE(frame_.main_view.IsVisible());
  EXPECT_TRUE(frame_.main_view.IsFocused());
  EXPECT_EQ(controller_->CurrentState(), STATE_MAIN_WINDOW);
  EXPECT_TRUE(controller_->StateStack().empty());
  EXPECT_EQ(data_.calls, (std::vector<std::string>{"init", "request:9", "notifications"}));
}

TEST_F(ControllerTest, PushedScreensReturnToWhereTheyCameFrom) {
  controller_->OpenState(STATE_APP_LIST, STATE_OPEN_PUSH);
  EXPECT_EQ(controller_->CurrentState(), STATE_APP_LIST);
  EXPECT_EQ(controller_->StateStack(), std::deque<State>{STATE_MAIN_WINDOW});
  controller_->HideState(STATE_APP_LIST);
  EXPECT_EQ(controller_->CurrentState(), STATE_APP_LIST) << "hiding never changes the state";
  controller_->OpenState(STATE_ADD_BOOKS_VIEW, STATE_OPEN_RETURN);
  EXPECT_EQ(controller_->CurrentState(), STATE_MAIN_WINDOW) << "the stack's top wins over the argument";
  EXPECT_TRUE(controller_->StateStack().empty());
}

TEST_F(ControllerTest, ReturnOnAnEmptyStackOpensTheStateAsked) {
  controller_->OpenState(STATE_ADD_BOOKS_VIEW, STATE_OPEN_RETURN);
  EXPECT_EQ(controller_->CurrentState(), STATE_ADD_BOOKS_VIEW);
  EXPECT_TRUE(frame_.add_books_view.IsVisible());
  EXPECT_FALSE(frame_.main_view.IsVisible());
}

TEST_F(ControllerTest, WiFiPromptSwitchedToAndBackLeavesTheStackAlone) {
  controller_->OpenState(STATE_WIFI_DIALOG, STATE_OPEN_SWITCH);
  EXPECT_TRUE(frame_.wifi_dialog.IsVisible());
  EXPECT_TRUE(controller_->StateStack().empty());
  controller_->HideState(STATE_WIFI_DIALOG);
  controller_->OpenState(STATE_WIFI_DIALOG, STATE_OPEN_RETURN);
  // With nothing on the stack the prompt's own state would come back; the handler returns to 0.
  controller_->OpenState(STATE_MAIN_WINDOW, STATE_OPEN_RETURN);
  EXPECT_EQ(controller_->CurrentState(), STATE_MAIN_WINDOW);
  EXPECT_TRUE(controller_->StateStack().empty());
}

TEST_F(ControllerTest, NestedMenusShowTheEntriesOfTheirSubmenuPath) {
  OpenThreeNestedMenus();
  EXPECT_EQ(controller_->MenuDepth(), 2);
  ASSERT_EQ(frame_.menus.size(), 3u);
  ASSERT_TRUE(frame_.menus[2]->Items());
  EXPECT_EQ(frame_.menus[2]->Items()->GetCount(), 1);
  EXPECT_EQ(frame_.menus[2]->Items()->GetItem(0)->text, "leaf");
  EXPECT_EQ(frame_.menus[1]->Items()->GetItem(0)->text, "in");
  EXPECT_EQ(frame_.menus[2]->ParentMenu(), frame_.menus[1]);
  EXPECT_EQ(frame_.pointered, frame_.menus[2].get());
}

TEST_F(ControllerTest, HomeClosesEveryMenuAndReturnsBelowThem) {
  controller_->OpenState(STATE_APP_LIST, STATE_OPEN_PUSH);
  OpenThreeNestedMenus();
  test::JournalReader journal(root_.HostRoot());
  EXPECT_EQ(Send(CMD_HOME), 1);
  EXPECT_EQ(controller_->MenuDepth(), -1);
  EXPECT_TRUE(controller_->SubmenuPath().empty());
  for (const auto& menu : frame_.menus) EXPECT_FALSE(menu->IsVisible());
  // Home goes on from the applications screen to the main view.
  EXPECT_EQ(controller_->CurrentState(), STATE_MAIN_WINDOW);
  EXPECT_FALSE(frame_.applications_view.IsVisible());
  EXPECT_TRUE(controller_->StateStack().empty());
  EXPECT_EQ(frame_.main_view.Page(), 0);
}

TEST_F(ControllerTest, UnknownStateIsIgnored) {
  controller_->OpenState(static_cast<State>(9), STATE_OPEN_PUSH);
  EXPECT_EQ(controller_->CurrentState(), STATE_MAIN_WINDOW);
  EXPECT_TRUE(controller_->StateStack().empty());
}

TEST_F(ControllerTest, CoverWakeUpRedrawsAfterTheTimer) {
  EXPECT_EQ(Send(CMD_USER_EVENT, kCoverReadyNotification), 1);
  EXPECT_EQ(covers_.ready, 1);
  EXPECT_EQ(QueryTimerByName("cover_redraw_timer"), 1);
  RunTimersFor(299);
  EXPECT_EQ(frame_.redraws, 0);
  RunTimersFor(1);
  EXPECT_EQ(frame_.redraws, 1);
  EXPECT_EQ(frame_.main_view.Refreshes(), 1);
}

TEST_F(ControllerTest, DataNotificationsApplyTheirKindOfResult) {
  data_.apply_result = false;
  Send(CMD_USER_EVENT, kDataManagerNotification, 1);
  EXPECT_EQ(frame_.main_view.Refreshes(), 0) << "an unchanged list is not redrawn";
  data_.apply_result = true;
  Send(CMD_USER_EVENT, kDataManagerNotification, 1);
  EXPECT_EQ(frame_.main_view.Refreshes(), 1);
  frame_.add_books_view.Show();
  Send(CMD_USER_EVENT, kDataManagerNotification, 2);
  EXPECT_EQ(frame_.add_books_view.Changes(), 1) << "the add-books view in front is redrawn instead";
  EXPECT_EQ(data_.calls, (std::vector<std::string>{"apply", "apply", "groups"}));
}

TEST_F(ControllerTest, NotificationCountLandsInTheSharedState) {
  DeviceSharedState* shared = GetDeviceSharedState();
  ASSERT_NE(shared, nullptr);
  shared->not_viewed_notifications = 0;
  data_.notifications = 4;
  Send(CMD_USER_EVENT, kDataManagerNotification, 3);
  EXPECT_EQ(shared->not_viewed_notifications, 4);
  EXPECT_EQ(frame_.frame_changes, 1);
  Send(CMD_USER_EVENT, kDataManagerNotification, 3);
  EXPECT_EQ(frame_.frame_changes, 1) << "an unchanged count doesn't redraw";
}

TEST_F(ControllerTest, UnknownUserEventIsTakenAndNeverReachesTheState) {
  EXPECT_EQ(Send(CMD_USER_EVENT, 777, 1), 1);
  EXPECT_TRUE(data_.calls.empty());
}

TEST_F(ControllerTest, ServicesReadyIsSentOnTheSecondSystemEventOnly) {
  root_.Write("/tmp/bookshelf.self.check", "counter=3\n");
  test::JournalReader journal(root_.HostRoot());
  Send(CMD_SYSTEM_EVENT, EVT_FOREGROUND);
  EXPECT_TRUE(journal.Events("ipc").empty());
  EXPECT_EQ(QueryTimerByName("CheckShowWiFiDialog"), 1);
  Send(CMD_SYSTEM_EVENT, EVT_BACKGROUND);
  Send(CMD_SYSTEM_EVENT, EVT_FOREGROUND);
  auto ipc = journal.Events("ipc");
  ASSERT_EQ(ipc.size(), 1u);
  EXPECT_EQ(ipc[0]["command"].asInt(), 0x600);
  EXPECT_NE(root_.Read("/tmp/bookshelf.self.check").find("counter=0"), std::string::npos);
  EXPECT_EQ(covers_.saves, 1) << "going to the background saves the cover cache";
}

TEST_F(ControllerTest, ForegroundReloadsTheListAndResetsThePage) {
  Send(CMD_SYSTEM_EVENT, EVT_FOREGROUND);
  data_.calls.clear();
  Send(CMD_SYSTEM_EVENT, EVT_FOREGROUND);
  EXPECT_EQ(data_.calls,
            (std::vector<std::string>{"storages", "request:12", "notifications"}));
}

TEST_F(ControllerTest, WiFiCheckWaitsForTheHomeScreenToBeInFront) {
  Send(CMD_SYSTEM_EVENT, EVT_FOREGROUND);
  DeviceSharedState* shared = GetDeviceSharedState();
  ASSERT_NE(shared, nullptr);
  shared->foreign_task_in_front = 1;
  RunTimersFor(1500);
  EXPECT_EQ(wifi_.checks, 0);
  shared->foreign_task_in_front = 0;
  Send(CMD_SYSTEM_EVENT, EVT_FOREGROUND);
  RunTimersFor(1500);
  EXPECT_EQ(wifi_.checks, 1);
}

TEST_F(ControllerTest, ExitSavesBothCachesAndClosesTheApplication) {
  test::JournalReader journal(root_.HostRoot());
  EXPECT_EQ(Send(CMD_EXIT), 1);
  EXPECT_EQ(data_.calls, std::vector<std::string>{"save"});
  EXPECT_EQ(covers_.saves, 1);
  EXPECT_TRUE(EventLoop::Get().ExitRequested());
}

TEST_F(ControllerTest, SwipesAreOnlyLoggedWithTheirSignedStep) {
  mw_set_log_level(MW_LOG_VERBOSE);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(Send(CMD_SWIPE, -3), 0);
  EXPECT_EQ(Send(CMD_SWIPE, 0), 0);
  EXPECT_EQ(Send(CMD_SWIPE, 2), 0);
  const std::string log = ::testing::internal::GetCapturedStderr();
  mw_set_log_level(MW_LOG_INFO);
  EXPECT_NE(log.find("SWIPE [-3]"), std::string::npos);
  EXPECT_NE(log.find("SWIPE [-0]"), std::string::npos);
  EXPECT_NE(log.find("SWIPE [+2]"), std::string::npos);
  EXPECT_EQ(controller_->CurrentState(), STATE_MAIN_WINDOW);
}

TEST_F(ControllerTest, UnhandledCommandsFallToTheStateHandler) {
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(Send(12345), 0);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("Unhandled command 12345"),
            std::string::npos);
  EXPECT_EQ(controller_->CurrentState(), STATE_MAIN_WINDOW);
}

}  // namespace
}  // namespace marrowleaf::desktop
