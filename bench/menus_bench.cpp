// Speed of the context menus and of deleting books:
//  - HoldToMenu: a long press on a book tile of the home screen (sample device, default profile)
//    through the controller to the menu on screen: the menu built from the book, the screen's
//    picture taken, the menu laid out and drawn, the screen updates sent.
//  - CloseTwoLevelMenu: a book's menu with its "Open with" submenu open, closed at once by Home,
//    and the home screen drawn again where the menus were.
//  - DeleteGroup/N: the files and library rows of a group of N books deleted (the delete
//    confirmation's work), on a library of that group alone.
//   <build>/bin/menus_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "BenchSampleDevice.h"
#include "controllers/AppListConnection.h"
#include "controllers/Controller.h"
#include "controllers/CoverConnection.h"
#include "controllers/DataConnection.h"
#include "controllers/MainFrame.h"
#include "data/CoverCacheManager.h"
#include "data/DBManager.h"
#include "data/DataManager.h"
#include "platform/mw/MWGraphics.h"
#include "platform/sdk/files.h"
#include "platform/sdk/screen.h"
#include "views/BookItem.h"
#include "views/popup_menu/PopupMenuItemData.h"

namespace {

using marrowleaf::desktop::BookItem;
using marrowleaf::desktop::Controller;
using marrowleaf::desktop::MainFrame;

// The real home screen on the sample device: its frame, the controller, the data manager's list
// applied and the first screen drawn.
class Home {
 public:
  Home()
      : frame_(0, nullptr),
        data_(marrowleaf::desktop::DataManager::Instance()),
        covers_(&marrowleaf::desktop::CoverCacheManager::Instance()) {
    frame_.CreateFrameWindow();
    Controller& controller = Controller::Instance();
    controller.AttachFrame(&frame_);
    controller.Connect({&data_, &covers_, &apps_, nullptr});
    Send(marrowleaf::desktop::CMD_INIT);
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!marrowleaf::desktop::DataManager::Instance()->applyBookItems() &&
           std::chrono::steady_clock::now() < give_up)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    frame_.GetMainView().Refresh();
    frame_.ReDraw();
  }

  int Send(int id, int param = 0, int param2 = 0, MWWindow* sender = nullptr) {
    MWCommand command(id, param, param2);
    if (sender != nullptr) {
      const MWRect rect = sender->ScreenRect();
      command.sender = sender;
      command.x = rect.x;
      command.y = rect.y;
      command.width = rect.w;
      command.height = rect.h;
    }
    return Controller::Instance().OnCommand(command);
  }
  // A long press on the tile at index of the first page.
  void Hold(int index) {
    BookItem* tile =
        frame_.GetMainView().GetNonDirectChildByName<BookItem>("bookitem_" + std::to_string(index + 1));
    Send(marrowleaf::desktop::CMD_HOLD_BOOK_ITEM, marrowleaf::desktop::DEVICE_BLOCK, index, tile);
  }
  MainFrame& Frame() { return frame_; }

 private:
  MainFrame frame_;
  marrowleaf::desktop::DataConnection data_;
  marrowleaf::desktop::CoverConnection covers_;
  marrowleaf::desktop::AppListConnection apps_;
};

Home& TheHome() {
  marrowleaf::bench::UseSampleDevice();
  static Home* home = new Home();
  return *home;
}

void BM_HoldToMenu(benchmark::State& state) {
  Home& home = TheHome();
  for (auto _ : state) {
    home.Hold(1);
    home.Frame().ReDraw();
    state.PauseTiming();
    if (Controller::Instance().MenuDepth() != 0)
      state.SkipWithError("no menu opened");
    home.Send(marrowleaf::desktop::CMD_CLOSE);
    home.Frame().ReDraw();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_HoldToMenu)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

void BM_CloseTwoLevelMenu(benchmark::State& state) {
  Home& home = TheHome();
  for (auto _ : state) {
    state.PauseTiming();
    home.Hold(1);
    const auto& menu = *Controller::Instance().MenuItems();
    int open_with = -1;
    for (int i = 0; i < menu.GetCount(); ++i) {
      if (menu.GetItem(i)->submenu && !menu.GetItem(i)->submenu->IsEmpty())
        open_with = i;
    }
    home.Send(marrowleaf::desktop::CMD_OPEN_ITEM, open_with, open_with);
    home.Frame().ReDraw();
    if (Controller::Instance().MenuDepth() != 1)
      state.SkipWithError("no submenu opened");
    state.ResumeTiming();
    home.Send(marrowleaf::desktop::CMD_HOME);
    home.Frame().ReDraw();
  }
}
BENCHMARK(BM_CloseTwoLevelMenu)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// The sample's library emptied of books and filled with one group of `count` books, each with its
// file on the internal storage.
void MakeGroup(int count) {
  const std::string db_path = "/mnt/ext1/system/explorer-3/explorer-3.db";
  std::stringstream sql;
  sql << "BEGIN;DELETE FROM files;DELETE FROM books_settings;DELETE FROM books_impl;"
         "INSERT OR IGNORE INTO folders (name) VALUES ('/mnt/ext1/Group');";
  for (int i = 1; i <= count; ++i) {
    const std::string name = "Book " + std::to_string(i);
    sql << "INSERT INTO books_impl (id, title, ts_added) VALUES (" << i << ", '" << name
        << "', 5000);INSERT INTO files (book_id, folder_id, storageid, filename, ext) VALUES (" << i
        << ", (SELECT id FROM folders WHERE name = '/mnt/ext1/Group'), "
           "(SELECT id FROM storages WHERE path = '/mnt/ext1'), '"
        << name << ".fb2', 'fb2');";
    WriteFileAtomically("/mnt/ext1/Group/" + name + ".fb2", "book");
  }
  sql << "COMMIT;";
  sqlite3* db = nullptr;
  sqlite3_open(HostPathForChange(db_path).c_str(), &db);
  sqlite3_exec(db, sql.str().c_str(), nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

void BM_DeleteGroup(benchmark::State& state) {
  marrowleaf::bench::UseSampleDevice();
  const int count = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    MakeGroup(count);
    auto db = std::make_unique<marrowleaf::desktop::DBManager>();
    db->init();
    auto data = std::make_unique<marrowleaf::desktop::DataManager>(db.get(), [](int) {});
    auto group = std::make_shared<marrowleaf::desktop::Item>();
    group->type_ = marrowleaf::desktop::ITEM_ADDED_GROUP;
    group->timestamp_ = 5000;
    group->books_count_ = count;
    state.ResumeTiming();
    ShowHourglassForce();
    const int kept = data->deleteGroupFiles(group);
    state.PauseTiming();
    if (kept != 0 || pk_access("/mnt/ext1/Group/Book 1.fb2", 0) == 0)
      state.SkipWithError("the group was not deleted");
    data.reset();
    db.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DeleteGroup)->Arg(100)->Arg(1000)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
