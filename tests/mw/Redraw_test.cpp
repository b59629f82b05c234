// The redraw pass draws only what changed, through the graphics, and sends it to the screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MWTestSupport.h"
#include "platform/mw/MWLabel.h"
#include "platform/utils/SmartBitmap.h"
#include "support/JournalReader.h"

namespace {

using marrowleaf::test::RecordingFrame;
using marrowleaf::test::RecordingWindow;
using marrowleaf::test::WindowTestRoot;

int ScreenPixel(int x, int y) {
  return SmartBitmap::FromScreen(x, y, 1, 1).PixelColor(0, 0);
}

class Redraw : public ::testing::Test {
 protected:
  void SetUp() override {
    frame_.Create(0, 0, 600, 760, 1);
    left_ = frame_.MakeChild<RecordingWindow>(0, 0, 300, 300, MWS_VISIBLE);
    right_ = frame_.MakeChild<RecordingWindow>(300, 0, 300, 300, MWS_VISIBLE);
    left_->fill = 0x000000;
    right_->fill = 0x808080;
    frame_.ReDraw();
  }

  WindowTestRoot root_;
  RecordingFrame frame_;
  RecordingWindow* left_ = nullptr;
  RecordingWindow* right_ = nullptr;
};

// ... and reach the screen as one update of their rectangle.
TEST_F(Redraw, OnlyChangedWindowsAreDrawnAgain) {
  EXPECT_EQ(left_->draws, 1);
  EXPECT_EQ(right_->draws, 1);
  EXPECT_EQ(ScreenPixel(10, 10), 0x000000);
  EXPECT_EQ(ScreenPixel(310, 10), 0x808080);
  EXPECT_EQ(ScreenPixel(10, 400), 0xFFFFFF);
  marrowleaf::test::JournalReader journal(root_.Root().HostRoot());
  const size_t before = journal.Events("update").size();
  right_->fill = 0x404040;
  right_->MarkAsChanged();
  frame_.ReDraw();
  EXPECT_EQ(left_->draws, 1);
  EXPECT_EQ(right_->draws, 2);
  EXPECT_EQ(ScreenPixel(310, 10), 0x404040);
  const auto updates = journal.Events("update");
  ASSERT_EQ(updates.size(), before + 1);
  EXPECT_EQ((std::vector<int>{updates.back()["x"].asInt(), updates.back()["y"].asInt(),
                              updates.back()["w"].asInt(), updates.back()["h"].asInt()}),
            (std::vector<int>{300, 0, 300, 300}));
  frame_.ReDraw();
  EXPECT_EQ(right_->draws, 2);
  EXPECT_EQ(journal.Events("update").size(), before + 1);
}

TEST_F(Redraw, AHiddenWindowUncoversItsParent) {
  right_->Hide();
  frame_.ReDraw();
  EXPECT_EQ(ScreenPixel(310, 10), 0xFFFFFF);
  EXPECT_EQ(ScreenPixel(10, 10), 0x000000);
}

TEST_F(Redraw, AWindowWithoutBackgroundIsRedrawnOverItsParentsBackground) {
  auto* label = left_->MakeChild<MWLabel>(10, 10, 200, 40, MWS_VISIBLE);
  left_->fill = -1;
  left_->SetBackgroundColor(0xFFFFFF);
  label->SetTextColor(0x000000);
  label->SetText("WWWWWWWWWW");
  frame_.ReDraw();
  const SmartBitmap before = SmartBitmap::FromScreen(10, 10, 200, 40);
  bool any_dark = false;
  for (int y = 0; y < 40 && !any_dark; ++y) {
    for (int x = 0; x < 200 && !any_dark; ++x) any_dark = before.PixelColor(x, y) == 0x000000;
  }
  EXPECT_TRUE(any_dark);
  label->SetText("");
  frame_.ReDraw();
  const SmartBitmap after = SmartBitmap::FromScreen(10, 10, 200, 40);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 200; ++x) ASSERT_EQ(after.PixelColor(x, y), 0xFFFFFF) << x << "," << y;
  }
}

TEST_F(Redraw, AWindowDrawnAgainUnderAnotherStaysUnderIt) {
  // An overlay over the right half of both windows (a menu over tiles).
  auto* overlay = frame_.MakeChild<RecordingWindow>(150, 100, 300, 100, MWS_VISIBLE);
  overlay->fill = 0x202020;
  frame_.ReDraw();
  ASSERT_EQ(ScreenPixel(200, 150), 0x202020);
  const int overlay_draws = overlay->draws;

  // A window with a background of its own is drawn without its parent.
  left_->fill = -1;
  left_->SetBackgroundColor(0xC0C0C0);
  frame_.ReDraw();
  EXPECT_EQ(ScreenPixel(10, 10), 0xC0C0C0) << "the window is drawn";
  EXPECT_EQ(ScreenPixel(200, 150), 0x202020) << "and the overlay over it again";
  EXPECT_EQ(ScreenPixel(400, 150), 0x202020);
  EXPECT_EQ(overlay->draws, overlay_draws + 1);

  // Two windows under it change in one pass (tiles whose covers arrived under a menu): it is
  // drawn again over each of them.
  left_->SetBackgroundColor(0xA0A0A0);
  right_->fill = -1;
  right_->SetBackgroundColor(0xB0B0B0);
  left_->MarkAsChanged();
  right_->MarkAsChanged();
  frame_.ReDraw();
  EXPECT_EQ(ScreenPixel(10, 10), 0xA0A0A0);
  EXPECT_EQ(ScreenPixel(590, 10), 0xB0B0B0);
  EXPECT_EQ(ScreenPixel(200, 150), 0x202020);
  EXPECT_EQ(ScreenPixel(400, 150), 0x202020) << "over the second window too";

  // A window beside the overlay draws nothing of it.
  auto* beside = frame_.MakeChild<RecordingWindow>(0, 400, 100, 100, MWS_VISIBLE);
  beside->SetBackgroundColor(0x808080);
  frame_.ReDraw();
  const int draws = overlay->draws;
  beside->MarkAsChanged();
  frame_.ReDraw();
  EXPECT_EQ(overlay->draws, draws);
}

}  // namespace
