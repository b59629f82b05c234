// Speed of opening things on the sample device (default 6" 1072x1448 profile): a tap on a book tile
// through the controller to the task start, and the applications screen's build and first draw,
// cold (theme images not yet loaded), warm, and reopened unchanged.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "EventLoop.h"
#include "controllers/AppListConnection.h"
#include "controllers/Controller.h"
#include "data/AppDataManager.h"
#include "platform/mw/MWAppFrame.h"
#include "platform/mw/MWGraphics.h"
#include "platform/sdk/device.h"
#include "platform/sdk/files.h"
#include "platform/utils/SmartBitmap.h"
#include "views/ApplicationsList.h"
#include "views/ApplicationsView.h"
#include "views/ViewClasses.h"

extern char** environ;

namespace {

using marrowleaf::desktop::AddBooksScreen;
using marrowleaf::desktop::ApplicationsView;
using marrowleaf::desktop::Controller;
using marrowleaf::desktop::HomeData;
using marrowleaf::desktop::HomeFrame;
using marrowleaf::desktop::Item;
using marrowleaf::desktop::MainScreen;
using marrowleaf::desktop::MenuScreen;
using marrowleaf::desktop::Screen;

// The sample device, made once by the built generator beside this program.
void UseSampleDevice() {
  static std::string root;
  if (!root.empty())
    return;
  std::string pattern = (std::filesystem::temp_directory_path() / "marrowleaf-open-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr)
    std::abort();
  root = pattern;
  const std::string generator =
      (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "make-sample-device").string();
  std::string root_option = root;
  char* argv[] = {const_cast<char*>(generator.c_str()), const_cast<char*>("--root"),
                  root_option.data(), nullptr};
  pid_t pid = -1;
  int status = 0;
  if (posix_spawn(&pid, generator.c_str(), nullptr, nullptr, argv, environ) != 0 ||
      waitpid(pid, &status, 0) != pid || status != 0) {
    std::fprintf(stderr, "can't make the sample device with %s\n", generator.c_str());
    std::abort();
  }
  setenv("MARROWLEAF_ROOT", root.c_str(), 1);
  ReloadDeviceRoot();
  ReloadDeviceProfile();
}

class Frame : public MWAppFrame {
 public:
  Frame() : MWAppFrame(0, nullptr) { Create(0, 0, 1072, 1448 - 58, 1); }
};

// Opening the applications screen: made, built from the catalogue and drawn for the first time.
void BM_ApplicationsScreenFirstOpen(benchmark::State& state) {
  UseSampleDevice();
  marrowleaf::desktop::RegisterViewClasses();
  marrowleaf::desktop::AppDataManager::GetInstance();
  const bool cold = state.range(0) != 0;
  Frame frame;
  for (auto _ : state) {
    if (cold) {
      state.PauseTiming();
      SmartBitmap::ClearThemeCache();
      state.ResumeTiming();
    }
    auto view = std::make_unique<ApplicationsView>();
    view->Show();
    frame.ReDraw();
    state.PauseTiming();
    int items = 0;
    for (int group = 0; group < view->GetList()->GetGroupCount(); ++group)
      items += static_cast<int>(view->GetList()->GroupItems(group).size());
    state.counters["items"] = items;
    view.reset();
    MWGraphics::DiscardUpdates();
    state.ResumeTiming();
  }
  state.SetLabel(cold ? "cold theme images" : "warm theme images");
}
BENCHMARK(BM_ApplicationsScreenFirstOpen)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// Reopening it with the same groups: nothing is built, the screen is drawn again.
void BM_ApplicationsScreenReopen(benchmark::State& state) {
  UseSampleDevice();
  marrowleaf::desktop::RegisterViewClasses();
  Frame frame;
  ApplicationsView view;
  view.Show();
  frame.ReDraw();
  for (auto _ : state) {
    state.PauseTiming();
    view.Hide();
    frame.ReDraw();
    state.ResumeTiming();
    view.Show();
    frame.ReDraw();
  }
  if (view.Rebuilds() != 1)
    state.SkipWithError("the list was built again");
}
BENCHMARK(BM_ApplicationsScreenReopen)->Unit(benchmark::kMillisecond);

// Screens that only remember being shown: the tap's path ends at the task start.
class PlainScreen : public MainScreen, public MenuScreen, public AddBooksScreen {
 public:
  void Show() override {}
  void Hide() override {}
  bool IsVisible() const override { return false; }
  void MarkAsChanged() override {}
  void SetFocus() override {}
  void Refresh() override {}
  void ResetToFirstPage() override {}
  int GetBookSlotCount() const override { return 12; }
  bool UpdateStoreWidgetMode(bool) override { return false; }
  void SetItems(std::shared_ptr<marrowleaf::desktop::PopupMenuItemDataList>) override {}
  void SetParentMenu(std::shared_ptr<MenuScreen>) override {}
  void SetItem(std::shared_ptr<Item>) override {}
  std::shared_ptr<Item> GetItem() const override { return nullptr; }
};

class PlainFrame : public HomeFrame {
 public:
  MainScreen& MainView() override { return screen_; }
  AddBooksScreen& AddBooksView() override { return screen_; }
  Screen& ApplicationsView() override { return screen_; }
  Screen& WiFiDialog() override { return screen_; }
  std::shared_ptr<MenuScreen> GetPopupMenu(int) override { return nullptr; }
  void SetPointeredWindow(MenuScreen*) override {}
  int CreateFrameWindow() override { return 0; }
  int RunLoop() override { return 0; }
  void MarkFrameChanged() override {}
  void ReDrawFrame() override {}
  void SetColorFlag(bool) override {}

 private:
  PlainScreen screen_;
};

class OneBook : public HomeData {
 public:
  explicit OneBook(std::shared_ptr<Item> item) : item_(std::move(item)) {}
  void SaveToCache() override {}
  bool applyBookItems() override { return false; }
  void applyGroupBooks() override {}
  void init() override {}
  bool getNotViewedNotificationsCount(int&) override { return false; }
  void updateStorageIds() override {}
  void requestBookItems(int) override {}
  void requestNotViewedNotificationsCount() override {}
  void requestBooksByTimestamp(int) override {}
  std::shared_ptr<Item> getItem(int, int) override { return item_; }
  int getCurrentStoreBlock() override { return 1000; }
  std::string getStoreBlockName(int) override { return ""; }
  std::string getStoreBlockUrl(int) override { return ""; }

 private:
  std::shared_ptr<Item> item_;
};

// A tap on an opened book: command 10 through the controller to the reader's start. The reader is
// made unstartable, so the figure is the path up to the start request, without the child process
// (the start then fails and its message is journaled, which costs about as much as a start's
// bookkeeping).
void BM_TapToTaskStart(benchmark::State& state) {
  UseSampleDevice();
  auto book = std::make_shared<marrowleaf::desktop::Book>();
  book->path = "/mnt/ext1/Books/Classics/Moby Dick.fb2";
  book->title = "Moby Dick";
  auto item = std::make_shared<Item>();
  item->type_ = marrowleaf::desktop::ITEM_OPENED;
  item->books_.push_back(book);
  WriteFileAtomically("/ebrmain/config/readers.cfg", "fb2=/ebrmain/bin/no-such-reader.app\n");
  PlainFrame frame;
  OneBook data(item);
  marrowleaf::desktop::AppListConnection apps;
  Controller controller;
  controller.AttachFrame(&frame);
  controller.Connect({&data, nullptr, &apps, nullptr});
  for (auto _ : state) {
    MWCommand tap(marrowleaf::desktop::CMD_OPEN_BOOK_ITEM, 1, 0);
    controller.OnCommand(tap);
  }
  marrowleaf::platform::EventLoop::Get().Reset();
}
BENCHMARK(BM_TapToTaskStart)->Unit(benchmark::kMicrosecond);

}  // namespace
