// Pen and key events find their window, taps and long presses become commands.
#include <gtest/gtest.h>

#include "MWTestSupport.h"
#include "platform/mw/MWDialog.h"
#include "platform/sdk/events.h"

namespace {

using marrowleaf::test::RecordingFrame;
using marrowleaf::test::RecordingWindow;
using marrowleaf::test::WindowTestRoot;

class EventRouting : public ::testing::Test {
 protected:
  void SetUp() override {
    frame_.Create(0, 0, 600, 760, 1);
    panel_ = frame_.MakeChild<RecordingWindow>(100, 100, 300, 300, MWS_VISIBLE);
    button_ = panel_->MakeChild<RecordingWindow>(50, 50, 100, 60, MWS_VISIBLE);
    button_->SetCommandID(10);
    button_->SetHoldCommandID(11);
  }
  void Tap(int x, int y) {
    frame_.HandleEvent(EVT_POINTERDOWN, x, y);
    frame_.HandleEvent(EVT_POINTERUP, x, y);
  }

  WindowTestRoot root_;
  RecordingFrame frame_;
  RecordingWindow* panel_ = nullptr;
  RecordingWindow* button_ = nullptr;
};

TEST_F(EventRouting, ATapOnAButtonRaisesItsClickCommandAtTheFrame) {
  Tap(170, 170);  // button spans 150..250 x 150..210 on the screen
  ASSERT_EQ(frame_.commands.size(), 1u);
  EXPECT_EQ(frame_.commands[0].id, 10);
  EXPECT_EQ(frame_.commands[0].sender, button_);
  EXPECT_EQ(frame_.commands[0].x, 150);
  EXPECT_EQ(frame_.commands[0].y, 150);
  EXPECT_EQ(frame_.commands[0].width, 100);
  // The button handled the pen, so its parent never saw it.
  EXPECT_TRUE(panel_->events.empty());
}

TEST_F(EventRouting, ALongPressRaisesOnlyTheHoldCommand) {
  frame_.HandleEvent(EVT_POINTERDOWN, 170, 170);
  frame_.HandleEvent(EVT_POINTERLONG, 170, 170);
  frame_.HandleEvent(EVT_POINTERUP, 170, 170);
  ASSERT_EQ(frame_.commands.size(), 1u);
  EXPECT_EQ(frame_.commands[0].id, 11);
}

TEST_F(EventRouting, APenLiftedOutsideTheButtonRaisesNothingButStillReachesTheButton) {
  frame_.HandleEvent(EVT_POINTERDOWN, 170, 170);
  frame_.HandleEvent(EVT_POINTERMOVE, 390, 390);
  frame_.HandleEvent(EVT_POINTERUP, 390, 390);
  EXPECT_TRUE(frame_.commands.empty());
  ASSERT_EQ(button_->events.size(), 3u);
  EXPECT_EQ(button_->events[2].type, EVT_POINTERUP);
  EXPECT_FALSE(button_->HasExStyle(MWES_PRESSED));
}

TEST_F(EventRouting, UnhandledPenEventsClimbToTheParentWithScreenCoordinates) {
  Tap(120, 380);  // inside the panel, outside the button
  ASSERT_EQ(panel_->events.size(), 2u);
  EXPECT_EQ(panel_->events[0].type, EVT_POINTERDOWN);
  EXPECT_EQ(panel_->events[0].par1, 120);
  EXPECT_EQ(panel_->events[0].par2, 380);
  EXPECT_TRUE(button_->events.empty());
}

TEST_F(EventRouting, ThePointeredWindowReceivesThePenFirstEvenOutsideItself) {
  auto* menu = frame_.MakeChild<RecordingWindow>(400, 500, 100, 100, MWS_VISIBLE);
  frame_.SetPointeredWindow(menu);
  Tap(170, 170);
  EXPECT_EQ(menu->events.size(), 2u);
  EXPECT_TRUE(button_->events.empty());
  EXPECT_TRUE(frame_.commands.empty());
  frame_.SetPointeredWindow(nullptr);
  Tap(170, 170);
  EXPECT_EQ(frame_.commands.size(), 1u);
}

TEST_F(EventRouting, AShownModalWindowKeepsThePenFromTheWindowsBelow) {
  auto* dialog = frame_.MakeChild<RecordingWindow>(0, 600, 600, 100, MWS_VISIBLE | MWS_MODAL);
  Tap(170, 170);
  EXPECT_EQ(dialog->events.size(), 2u);
  EXPECT_TRUE(frame_.commands.empty());
  dialog->Hide();
  Tap(170, 170);
  EXPECT_EQ(frame_.commands.size(), 1u);
}

TEST_F(EventRouting, TheWindowUnderThePenDownKeepsThePenUntilItIsLifted) {
  frame_.HandleEvent(EVT_POINTERDOWN, 120, 380);
  frame_.HandleEvent(EVT_POINTERMOVE, 170, 170);
  frame_.HandleEvent(EVT_POINTERUP, 170, 170);
  EXPECT_EQ(panel_->events.size(), 3u);
  EXPECT_TRUE(button_->events.empty());
}

TEST_F(EventRouting, KeysGoToTheFocusedWindowAndOkWorksLikeATap) {
  button_->SetFocus();
  frame_.HandleEvent(EVT_KEYPRESS, KEY_OK, 0);
  frame_.HandleEvent(EVT_KEYRELEASE, KEY_OK, 0);
  ASSERT_EQ(frame_.commands.size(), 1u);
  EXPECT_EQ(frame_.commands[0].id, 10);
  frame_.HandleEvent(EVT_KEYPRESS, KEY_OK, 0);
  frame_.HandleEvent(EVT_KEYREPEAT, KEY_OK, 1);
  frame_.HandleEvent(EVT_KEYRELEASE, KEY_OK, 1);
  ASSERT_EQ(frame_.commands.size(), 2u);
  EXPECT_EQ(frame_.commands[1].id, 11);
  // A key the button doesn't use climbs to its parent.
  frame_.HandleEvent(EVT_KEYPRESS, KEY_MENU, 0);
  ASSERT_EQ(panel_->events.size(), 1u);
  EXPECT_EQ(panel_->events[0].par1, KEY_MENU);
}

TEST_F(EventRouting, OtherEventsReachTheEventHandlerOperations) {
  struct Frame : RecordingFrame {
    int onHomeRequest() override { return ++homes; }
    int homes = 0;
  } frame;
  frame.Create(0, 0, 600, 760, 1);
  EXPECT_EQ(frame.HandleEvent(EVT_HOME, 0, 0), 1);
  EXPECT_EQ(frame.homes, 1);
}

TEST_F(EventRouting, AWindowDeletedByItsOwnCommandIsNotTouchedAgain) {
  struct Closing : RecordingFrame {
    int OnCommand(MWCommand& command) override {
      delete command.sender;
      return RecordingFrame::OnCommand(command);
    }
  } frame;
  frame.Create(0, 0, 600, 760, 1);
  auto* button = new RecordingWindow();
  button->Create(&frame, 10, 10, 50, 50, MWS_VISIBLE);
  button->SetCommandID(3);
  frame.HandleEvent(EVT_POINTERDOWN, 20, 20);
  frame.HandleEvent(EVT_POINTERUP, 20, 20);
  EXPECT_EQ(frame.commands.size(), 1u);
  EXPECT_TRUE(frame.Children().empty());
  frame.HandleEvent(EVT_POINTERUP, 20, 20);
}

}  // namespace
