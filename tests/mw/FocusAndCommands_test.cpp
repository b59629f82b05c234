// Key focus, focus movement and commands on their way up to the frame.
#include <gtest/gtest.h>

#include "EventLoop.h"
#include "MWTestSupport.h"
#include "platform/mw/MWDialog.h"
#include "platform/sdk/events.h"

namespace {

using marrowleaf::platform::EventLoop;
using marrowleaf::test::RecordingFrame;
using marrowleaf::test::RecordingWindow;
using marrowleaf::test::WindowTestRoot;

// A container that handles some commands itself.
class Stopper : public MWDialog {
 public:
  explicit Stopper(int stop_id = 0) : stop_id_(stop_id) {}
  int OnCommand(MWCommand& command) override {
    seen.push_back(command.id);
    if (command.id == stop_id_)
      return 1;
    return MWDialog::OnCommand(command);
  }
  std::vector<int> seen;

 private:
  int stop_id_;
};

class FocusAndCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    frame_.Create(0, 0, 600, 760, 1);
    dialog_ = frame_.MakeChild<Stopper>(0, 0, 600, 760, MWS_VISIBLE);
    // A 2 x 2 grid of focusable tiles.
    for (int row = 0; row < 2; ++row) {
      for (int col = 0; col < 2; ++col) {
        auto* tile = dialog_->MakeChild<RecordingWindow>(50 + col * 250, 50 + row * 300, 200, 250,
                                                         MWS_VISIBLE | MWS_TABSTOP);
        tile->SetName("tile_" + std::to_string(row * 2 + col));
        tiles_.push_back(tile);
      }
    }
  }

  WindowTestRoot root_;
  RecordingFrame frame_;
  Stopper* dialog_ = nullptr;
  std::vector<RecordingWindow*> tiles_;
};

TEST_F(FocusAndCommands, SetFocusTellsTheWindowWhichWindowHadTheFocusAndTheKey) {
  tiles_[0]->SetFocus();
  tiles_[1]->SetFocus(KEY_RIGHT);
  EXPECT_EQ(frame_.GetFocusedWindow(), tiles_[1]);
  EXPECT_TRUE(tiles_[1]->IsFocused());
  EXPECT_FALSE(tiles_[0]->IsFocused());
  ASSERT_EQ(tiles_[1]->focus_from.size(), 1u);
  EXPECT_EQ(tiles_[1]->focus_from[0], tiles_[0]);
  EXPECT_EQ(tiles_[1]->focus_keys[0], KEY_RIGHT);
}

TEST_F(FocusAndCommands, ArrowKeysMoveTheFocusToTheNearestWindowThatWay) {
  tiles_[0]->SetFocus();
  frame_.HandleEvent(EVT_KEYPRESS, KEY_RIGHT, 0);
  EXPECT_EQ(frame_.GetFocusedWindow(), tiles_[1]);
  frame_.HandleEvent(EVT_KEYPRESS, KEY_DOWN, 0);
  EXPECT_EQ(frame_.GetFocusedWindow(), tiles_[3]);
  frame_.HandleEvent(EVT_KEYPRESS, KEY_LEFT, 0);
  EXPECT_EQ(frame_.GetFocusedWindow(), tiles_[2]);
  // Nothing lies further down: the focus stays.
  frame_.HandleEvent(EVT_KEYPRESS, KEY_DOWN, 0);
  EXPECT_EQ(frame_.GetFocusedWindow(), tiles_[2]);
}

TEST_F(FocusAndCommands, HiddenWindowsAreSkippedByTheArrowKeys) {
  tiles_[1]->Hide();
  tiles_[0]->SetFocus();
  frame_.HandleEvent(EVT_KEYPRESS, KEY_RIGHT, 0);
  EXPECT_EQ(frame_.GetFocusedWindow(), tiles_[3]);
  tiles_[3]->Hide();
  tiles_[0]->SetFocus();
  frame_.HandleEvent(EVT_KEYPRESS, KEY_RIGHT, 0);
  EXPECT_EQ(frame_.GetFocusedWindow(), tiles_[0]);
}

TEST_F(FocusAndCommands, FindNearestWindowPrefersTheWindowUnderThePoint) {
  EXPECT_EQ(dialog_->FindNearestWindow(60, 60), tiles_[0]);
  EXPECT_EQ(dialog_->FindNearestWindow(590, 0), tiles_[1]);
  EXPECT_EQ(dialog_->FindNearestWindow(300, 755), tiles_[3]);
}

TEST_F(FocusAndCommands, DeletingTheFocusedWindowLeavesNoFocus) {
  tiles_[3]->SetFocus();
  delete tiles_[3];
  EXPECT_EQ(frame_.GetFocusedWindow(), nullptr);
  frame_.HandleEvent(EVT_KEYPRESS, KEY_LEFT, 0);  // must not touch the deleted window
  EXPECT_EQ(dialog_->Children().size(), 3u);
}

TEST_F(FocusAndCommands, CommandsClimbUntilAWindowHandlesThem) {
  tiles_[0]->DoCommand(42, false, 7, 8);
  ASSERT_EQ(frame_.commands.size(), 1u);
  EXPECT_EQ(frame_.commands[0].param, 7);
  EXPECT_EQ(frame_.commands[0].param2, 8);
  EXPECT_EQ(frame_.commands[0].param3, -1);
  EXPECT_EQ(dialog_->seen, std::vector<int>{42});
  auto* stopper = new Stopper(5);
  stopper->Create(dialog_, 0, 0, 10, 10, MWS_VISIBLE);
  auto* inner = stopper->MakeChild<RecordingWindow>(0, 0, 5, 5, MWS_VISIBLE);
  EXPECT_EQ(inner->DoCommand(5), 1);
  EXPECT_EQ(frame_.commands.size(), 1u);
  delete stopper;
}

TEST_F(FocusAndCommands, ChildCommandIdsAreSetByNameAtTheRightDepth) {
  auto* group = dialog_->MakeChild<MWDialog>(0, 0, 100, 100, MWS_VISIBLE);
  group->SetName("group");
  auto* exit = group->MakeChild<RecordingWindow>(0, 0, 10, 10, MWS_VISIBLE);
  exit->SetName("exit_button");
  EXPECT_FALSE(dialog_->SetChildCommandId("exit_button", 5));
  EXPECT_TRUE(dialog_->SetNonDirectChildCommandId("exit_button", 5));
  EXPECT_EQ(exit->GetCommandID(), 5);
  EXPECT_EQ(dialog_->GetNonDirectChildByName<RecordingWindow>("exit_button"), exit);
  EXPECT_EQ(dialog_->GetNonDirectChildByName<MWDialog>("exit_button"), nullptr);
  EXPECT_EQ(dialog_->GetChildByName("group"), group);
}

TEST_F(FocusAndCommands, APostedCommandArrivesAtTheNextLoopTurnAndOnlyWhileItsSenderLives) {
  tiles_[0]->DoCommand(77, true);
  tiles_[1]->DoCommand(78, true);
  EXPECT_TRUE(frame_.commands.empty());
  delete tiles_[1];
  EventLoop::Get().RunPending();
  ASSERT_EQ(frame_.commands.size(), 1u);
  EXPECT_EQ(frame_.commands[0].id, 77);
}

TEST_F(FocusAndCommands, ADialogsAnswerComesBackAsACommand) {
  marrowleaf::test::TempDeviceRoot root;
  frame_.ShowDialog(2, "Title", "Question?", "Yes", "No", nullptr, 500);
  EXPECT_TRUE(frame_.commands.empty());
  EventLoop::Get().RunPending();
  ASSERT_EQ(frame_.commands.size(), 1u);
  EXPECT_EQ(frame_.commands[0].id, 500);
  EXPECT_EQ(frame_.commands[0].param, 1);  // headless: the first button
}

}  // namespace
