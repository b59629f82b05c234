#include "EventLoop.h"
#include "LoopControl.h"
#include "ModalSession.h"
#include "ScriptPlayer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/sdk/clock.h"
#include "platform/sdk/events.h"
#include "platform/sdk/timers.h"

namespace marrowleaf::platform {
namespace {

std::vector<std::string> g_fired;
std::vector<int> g_events;

void FireA() { g_fired.push_back("a"); }
void FireB() { g_fired.push_back("b"); }
int RecordEvent(int type, int, int) {
  g_events.push_back(type);
  return 1;
}

class EventLoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clock_ = std::make_shared<ManualClock>(1000);
    InstallClock(clock_);
    EventLoop::Get().Reset();
    g_fired.clear();
    g_events.clear();
  }
  void TearDown() override {
    EventLoop::Get().Reset();
    InstallClock(nullptr);
  }
  std::shared_ptr<ManualClock> clock_;
};

TEST_F(EventLoopTest, TimersFireOnceInDeadlineOrderAndReArmingANameRestartsItsPeriod) {
  auto run_after = [&](int64_t ms) {
    clock_->Advance(ms);
    EventLoop::Get().RunPending();
  };
  SetHardTimer("a", FireA, 300);
  run_after(200);
  SetHardTimer("a", FireA, 300);  // replaces the first arming
  run_after(299);
  EXPECT_TRUE(g_fired.empty());
  EXPECT_EQ(QueryTimer(FireA), 1);
  run_after(1);
  run_after(1000);
  EXPECT_EQ(g_fired, std::vector<std::string>{"a"});
  EXPECT_EQ(QueryTimer(FireA), 0);

  g_fired.clear();
  SetHardTimer("late", FireB, 50);
  SetHardTimer("early", FireA, 10);
  SetHardTimer("cleared", FireA, 20);
  ClearTimerByName("cleared");
  int calls = 0;
  SetHardTimerEx("ctx", [](void* context) { ++*static_cast<int*>(context); }, &calls, 5);
  run_after(100);
  EXPECT_EQ(g_fired, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(calls, 1) << "the context comes back";
}

TEST_F(EventLoopTest, TheStartEventComesBeforeEventsOfTasksStartedDuringTheUpkeep) {
  // A task started before the loop runs has already sent the home screen to the background.
  SendEvent(nullptr, EVT_BACKGROUND, 0, 0);
  SendEvent(nullptr, EVT_FOREGROUND, 0, 0);
  EventLoop::Get().SetHandler(RecordEvent);
  PostStartEvents();
  EventLoop::Get().RunPending();
  // With the screen free again the new home screen also comes to the front and is drawn.
  EXPECT_EQ(g_events, (std::vector<int>{EVT_INIT, EVT_BACKGROUND, EVT_FOREGROUND, EVT_FOREGROUND,
                                        EVT_SHOW}));
}

TEST_F(EventLoopTest, EventsSentFromOtherThreadsAllArriveOnTheLoopThread) {
  EventLoop::Get().SetHandler(RecordEvent);
  constexpr int kThreads = 4;
  constexpr int kPerThread = 250;
  std::vector<std::thread> senders;
  for (int t = 0; t < kThreads; ++t) {
    senders.emplace_back([] {
      for (int i = 0; i < kPerThread; ++i) SendEvent(GetEventHandler(), EVT_USERDEFINED, i, 0);
    });
  }
  for (auto& sender : senders) sender.join();
  EventLoop::Get().RunPending();
  EXPECT_EQ(g_events.size(), static_cast<size_t>(kThreads * kPerThread));
  EXPECT_TRUE(EventLoop::Get().IsIdle());
}

TEST_F(EventLoopTest, RunWakesForAnEventFromAnotherThreadAndEndsOnExitRequest) {
  InstallClock(nullptr);  // real waiting: the loop must sleep and be woken
  static std::atomic<int> received{0};
  received = 0;
  EventLoop::Get().SetHandler([](int, int, int) {
    if (++received == 2) EventLoop::Get().RequestExit();
    return 1;
  });
  std::thread sender([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    SendEvent(GetEventHandler(), EVT_USERDEFINED, 1, 2);
    SendEvent(GetEventHandler(), EVT_USERDEFINED, 3, 4);
  });
  EventLoop::Get().Run(nullptr);
  sender.join();
  EXPECT_EQ(received.load(), 2);
}

TEST_F(EventLoopTest, PendingWorkOnOtherThreadsKeepsTheLoopBusy) {
  EXPECT_TRUE(EventLoop::Get().IsIdle());
  EventLoop::Get().AddPendingWork(1);
  EXPECT_FALSE(EventLoop::Get().IsIdle());
  EventLoop::Get().AddPendingWork(-1);
  EXPECT_TRUE(EventLoop::Get().IsIdle());
  SetHardTimer("a", FireA, 10);
  EXPECT_FALSE(EventLoop::Get().IsIdle());
}

// A session that ends on the first key press it is offered.
class KeySession : public ModalSession {
 public:
  bool Offer(int type, int, int) override { return ended_ = type == EVT_KEYPRESS; }
  bool Finished() override { return ended_; }
  void EndUnanswered() override { g_fired.push_back("unanswered"); ended_ = true; }

 private:
  bool ended_ = false;
};

int OpenSession(int type, int, int) {
  EventLoop& loop = EventLoop::Get();
  if (type == EVT_EXIT) {
    loop.RequestExit();
  } else if (type == 9001) {
    loop.ArmTimer("application", nullptr, [] { g_fired.push_back("application timer"); }, 0);
    loop.ArmSystemTimer("system", [] { g_fired.push_back("system timer"); }, 0);
    loop.Post(nullptr, 9002, 0, 0);
    KeySession session;
    g_fired.push_back(loop.RunModal(session) ? "ended" : "refused");
  } else {
    g_fired.push_back("event " + std::to_string(type));
  }
  return 1;
}

TEST_F(EventLoopTest, AModalSessionTakesItsInputAndKeepsTheApplicationsEventsAndTimersForLater) {
  EventLoop& loop = EventLoop::Get();
  loop.SetHandler(&OpenSession);
  OpenSession(9001, 0, 0);
  EXPECT_EQ(g_fired, (std::vector<std::string>{"refused"})) << "no session outside the loop";
  loop.Reset();
  g_fired.clear();
  loop.SetHandler(&OpenSession);

  std::string error;
  auto script = ScriptPlayer::Parse("event 9001\nkey ok\n", "test", &error);
  ASSERT_TRUE(script) << error;
  loop.Run(script.get());
  // The script went on inside the session, whose key press ended it; then the application got
  // what waited, in order, the key's release included.
  EXPECT_EQ(g_fired, (std::vector<std::string>{"system timer", "ended", "application timer",
                                               "event 9002",
                                               "event " + std::to_string(EVT_KEYRELEASE)}));
}

}  // namespace
}  // namespace marrowleaf::platform
