// What the home screen's and the applications screen's commands open, through the controller with
// recording screens over a device root with the sample catalogue. Programs are scripts that record
// how they were started.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "EventLoop.h"
#include "SampleApplications.h"
#include "TaskManager.h"
#include "controllers/AppListConnection.h"
#include "controllers/AppMenuBuilder.h"
#include "controllers/BookMenuBuilder.h"
#include "controllers/ControllerFakes.h"
#include "data/AppDataManager.h"
#include "platform/sdk/clock.h"
#include "platform/sdk/device.h"
#include "platform/sdk/events.h"
#include "platform/sdk/lang.h"
#include "platform/sdk/tasks.h"
#include "platform/sdk/timers.h"
#include "support/JournalReader.h"
#include "support/TempDeviceRoot.h"

namespace marrowleaf::desktop {
namespace {

using platform::EventLoop;
using platform::ManualClock;

// Writes its arguments, NUL-separated, to /tmp/args-<its name>.
constexpr const char* kRecorder =
    "#!/bin/sh\n"
    "printf '%s\\0' \"$@\" > \"$MARROWLEAF_ROOT/tmp/args-$(basename \"$0\")\"\n";

std::vector<int> g_events;
int RecordEvent(int type, int par1, int) {
  g_events.push_back(type == EVT_USERDEFINED ? par1 : type);
  return 1;
}

std::shared_ptr<Item> MakeItem(int type, std::shared_ptr<Book> book, int count = 1) {
  auto item = std::make_shared<Item>();
  item->type_ = type;
  item->books_count_ = count;
  item->timestamp_ = 1700000000;
  if (book) item->books_.push_back(std::move(book));
  return item;
}

std::shared_ptr<Book> MakeBook(const std::string& path) {
  auto book = std::make_shared<Book>();
  book->id = 7;
  book->path = path;
  book->title = "A Title";
  return book;
}

class OpeningTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clock_ = std::make_shared<ManualClock>(0);
    platform::InstallClock(clock_);
    EventLoop::Get().Reset();
    EventLoop::Get().SetHandler(RecordEvent);
    g_events.clear();
    UseProfile("");
    std::string error;
    ASSERT_TRUE(tools::WriteSampleApplications(root_.HostRoot(), &error)) << error;
    root_.MakeFolder("/tmp");
    manager_.SetMaxApplications(5);
    manager_.Reload();
    controller_ = std::make_unique<Controller>();
    controller_->AttachFrame(&frame_);
    controller_->Connect({&data_, &covers_, &apps_, &wifi_});
  }
  void TearDown() override {
    for (int i = 0; i < 250 && platform::TaskManager::Get().Table().Count() > 0; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EventLoop::Get().Reset();
    platform::InstallClock(nullptr);
    ReloadDeviceProfile();
  }
  void UseProfile(const std::string& lines) {
    root_.Write("/.sim/device.cfg", "screen_width=600\nscreen_height=800\nwifi=1\nnetwork=1\n" + lines);
    ReloadDeviceProfile();
  }
  void InstallRecorder(const std::string& path) {
    root_.Write(path, kRecorder);
    chmod(root_.Host(path).c_str(), 0755);
  }
  int Send(int id, int param = 0, int param2 = 0) {
    MWCommand command(id, param, param2);
    return controller_->OnCommand(command);
  }
  void Tap(int type, std::shared_ptr<Book> book) {
    data_.items[{DEVICE_BLOCK, 0}] = MakeItem(type, std::move(book));
    Send(CMD_OPEN_BOOK_ITEM, DEVICE_BLOCK, 0);
  }
  std::vector<Json::Value> Journal(const std::string& event) const {
    return test::JournalReader(root_.HostRoot()).Events(event);
  }
  // The tasks started, as "path arg arg ...".
  std::vector<std::string> Tasks() const {
    std::vector<std::string> tasks;
    for (const Json::Value& task : Journal("task")) {
      std::string line = task["path"].asString();
      for (const Json::Value& argument : task["args"]) line += " " + argument.asString();
      tasks.push_back(line);
    }
    return tasks;
  }
  std::vector<std::string> MenuTexts(const PopupMenuItemDataList& menu) const {
    std::vector<std::string> texts;
    for (const auto& entry : menu.items) texts.push_back(entry->text);
    return texts;
  }
  static std::vector<std::string> Texts(const std::vector<std::string>& keys) {
    std::vector<std::string> texts;
    for (const std::string& key : keys) texts.push_back(GetLangText(key.c_str()));
    return texts;
  }
  std::vector<std::string> RowIds() {
    std::vector<std::string> ids;
    for (int i = 0; i < apps_.GetApplicationsCount(); ++i) ids.push_back(apps_.GetAppDataAt(i)->appId());
    return ids;
  }

  test::TempDeviceRoot root_;
  std::shared_ptr<ManualClock> clock_;
  TestFrame frame_;
  RecordingData data_;
  RecordingCovers covers_;
  RecordingWiFi wifi_;
  AppDataManager manager_;
  AppListConnection apps_{&manager_};
  std::unique_ptr<Controller> controller_;
};

TEST_F(OpeningTest, ABookOpensInItsReaderWithItsPathUnchanged) {
  InstallRecorder("/ebrmain/bin/reader.app");
  const std::string path = std::string("/mnt/ext1/Books/It's \"odd\" $(rm x) \xff.fb2");
  root_.Write(path, "book");
  Tap(ITEM_OPENED, MakeBook(path));
  const auto books = Journal("book");
  ASSERT_EQ(books.size(), 1u);
  EXPECT_EQ(books[0]["path"].asString().rfind("/mnt/ext1/Books/It's \"odd\" $(rm x) ", 0), 0u);
  for (int i = 0; i < 250 && !root_.Exists("/tmp/args-reader.app"); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(root_.Read("/tmp/args-reader.app"), path + std::string(1, '\0'));
  ASSERT_FALSE(Journal("speech").empty()) << "the screen reader hears what opens first";
  EXPECT_NE(Journal("speech")[0]["text"].asString().find("A Title"), std::string::npos);
}

// Whatever takes the screen, the screen reader hears of it before the program starts: books,
// a book that opens once it is downloaded, the library, the store's pages, the settings,
// applications and the book menu's programs.
TEST_F(OpeningTest, EveryStartIsAnnouncedBeforeTheProgramStarts) {
  auto book = MakeBook("/mnt/ext1/Books/b.fb2");
  root_.Write(book->path, "book");
  auto cloud = MakeBook("/cloud/Books/c.epub");
  cloud->cloud = true;
  auto offer = MakeBook("");
  offer->store_id = "8800123";
  offer->store_url = "https://store/book/1";
  data_.store_url = "https://store/weekly";
  Tap(ITEM_OPENED, book);
  controller_->OpenBookAction(cloud);
  Tap(ITEM_MORE, nullptr);
  Tap(ITEM_STORE_BOOK, offer);
  Send(CMD_OPEN_STORE_BLOCK);
  Send(CMD_OPEN_PARTNER_ACCOUNTS);
  for (int shortcut = 0; shortcut < 4; ++shortcut) Send(CMD_OPEN_APPLICATION, shortcut);
  auto sample = MakeBook("/mnt/ext1/Books/b.fb2");
  sample->is_sample = true;
  sample->store_id = "8800123";
  controller_->BuildBookMenu(MakeItem(ITEM_OPENED, sample));
  controller_->BookMenuAction(std::make_shared<PopupMenuItemData>(BookMenuBuilder::kBuy, 2, "Buy"));
  controller_->BuildBookMenu(MakeItem(ITEM_OPENED, sample));
  controller_->BookMenuAction(
      std::make_shared<PopupMenuItemData>(BookMenuBuilder::kBookInfo, 2, "Book Info"));

  int starts = 0;
  bool announced = false;
  for (const Json::Value& entry : test::JournalReader(root_.HostRoot()).All()) {
    const std::string event = entry["event"].asString();
    if (event == "speech")
      announced = true;
    // The cloud's downloader is a helper of the platform: its call stands for the start.
    const bool download = event == "dynamic-load" && entry["call"] == "cloud_download_and_open";
    if (event != "task" && event != "book" && !download)
      continue;
    ++starts;
    EXPECT_TRUE(announced) << "unannounced: " << entry.toStyledString();
    announced = false;
  }
  // The book, the download, the library, the offer, the store's page, the settings, four
  // shortcuts, the store's book card and the book's details.
  EXPECT_EQ(starts, 12);
}

TEST_F(OpeningTest, ABookWhoseFileVanishedIsReportedAndTheListAskedForAgain) {
  Tap(ITEM_ADDED, MakeBook("/mnt/ext1/Books/gone.fb2"));
  EXPECT_TRUE(Journal("book").empty());
  ASSERT_EQ(Journal("message").size(), 1u);
  EXPECT_EQ(data_.calls, (std::vector<std::string>{"request:12"}));
}

TEST_F(OpeningTest, EachKindOfBookGoesWhereItBelongs) {
  auto cloud = MakeBook("/cloud/Books/c.epub");
  cloud->cloud = true;
  struct Case {
    std::shared_ptr<Book> book;
    const char* call;
    int net_connects;
  };
  const Case cases[] = {
      {cloud, "cloud_download_and_open", 0},
      {MakeBook("/mnt/ext1/Digital Editions/p.acsm"), "fulfil", 1},
      {MakeBook("/mnt/ext1/Loans/l.lcpl"), "fulfil", 1},
      {MakeBook("/mnt/ext1/Partner/x.file"), "partner_download", 0},
  };
  for (const Case& c : cases) {
    root_.Write("/.sim/journal.jsonl", "");
    controller_->OpenBookAction(c.book);
    const auto calls = Journal("dynamic-load");
    ASSERT_FALSE(calls.empty()) << c.book->path;
    EXPECT_EQ(calls.back()["call"].asString(), c.call) << c.book->path;
    EXPECT_EQ(static_cast<int>(Journal("net").size()), c.net_connects) << c.book->path;
    EXPECT_TRUE(Journal("book").empty()) << c.book->path;
  }
}

TEST_F(OpeningTest, LicencesWaitForTheNetworkAndPlaceholdersArmOneRedrawTimer) {
  UseProfile("network=0\n");
  controller_->OpenBookAction(MakeBook("/mnt/ext1/Digital Editions/p.acsm"));
  EXPECT_TRUE(Journal("dynamic-load").empty()) << "no network: the licence is not queued";
  controller_->OpenBookAction(MakeBook("/mnt/ext1/Partner/x.file"));
  clock_->Advance(1000);
  controller_->OpenBookAction(MakeBook("/mnt/ext1/Partner/x.file"));
  EXPECT_EQ(Journal("dynamic-load").size(), 2u);
  clock_->Advance(500);
  EventLoop::Get().RunPending();
  // One timer, armed by the first tap: its end wakes the tiles through the cover path.
  EXPECT_EQ(std::count(g_events.begin(), g_events.end(), kCoverReadyNotification), 1);
}

TEST_F(OpeningTest, TheMoreTilesOpenTheLibraryAndAGroupOpensTheAddBooksState) {
  Tap(ITEM_MORE, nullptr);
  auto group = MakeItem(ITEM_ADDED_GROUP, MakeBook("/mnt/ext1/a.fb2"), 4);
  data_.items[{DEVICE_BLOCK, 1}] = group;
  Send(CMD_OPEN_BOOK_ITEM, DEVICE_BLOCK, 1);
  EXPECT_EQ(controller_->CurrentState(), STATE_ADD_BOOKS_VIEW);
  EXPECT_EQ(frame_.add_books_view.GetItem(), group);
  EXPECT_TRUE(frame_.add_books_view.IsVisible());
  EXPECT_FALSE(frame_.main_view.IsVisible());
  EXPECT_EQ(data_.calls, (std::vector<std::string>{"timestamp:1700000000"}))
      << "a group with unread books asks for them";
  // The grid's own more tile opens the library at that moment.
  auto more = MakeBook("");
  more->is_more = true;
  controller_->OpenBookAction(more);
  EXPECT_EQ(Tasks(), (std::vector<std::string>{"/ebrmain/bin/explorer.app -a",
                                               "/ebrmain/bin/explorer.app -a/1700000000"}));
}

TEST_F(OpeningTest, StoreTilesAndTheMoreButtonStartThePartnersPrograms) {
  InstallRecorder("/ebrmain/bin/knv_store_app");
  InstallRecorder("/ebrmain/bin/umbreit_store_app");
  auto offer = MakeBook("");
  offer->store_id = "8800123";
  offer->store_url = "https://store/book/1";
  data_.store_url = "https://store/weekly";
  struct Case {
    const char* profile;
    std::vector<std::string> tile;
    std::vector<std::string> more;
  };
  const Case cases[] = {
      {"partner=0\n",
       {"/ebrmain/bin/bookstore.app -recommendation weekly 8800123"},
       {"/ebrmain/bin/bookstore.app -more weekly https://store/weekly"}},
      {"partner=0\nstore_version=3\n",
       {"/ebrmain/bin/bookstore.app -recommendation weekly https://store/book/1"},
       {"/ebrmain/bin/bookstore.app -more weekly https://store/weekly"}},
      {"partner=14\n",
       {"/ebrmain/bin/umbreit_store_app -url=https://store/book/1"},
       {"/ebrmain/bin/bookstore.app -more weekly https://store/weekly"}},
      {"partner=15\n",
       {"/ebrmain/bin/knv_store_app -url=https://store/book/1"},
       {"/ebrmain/bin/bookstore.app -more weekly https://store/weekly"}},
      {"partner=17\n",
       {"/ebrmain/bin/bookstore.app -promotion https://store/book/1"},
       {"/ebrmain/bin/bookstore.app -promotion https://store/weekly"}},
      {"partner=21\npartner_store_activated=1\n",
       {"/ebrmain/bin/browser.app -store -nostartlogo -notoolbar -fullscreen https://store/book/1"},
       {"/ebrmain/bin/browser.app -store -nostartlogo -notoolbar -fullscreen https://store/weekly"}},
      {"partner=21\n", {}, {"/ebrmain/bin/browser.app -store -nostartlogo -notoolbar -fullscreen https://store/weekly"}},
  };
  for (const Case& c : cases) {
    UseProfile(c.profile);
    root_.Write("/.sim/journal.jsonl", "");
    Tap(ITEM_STORE_BOOK, offer);
    EXPECT_EQ(Tasks(), c.tile) << c.profile;
    root_.Write("/.sim/journal.jsonl", "");
    Send(CMD_OPEN_STORE_BLOCK);
    EXPECT_EQ(Tasks(), c.more) << c.profile;
  }
  // Partner 21 without activation asks the partner's client to activate instead.
  EXPECT_EQ(Journal("partner-store").size(), 0u);
  UseProfile("partner=21\n");
  Tap(ITEM_STORE_DETAILED, offer);
  EXPECT_EQ(Journal("partner-store").size(), 1u);
}

TEST_F(OpeningTest, StoreLinksWithoutANetworkShowTheHourglassAndTilesWithoutALinkDoNothing) {
  UseProfile("network=0\n");
  auto news = MakeBook("");
  news->store_url = "https://news/1";
  Tap(ITEM_STORE_NEWS, news);
  EXPECT_EQ(Tasks(), (std::vector<std::string>{
                         "/ebrmain/bin/browser.app -store -nostartlogo -simpletoolbar https://news/1"}));
  ASSERT_EQ(Journal("hourglass").size(), 1u);
  EXPECT_TRUE(controller_->SkipsStoreModeOnce());
  root_.Write("/.sim/journal.jsonl", "");
  Tap(ITEM_STORE_NEWS, MakeBook(""));
  Tap(ITEM_STORE_BOOK, MakeBook(""));
  EXPECT_TRUE(Tasks().empty());
  EXPECT_TRUE(Journal("store").empty());
}

TEST_F(OpeningTest, PartnerAccountsOpenTheSettingsPageOfThePartner) {
  InstallRecorder("/ebrmain/bin/settings.app");
  Send(CMD_OPEN_PARTNER_ACCOUNTS);
  UseProfile("partner=24\n");
  Send(CMD_OPEN_PARTNER_ACCOUNTS);
  const auto books = Journal("book");
  ASSERT_EQ(books.size(), 2u);
  EXPECT_EQ(books[0]["params"].asString(), "-o accounts");
  EXPECT_EQ(books[1]["params"].asString(), "-o accounts_partner");
}

TEST_F(OpeningTest, ShortcutsStartTheirApplicationOrOpenTheApplicationsScreen) {
  ASSERT_EQ(RowIds(), (std::vector<std::string>{"MW_Library", "MW_Bookstore", "MW_AudioBooks",
                                                "MW_Notes", "SYS_Apps"}));
  Send(CMD_OPEN_APPLICATION, 0);
  Send(CMD_OPEN_APPLICATION, 2);
  Send(CMD_OPEN_APPLICATION, 1);
  EXPECT_EQ(Tasks(), (std::vector<std::string>{
                         "/ebrmain/bin/explorer.app",
                         "/ebrmain/bin/audioplayer.app --library /mnt/ext1/Audiobooks",
                         "/ebrmain/bin/bookstore.app"}));
  EXPECT_EQ(Journal("store").size(), 1u) << "the store application opens through the store";
  Send(CMD_OPEN_APPLICATION, 4);
  EXPECT_EQ(controller_->CurrentState(), STATE_APP_LIST);
  EXPECT_EQ(controller_->StateStack(), std::deque<State>{STATE_MAIN_WINDOW});
  EXPECT_TRUE(frame_.applications_view.IsVisible());
  EXPECT_FALSE(frame_.main_view.IsVisible());
  // From the applications screen an application opens and the home screen comes back.
  MWCommand open(CMD_OPEN_APPLICATION);
  open.text = "MW_Calculator";
  controller_->OnCommand(open);
  EXPECT_EQ(Tasks().back(), "/ebrmain/bin/calc.app");
  // Opening an application or closing the screen brings the home screen back.
  for (bool close : {false, true}) {
    if (close) {
      Send(CMD_OPEN_APPLICATION, 4);
      Send(CMD_CLOSE);
    }
    EXPECT_EQ(controller_->CurrentState(), STATE_MAIN_WINDOW) << close;
    EXPECT_TRUE(controller_->StateStack().empty()) << close;
    EXPECT_FALSE(frame_.applications_view.IsVisible()) << close;
    EXPECT_TRUE(frame_.main_view.IsVisible()) << close;
  }
}

TEST_F(OpeningTest, TheGalleryComesToTheFrontWhenItRunsAndAMissingProgramIsReported) {
  root_.Write("/ebrmain/bin/gallery.app", "#!/bin/sh\nsleep 5\n");
  chmod(root_.Host("/ebrmain/bin/gallery.app").c_str(), 0755);
  const char* argv[] = {nullptr};
  const int gallery = OpenTask("/ebrmain/bin/gallery.app", 0, argv, 0);
  ASSERT_GT(gallery, 0);
  controller_->OpenApplicationAction(apps_.GetAppData("MW_Gallery"));
  EXPECT_EQ(Journal("activate").size(), 1u);
  EXPECT_EQ(Tasks().size(), 1u) << "no second start";
  CloseTask(gallery, 0, 1);
  root_.Write("/ebrmain/bin/calc.app", "");
  chmod(root_.Host("/ebrmain/bin/calc.app").c_str(), 0644);
  controller_->OpenApplicationAction(apps_.GetAppData("MW_Calculator"));
  ASSERT_EQ(Journal("message").size(), 1u);
  EXPECT_EQ(Journal("message")[0]["title"].asString(), "Calculator");
}

TEST_F(OpeningTest, ShortcutMenusOfferWhatTheirSlotAllows) {
  struct Case {
    int slot;
    std::vector<std::string> texts;
  };
  const Case cases[] = {
      {0, {"@ReplaceApplication", "@MoveRight", "@RemoveFromHomeScreen"}},
      {2, {"@ReplaceApplication", "@MoveLeft", "@MoveRight", "@RemoveFromHomeScreen"}},
      {4, {"@ReplaceApplication", "@MoveLeft", "@RemoveFromHomeScreen"}},
      {5, {"@AddToHomeScreen"}},
  };
  for (const Case& c : cases) {
    controller_->BuildAppMenu(c.slot);
    EXPECT_EQ(MenuTexts(*controller_->MenuItems()), Texts(c.texts)) << "slot " << c.slot;
    EXPECT_EQ(controller_->AppMenuSlot(), c.slot);
  }
  // The first entry's submenu lists the applications not on the row, right or left of it.
  const auto choices = controller_->MenuItems()->GetItem(0)->submenu;
  EXPECT_EQ(choices->placement, AppMenuBuilder::kSubmenuPlacement);
  ASSERT_FALSE(choices->IsEmpty());
  for (const auto& entry : choices->items) {
    EXPECT_EQ(entry->action, AppMenuBuilder::kActionSetApplication);
    EXPECT_NE(entry->data, "MW_Library") << "already on the row";
  }
}

TEST_F(OpeningTest, HoldingTheEmptyPlaceAfterTheRowMakesASlotForTheMenu) {
  apps_.RemoveApplication(3);
  WindowlessTile tile;
  MWCommand hold(CMD_HOLD_APPLICATION, -1, 4);
  hold.sender = &tile;
  controller_->OnCommand(hold);
  EXPECT_EQ(RowIds().back(), "SYS_Null");
  EXPECT_EQ(MenuTexts(*controller_->MenuItems()), Texts({"@AddToHomeScreen"}));
  EXPECT_EQ(controller_->CurrentState(), STATE_POPUP_MENU);
  EXPECT_TRUE(tile.highlighted);
  // Choosing an application fills that slot and closes the menu.
  auto entry = controller_->MenuItems()->GetItem(0)->submenu->GetItem(0);
  const std::string chosen = entry->data;
  controller_->HideState(STATE_POPUP_MENU);
  controller_->OpenState(STATE_MAIN_WINDOW, STATE_OPEN_RETURN);
  controller_->AppMenuAction(entry);
  EXPECT_FALSE(tile.highlighted);
  EXPECT_EQ(RowIds(), (std::vector<std::string>{"MW_Library", "MW_Bookstore", "MW_AudioBooks",
                                                "SYS_Apps", chosen}));
  EXPECT_EQ(controller_->AppMenuSlot(), -1);
}

TEST_F(OpeningTest, ShortcutMenuActionsEditTheRow) {
  struct Case {
    int slot;
    int action;
    std::vector<std::string> row;
  };
  const Case cases[] = {
      {1, AppMenuBuilder::kActionMoveLeft,
       {"MW_Bookstore", "MW_Library", "MW_AudioBooks", "MW_Notes", "SYS_Apps"}},
      {1, AppMenuBuilder::kActionMoveRight,
       {"MW_Bookstore", "MW_AudioBooks", "MW_Library", "MW_Notes", "SYS_Apps"}},
      {3, AppMenuBuilder::kActionRemove,
       {"MW_Bookstore", "MW_AudioBooks", "MW_Library", "SYS_Apps"}},
  };
  for (const Case& c : cases) {
    controller_->SetAppMenuSlot(c.slot);
    controller_->AppMenuAction(std::make_shared<PopupMenuItemData>(c.action, 2, "entry"));
    EXPECT_EQ(RowIds(), c.row) << c.action;
  }
  EXPECT_GE(frame_.main_view.Refreshes(), 3);
}

}  // namespace
}  // namespace marrowleaf::desktop
