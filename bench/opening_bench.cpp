// Speed of opening things on the sample device (default 6" 1072x1448 profile): a tap on a book tile
// through the controller to the task start, and the applications screen's build and first draw,
// cold (theme images not yet loaded), warm, and reopened unchanged.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "BenchSampleDevice.h"
#include "EventLoop.h"
#include "controllers/AppListConnection.h"
#include "controllers/Controller.h"
#include "controllers/ControllerFakes.h"
#include "data/AppDataManager.h"
#include "platform/mw/MWAppFrame.h"
#include "platform/mw/MWGraphics.h"
#include "platform/sdk/device.h"
#include "platform/sdk/files.h"
#include "platform/utils/SmartBitmap.h"
#include "views/ApplicationsList.h"
#include "views/ApplicationsView.h"
#include "views/ViewClasses.h"

namespace {

using marrowleaf::desktop::ApplicationsView;
using marrowleaf::desktop::Controller;
using marrowleaf::desktop::Item;

using marrowleaf::bench::UseSampleDevice;

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
  marrowleaf::desktop::TestFrame frame;
  marrowleaf::desktop::RecordingData data;
  data.items[{marrowleaf::desktop::DEVICE_BLOCK, 0}] = item;
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
