// What one turn of the event loop costs: events posted from a worker thread and delivered on the
// loop thread (the road of every query and cover result), and named timers armed and fired.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>
#include <thread>

#include "EventLoop.h"
#include "platform/sdk/clock.h"
#include "platform/sdk/events.h"
#include "platform/sdk/timers.h"

namespace {

using marrowleaf::platform::EventLoop;

int64_t g_delivered = 0;
int64_t g_expected = 0;

// Runs on the loop thread only; the loop ends once the whole batch has arrived.
int CountEvent(int, int, int) {
  if (++g_delivered == g_expected) EventLoop::Get().RequestExit();
  return 1;
}

// A worker posts a batch of wake-ups while the loop sleeps in Run, as the query and cover threads
// do: the time covers the sleeping loop being woken and every event delivered.
void BM_EventsFromAWorkerThread(benchmark::State& state) {
  EventLoop& loop = EventLoop::Get();
  const int batch = static_cast<int>(state.range(0));
  for (auto _ : state) {
    loop.Reset();
    loop.SetHandler(CountEvent);
    g_delivered = 0;
    g_expected = batch;
    std::thread worker([batch] {
      for (int i = 0; i < batch; ++i) SendEvent(GetEventHandler(), EVT_USERDEFINED, 14322, 1);
    });
    loop.Run(nullptr);
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
