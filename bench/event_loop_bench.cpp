// What one turn of the event loop costs: events posted from a worker thread and delivered on the
// loop thread (the road of every query and cover result), and named timers armed and fired.
#include <benchmark/benchmark.h>

#include <atomic>
#include <string>
#include <vector>
#include <thread>

#include "EventLoop.h"
#include "platform/sdk/clock.h"
#include "platform/sdk/events.h"
#include "platform/sdk/timers.h"

namespace {

using marrowleaf::platform::EventLoop;

std::atomic<int64_t> g_delivered{0};

int CountEvent(int, int, int) {
  ++g_delivered;
  return 1;
}

void BM_EventsFromAWorkerThread(benchmark::State& state) {
  EventLoop& loop = EventLoop::Get();
  loop.Reset();
  loop.SetHandler(CountEvent);
  const int batch = static_cast<int>(state.range(0));
  for (auto _ : state) {
    g_delivered = 0;
    std::thread worker([batch] {
      for (int i = 0; i < batch; ++i) SendEvent(GetEventHandler(), EVT_USERDEFINED, 14322, 1);
    });
    while (g_delivered < batch) loop.RunPending();
    worker.join();
  }
  state.SetItemsProcessed(state.iterations() * batch);
  loop.Reset();
}
BENCHMARK(BM_EventsFromAWorkerThread)->Arg(1)->Arg(100)->Arg(10000);

void NoOp() {}

void BM_ArmAndFireNamedTimers(benchmark::State& state) {
  auto clock = std::make_shared<marrowleaf::platform::ManualClock>(0);
  marrowleaf::platform::InstallClock(clock);
  EventLoop& loop = EventLoop::Get();
  loop.Reset();
  const int timers = static_cast<int>(state.range(0));
  std::vector<std::string> names;
  for (int i = 0; i < timers; ++i) names.push_back("timer" + std::to_string(i));
  for (auto _ : state) {
    for (int i = 0; i < timers; ++i) SetHardTimer(names[static_cast<size_t>(i)].c_str(), NoOp, i);
    clock->Advance(timers);
    loop.RunPending();
  }
  state.SetItemsProcessed(state.iterations() * timers);
  loop.Reset();
  marrowleaf::platform::InstallClock(nullptr);
}
BENCHMARK(BM_ArmAndFireNamedTimers)->Arg(4)->Arg(64);

}  // namespace
