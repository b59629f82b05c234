// Two ways the frame lets go: a list takes over a press that became a drag, and a task the
// application started takes the whole screen until it ends.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "MWTestSupport.h"
#include "TaskManager.h"
#include "platform/mw/MWScrollView.h"
#include "platform/sdk/events.h"
#include "platform/sdk/tasks.h"
#include "platform/utils/SmartBitmap.h"
#include "support/JournalReader.h"

namespace {

using marrowleaf::platform::EventLoop;
using marrowleaf::platform::TaskManager;
using marrowleaf::test::JournalReader;
using marrowleaf::test::RecordingFrame;
using marrowleaf::test::RecordingWindow;
using marrowleaf::test::WindowTestRoot;

class DragOverButtons : public ::testing::Test {
 protected:
  void SetUp() override {
    frame_.Create(0, 0, 600, 760, 1);
    list_ = frame_.MakeChild<MWScrollView>(0, 0, 600, 400, MWS_VISIBLE);
    list_->SetContentHeight(1200);
    button_ = list_->MakeChild<RecordingWindow>(100, 100, 200, 100, MWS_VISIBLE);
    button_->SetCommandID(20);
  }
  void Drag(int from_y, int to_y) {
    frame_.HandleEvent(EVT_POINTERDOWN, 150, from_y);
    for (int step = 1; step <= 4; ++step)
      frame_.HandleEvent(EVT_POINTERMOVE, 150, from_y + (to_y - from_y) * step / 4);
    frame_.HandleEvent(EVT_POINTERUP, 150, to_y);
  }

  WindowTestRoot root_;
  RecordingFrame frame_;
  MWScrollView* list_ = nullptr;
  RecordingWindow* button_ = nullptr;
};

TEST_F(DragOverButtons, ADragThatStartsOnAButtonScrollsTheListAndRaisesNothing) {
  Drag(180, 60);
  EXPECT_EQ(list_->GetScrollPos(), 120);
  EXPECT_TRUE(frame_.commands.empty());
  EXPECT_FALSE(button_->HasExStyle(MWES_PRESSED));
  bool cancelled = false;
  for (const auto& event : button_->events) cancelled = cancelled || event.type == EVT_POINTERCANCEL;
  EXPECT_TRUE(cancelled) << "the button is told the press is gone";
  EXPECT_FALSE(list_->InA2()) << "the drag's fast updates end with the drag";
}

TEST_F(DragOverButtons, APressThatStaysPutIsStillATap) {
  Drag(150, 152);
  EXPECT_EQ(list_->GetScrollPos(), 0);
  ASSERT_EQ(frame_.commands.size(), 1u);
  EXPECT_EQ(frame_.commands[0].id, 20);
}

// While a task holds the screen the simulator shows that task's screen, and the application draws
// nothing; when the task ends the application's screen comes back whole.
class TaskScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    frame_.Create(0, 0, 600, 760, 1);
    window_ = frame_.MakeChild<RecordingWindow>(0, 0, 600, 760, MWS_VISIBLE);
    window_->fill = 0x000000;
    frame_.ReDraw();
    const std::string reader = "/ebrmain/bin/reader.app";
    root_.Root().Write(reader, "#!/bin/sh\nwhile [ ! -e \"$MARROWLEAF_ROOT/tmp/done\" ]; do sleep 0.02; done\n");
    chmod(root_.Root().Host(reader).c_str(), 0755);
    root_.Root().MakeFolder("/tmp");
  }
  void TearDown() override {
    root_.Root().Write("/tmp/done", "");
    TaskManager::Get().WaitUntilEnded(task_, 5000);
  }
  static int Pixel(int x, int y) { return SmartBitmap::FromScreen(x, y, 1, 1).PixelColor(0, 0); }

  WindowTestRoot root_;
  RecordingFrame frame_;
  RecordingWindow* window_ = nullptr;
  int task_ = -1;
};

TEST_F(TaskScreen, TheReaderShowsItsBookAndTheApplicationComesBackWhole) {
  ASSERT_EQ(Pixel(300, 700), 0x000000);
  task_ = OpenBook("/mnt/ext1/Books/Moby Dick.fb2", nullptr, 0);
  ASSERT_GT(task_, 0);
  frame_.HandleEvent(EVT_BACKGROUND, 0, 0);
  EXPECT_EQ(Pixel(300, 700), 0xffffff) << "the task's page replaced the application's";
  const int draws = window_->draws;
  window_->MarkAsChanged();
  frame_.HandleEvent(EVT_SHOW, 0, 0);
  EXPECT_EQ(window_->draws, draws) << "nothing is drawn over the task";

  root_.Root().Write("/tmp/done", "");
  ASSERT_TRUE(TaskManager::Get().WaitUntilEnded(task_, 5000));
  frame_.HandleEvent(EVT_FOREGROUND, 0, 0);
  EXPECT_GT(window_->draws, draws);
  EXPECT_EQ(Pixel(300, 700), 0x000000);
  int full_updates = 0;
  for (const auto& update : JournalReader(root_.Root().HostRoot()).Events("update"))
    full_updates += update["kind"].asString() == "full";
  EXPECT_EQ(full_updates, 2) << "one as the task's screen came, one as the application's came back";
}

}  // namespace
