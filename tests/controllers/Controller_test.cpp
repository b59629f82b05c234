#include "controllers/Controller.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "EventLoop.h"
#include "controllers/ControllerFakes.h"
#include "controllers/WiFiPromptCheck.h"
#include "platform/sdk/clock.h"
#include "platform/sdk/device.h"
#include "platform/sdk/events.h"
#include "platform/sdk/files.h"
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
  controller_->OpenState(STATE_ADD_BOOKS_VIEW, STATE_OPEN_RETURN);
  EXPECT_EQ(controller_->CurrentState(), STATE_ADD_BOOKS_VIEW) << "an empty stack opens the argument";
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

// An unknown state, wake-up or command changes nothing; swipes are left to the views.
TEST_F(ControllerTest, UnknownStatesWakeUpsAndCommandsChangeNothing) {
  controller_->OpenState(static_cast<State>(9), STATE_OPEN_PUSH);
  EXPECT_EQ(Send(CMD_USER_EVENT, 777, 1), 1) << "the controller's own wake-ups are all taken";
  for (int step : {-3, 0, 2}) EXPECT_EQ(Send(CMD_SWIPE, step), 0);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(Send(12345), 0);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("Unhandled command 12345"),
            std::string::npos);
  EXPECT_EQ(controller_->CurrentState(), STATE_MAIN_WINDOW);
  EXPECT_TRUE(controller_->StateStack().empty());
  EXPECT_TRUE(data_.calls.empty());
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

}  // namespace
}  // namespace marrowleaf::desktop

// --- Menus, their entries and the screens they are opened on ---

namespace marrowleaf::desktop {
namespace {

Controller* g_reporting_controller = nullptr;

// The application's own wake-ups reach the controller as the main frame would pass them.
int ForwardUserEvent(int type, int par1, int par2) {
  if (type == EVT_USERDEFINED && g_reporting_controller != nullptr) {
    MWCommand command(CMD_USER_EVENT, par1, par2);
    g_reporting_controller->OnCommand(command);
  }
  return 1;
}

std::shared_ptr<Book> LibraryBook(int64_t id, const std::string& path) {
  auto book = std::make_shared<Book>();
  book->id = id;
  book->path = path;
  book->title = "Book " + std::to_string(id);
  book->local = true;
  book->settings = std::make_shared<BookSettings>();
  return book;
}

std::shared_ptr<Item> SingleItem(int type, std::shared_ptr<Book> book) {
  auto item = std::make_shared<Item>();
  item->type_ = type;
  item->books_count_ = 1;
  item->books_.push_back(std::move(book));
  return item;
}

// The index of the entry with this action in a menu, -1 when it has none.
int EntryIndex(const PopupMenuItemDataList& menu, int action) {
  for (int i = 0; i < menu.GetCount(); ++i) {
    if (menu.GetItem(i)->action == action)
      return i;
  }
  return -1;
}

class MenuCommandsTest : public ControllerTest {
 protected:
  void SetUp() override {
    ControllerTest::SetUp();
    root_.Write("/ebrmain/config/extensions.cfg",
                "handler.FBReader=/ebrmain/bin/fbreader.app\nepub=Reader,FBReader\n");
    data_.items[{DEVICE_BLOCK, 0}] = SingleItem(ITEM_OPENED, LibraryBook(21, "/mnt/ext1/Books/one.epub"));
    for (const char* book : {"one.epub", "a.epub", "b.epub"})
      root_.Write(std::string("/mnt/ext1/Books/") + book, "book");
    g_reporting_controller = controller_.get();
    EventLoop::Get().SetHandler(ForwardUserEvent);
  }
  void TearDown() override {
    g_reporting_controller = nullptr;
    ControllerTest::TearDown();
  }
  void Hold(int index) { Send(CMD_HOLD_BOOK_ITEM, DEVICE_BLOCK, index); }
  // Chooses the entry with this action in the open menu, as its row would.
  void Choose(int action) {
    ASSERT_GE(controller_->MenuDepth(), 0) << "no menu is open";
    const std::shared_ptr<PopupMenuItemDataList> open =
        frame_.menus[static_cast<size_t>(controller_->MenuDepth())]->Items();
    ASSERT_TRUE(open);
    const int index = EntryIndex(*open, action);
    ASSERT_GE(index, 0) << "no entry " << action;
    Send(CMD_OPEN_ITEM, index, index);
  }
  test::JournalReader Journal() const { return test::JournalReader(root_.HostRoot()); }
  void InstallProgram(const std::string& device_path, const std::string& script) {
    root_.Write(device_path, script);
    chmod(root_.Host(device_path).c_str(), 0755);
  }
};

TEST_F(MenuCommandsTest, CloseReturnsToTheParentMenuThenToTheScreenBelowTheMenus) {
  auto group = std::make_shared<Item>();
  group->type_ = ITEM_ADDED_GROUP;
  group->books_ = {LibraryBook(31, "/mnt/ext1/Books/a.epub"), LibraryBook(32, "/mnt/ext1/Books/b.epub")};
  group->books_count_ = 2;
  frame_.add_books_view.SetItem(group);
  controller_->OpenState(STATE_ADD_BOOKS_VIEW, STATE_OPEN_PUSH);
  Send(CMD_HOLD_BOOK_ITEM, 1);
  Choose(0);
  ASSERT_EQ(controller_->MenuDepth(), 1);

  Send(CMD_CLOSE);
  EXPECT_EQ(controller_->MenuDepth(), 0);
  EXPECT_EQ(controller_->CurrentState(), STATE_POPUP_MENU);
  EXPECT_TRUE(frame_.menus[0]->IsVisible());
  EXPECT_FALSE(frame_.menus[1]->IsVisible());
  EXPECT_EQ(frame_.pointered, frame_.menus[0].get());
  EXPECT_EQ(controller_->SubmenuPath(), std::vector<int>{});

  Send(CMD_CLOSE);
  EXPECT_EQ(controller_->MenuDepth(), -1);
  EXPECT_EQ(controller_->CurrentState(), STATE_ADD_BOOKS_VIEW) << "where the menu was opened";
  EXPECT_EQ(controller_->StateStack(), std::deque<State>{STATE_MAIN_WINDOW});
}

TEST_F(MenuCommandsTest, EntriesThatDoNothingAndIndexesOutsideTheMenuAreIgnored) {
  Hold(0);
  const int remove = EntryIndex(*controller_->MenuItems(), 1001);
  Send(CMD_OPEN_ITEM, remove, -1);
  Send(CMD_OPEN_ITEM, 99, 99);
  Send(CMD_OPEN_ITEM, -1, 0);
  EXPECT_EQ(controller_->CurrentState(), STATE_POPUP_MENU);
  EXPECT_EQ(controller_->MenuDepth(), 0);
  EXPECT_EQ(std::count(data_.calls.begin(), data_.calls.end(), "remove"), 0);
  Send(CMD_OPEN_ITEM, remove, remove);
  EXPECT_EQ(std::count(data_.calls.begin(), data_.calls.end(), "remove"), 1);
  EXPECT_EQ(controller_->CurrentState(), STATE_MAIN_WINDOW);
}

TEST_F(MenuCommandsTest, OnlyTilesOfBooksAndGroupsHaveAMenu) {
  auto more = std::make_shared<Item>();
  more->type_ = ITEM_MORE;
  data_.items[{DEVICE_BLOCK, 1}] = more;
  Hold(1);
  Hold(7);
  EXPECT_EQ(controller_->CurrentState(), STATE_MAIN_WINDOW);
  EXPECT_EQ(controller_->MenuDepth(), -1);
}

TEST_F(MenuCommandsTest, TheGridsBooksOpenAndHaveTheMenuOfASingleBookButTheMoreTileHasNone) {
  auto group = std::make_shared<Item>();
  group->type_ = ITEM_ADDED_GROUP;
  group->timestamp_ = 5000;
  group->books_ = {LibraryBook(31, "/mnt/ext1/Books/a.epub"), LibraryBook(32, "/mnt/ext1/Books/b.epub"),
                   LibraryBook(33, "/mnt/ext1/Books/c.epub"), LibraryBook(-1, "/mnt/ext1/Books/d.epub")};
  group->books_[2]->is_more = true;
  group->books_count_ = 40;
  frame_.add_books_view.SetItem(group);
  controller_->OpenState(STATE_ADD_BOOKS_VIEW, STATE_OPEN_PUSH);

  for (int index : {2, 3, 9, -1}) Send(CMD_HOLD_BOOK_ITEM, index);
  EXPECT_EQ(controller_->CurrentState(), STATE_ADD_BOOKS_VIEW) << "no menu for these";

  Send(CMD_HOLD_BOOK_ITEM, 1);
  ASSERT_EQ(controller_->CurrentState(), STATE_POPUP_MENU);
  EXPECT_GE(EntryIndex(*controller_->MenuItems(), 1003), 0) << "a single book of the device";
  Choose(1005);
  EXPECT_EQ(std::count(data_.calls.begin(), data_.calls.end(), "read"), 1);
  EXPECT_EQ(controller_->CurrentState(), STATE_MAIN_WINDOW) << "an action leaves the grid";
  EXPECT_TRUE(frame_.main_view.IsVisible());
  EXPECT_FALSE(frame_.add_books_view.IsVisible());

  controller_->OpenState(STATE_ADD_BOOKS_VIEW, STATE_OPEN_PUSH);
  Send(CMD_OPEN_BOOK_ITEM, 0);
  const auto books = Journal().Events("book");
  ASSERT_EQ(books.size(), 1u);
  EXPECT_EQ(books[0]["path"].asString(), "/mnt/ext1/Books/a.epub");
  EXPECT_EQ(controller_->CurrentState(), STATE_MAIN_WINDOW);
  EXPECT_TRUE(controller_->StateStack().empty());
}

TEST_F(MenuCommandsTest, ABookIsDeletedOnlyOnYesAndAGroupOfMoreThanTenShowsTheHourglass) {
  Hold(0);
  Choose(1003);
  Send(CMD_CONFIRM_DELETE, BookMenus::kAnswerNo);
  Send(CMD_CONFIRM_DELETE, BookMenus::kAnswerYes);
  EXPECT_EQ(std::count(data_.calls.begin(), data_.calls.end(), "delete:21"), 0)
      << "the No answer ended the question";
  Hold(0);
  Choose(1003);
  Send(CMD_CONFIRM_DELETE, BookMenus::kAnswerYes);
  EXPECT_EQ(std::count(data_.calls.begin(), data_.calls.end(), "delete:21"), 1);
  EXPECT_EQ(data_.calls.back(), "request:12") << "the home screen reads its books again";

  for (int count : {10, 11}) {
    auto group = std::make_shared<Item>();
    group->type_ = ITEM_ADDED_GROUP;
    group->timestamp_ = 7000 + count;
    group->books_count_ = count;
    group->books_.push_back(LibraryBook(40, "/mnt/ext1/Books/g.epub"));
    data_.items[{DEVICE_BLOCK, 0}] = group;
    Hold(0);
    Choose(1003);
    Send(CMD_CONFIRM_DELETE, BookMenus::kAnswerYes);
    EXPECT_EQ(Journal().Events("hourglass").size(), count > 10 ? 1u : 0u) << count;
  }
  EXPECT_EQ(std::count(data_.calls.begin(), data_.calls.end(), "delete-group:7010"), 1);
  EXPECT_EQ(std::count(data_.calls.begin(), data_.calls.end(), "delete-group:7011"), 1);
  EXPECT_TRUE(Journal().Events("message").empty());

  // Files that stay (a write-protected card) are reported.
  data_.files_kept = 2;
  Hold(0);
  Choose(1003);
  Send(CMD_CONFIRM_DELETE, BookMenus::kAnswerYes);
  const auto messages = Journal().Events("message");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0]["text"].asString(), "DeleteFailed") << "the key, as no language is loaded";
}

TEST_F(MenuCommandsTest, TheCloudDeletersExitStatusDecidesAndOneThatHangsIsStopped) {
  auto cloud = LibraryBook(55, "/mnt/ext1/Books/cloud.epub");
  cloud->local = false;
  cloud->cloud = true;
  data_.items[{DEVICE_BLOCK, 0}] = SingleItem(ITEM_OPENED, cloud);
  root_.MakeFolder("/ebrmain/bin");
  auto confirm = [&](const std::string& deleter) {
    InstallProgram("/ebrmain/bin/cloud_book_deleter.app", deleter);
    Hold(0);
    Choose(1008);
    Send(CMD_CONFIRM_CLOUD_DELETE, BookMenus::kAnswerYes);
    data_.calls.clear();
  };
  // Until the deleter's end is in the journal and its report was handled.
  auto wait_for_deleter = [&](size_t ended) {
    for (int i = 0; i < 500 && Journal().Events("task_end").size() < ended; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EventLoop::Get().RunPending();
  };

  confirm("#!/bin/sh\n[ \"$1\" = 55 ] || exit 9\nexit 0\n");
  wait_for_deleter(1);
  EXPECT_EQ(data_.calls, std::vector<std::string>{"request:12"});
  EXPECT_TRUE(Journal().Events("message").empty());

  confirm("#!/bin/sh\nexit 1\n");
  wait_for_deleter(2);
  EXPECT_TRUE(data_.calls.empty());
  ASSERT_EQ(Journal().Events("message").size(), 1u);

  confirm("#!/bin/sh\nexec sleep 60\n");
  RunTimersFor(BookMenus::kCloudDeleterTimeoutMs - 1);
  EXPECT_EQ(Journal().Events("message").size(), 1u) << "still waiting";
  RunTimersFor(1);
  EXPECT_EQ(Journal().Events("message").size(), 2u);
  const auto closes = Journal().Events("close");
  ASSERT_EQ(closes.size(), 1u);
  EXPECT_TRUE(closes[0]["force"].asBool());
  // The stopped deleter's end comes later and changes nothing.
  wait_for_deleter(3);
  EXPECT_TRUE(data_.calls.empty());
  EXPECT_EQ(Journal().Events("message").size(), 2u);
  const auto starts = Journal().Events("task");
  ASSERT_EQ(starts.size(), 3u);
  ASSERT_EQ(starts[0]["args"].size(), 1u) << "no shell, the id alone";
  EXPECT_EQ(starts[0]["args"][0].asString(), "55");
}

}  // namespace
}  // namespace marrowleaf::desktop

namespace marrowleaf::desktop {
namespace {

constexpr time_t kNow = 2000000000;
constexpr int64_t kDay = 86400;

class WiFiPromptCheckTest : public ControllerTest {
 protected:
  void LastPromptDaysAgo(int64_t days) {
    root_.Write("/mnt/ext1/system/config/global.cfg",
                "language=en\nask_connect_ts=" + std::to_string(kNow - days * kDay) + "\n");
  }
  std::string Global() const { return root_.Read("/mnt/ext1/system/config/global.cfg"); }
  // A check as a new process makes it: the time of the last prompt not read yet.
  WiFiPromptCheck NewCheck() { return WiFiPromptCheck(*controller_, [] { return kNow; }); }
};

TEST_F(WiFiPromptCheckTest, AsksAfterFourteenDaysOnlyAndRemembersWhen) {
  LastPromptDaysAgo(13);
  NewCheck().CheckShowWiFiDialog();
  EXPECT_FALSE(frame_.wifi_dialog.IsVisible());
  EXPECT_NE(Global().find("ask_connect_ts=" + std::to_string(kNow - 13 * kDay)), std::string::npos);

  WiFiPromptCheck later = NewCheck();
  LastPromptDaysAgo(15);
  later.CheckShowWiFiDialog();
  EXPECT_TRUE(frame_.wifi_dialog.IsVisible());
  EXPECT_EQ(controller_->CurrentState(), STATE_WIFI_DIALOG);
  EXPECT_TRUE(controller_->StateStack().empty()) << "the prompt is switched to";
  EXPECT_NE(Global().find("ask_connect_ts=" + std::to_string(kNow)), std::string::npos);
  EXPECT_NE(Global().find("language=en"), std::string::npos) << "other keys stay";

  Send(CMD_CLOSE);
  EXPECT_EQ(controller_->CurrentState(), STATE_MAIN_WINDOW);
  EXPECT_FALSE(frame_.wifi_dialog.IsVisible());
  later.CheckShowWiFiDialog();
  EXPECT_FALSE(frame_.wifi_dialog.IsVisible()) << "asked once in fourteen days";
}

TEST_F(WiFiPromptCheckTest, ASetUpDeviceOrAnotherScreenInFrontIsNeverAsked) {
  WiFiPromptCheck check = NewCheck();
  LastPromptDaysAgo(100);
  root_.Write("/mnt/secure/download_device_param.cfg", "device=x\n");
  check.CheckShowWiFiDialog();
  EXPECT_FALSE(frame_.wifi_dialog.IsVisible());
  EXPECT_EQ(check.LastPrompt(), -1) << "the time is not even read";

  ASSERT_EQ(pk_unlink("/mnt/secure/download_device_param.cfg"), 0);
  controller_->OpenState(STATE_ADD_BOOKS_VIEW, STATE_OPEN_PUSH);
  check.CheckShowWiFiDialog();
  EXPECT_FALSE(frame_.wifi_dialog.IsVisible()) << "a prompt would strand the grid under it";
  controller_->HideState(STATE_ADD_BOOKS_VIEW);
  controller_->OpenState(STATE_MAIN_WINDOW, STATE_OPEN_RETURN);
  check.CheckShowWiFiDialog();
  EXPECT_TRUE(frame_.wifi_dialog.IsVisible());
}

TEST_F(WiFiPromptCheckTest, ADeviceWithoutWiFiIsNeverAsked) {
  root_.Write("/.sim/device.cfg", "wifi=0\n");
  ReloadDeviceProfile();
  LastPromptDaysAgo(100);
  NewCheck().CheckShowWiFiDialog();
  EXPECT_FALSE(frame_.wifi_dialog.IsVisible());
  EXPECT_NE(Global().find("ask_connect_ts=" + std::to_string(kNow - 100 * kDay)), std::string::npos);
  root_.Write("/.sim/device.cfg", "wifi=1\n");
  ReloadDeviceProfile();
  NewCheck().CheckShowWiFiDialog();
  EXPECT_TRUE(frame_.wifi_dialog.IsVisible());
}

}  // namespace
}  // namespace marrowleaf::desktop
