// Labels and buttons as they measure and draw themselves.
#include <gtest/gtest.h>

#include "MWTestSupport.h"
#include "platform/mw/MWBitmap.h"
#include "platform/mw/MWBitmapButton.h"
#include "platform/mw/MWLabel.h"
#include "platform/sdk/events.h"
#include "platform/utils/SmartBitmap.h"

namespace {

using marrowleaf::test::RecordingFrame;
using marrowleaf::test::WindowTestRoot;

int CountPixels(const SmartBitmap& bitmap, int color) {
  int count = 0;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) count += bitmap.PixelColor(x, y) == color ? 1 : 0;
  }
  return count;
}

class Controls : public ::testing::Test {
 protected:
  void SetUp() override { frame_.Create(0, 0, 600, 760, 1); }

  WindowTestRoot root_;
  RecordingFrame frame_;
};

TEST_F(Controls, ALabelKnowsWhetherItsTextFitsAndGrowsToItWithAutomaticHeight) {
  auto* label = frame_.MakeChild<MWLabel>(0, 0, 120, 20, MWS_VISIBLE);
  label->SetText("Short");
  EXPECT_TRUE(label->isFit());
  label->SetText("A much longer text than one narrow line can hold");
  EXPECT_FALSE(label->isFit());
  label->SetTextFlags(MW_TEXT_WRAP);
  label->SetAutoHeight(true);
  EXPECT_GT(label->Height(), 20);
  EXPECT_TRUE(label->isFit());
  const int tall = label->Height();
  label->SetText("Short");
  EXPECT_LT(label->Height(), tall);
  label->SetText("");
  EXPECT_EQ(label->Height(), 0);
}

TEST_F(Controls, ATextButtonIsDrawnInvertedWhilePressed) {
  auto* button = frame_.MakeChild<MWBitmapButton>(100, 100, 200, 60, MWS_VISIBLE);
  button->SetText("OK");
  button->SetCommandID(1);
  frame_.ReDraw();
  const int black_released = CountPixels(SmartBitmap::FromScreen(100, 100, 200, 60), 0x000000);
  frame_.HandleEvent(EVT_POINTERDOWN, 200, 130);
  const int black_pressed = CountPixels(SmartBitmap::FromScreen(100, 100, 200, 60), 0x000000);
  EXPECT_GT(black_pressed, 200 * 60 / 2);
  EXPECT_LT(black_released, 200 * 60 / 4);
  frame_.HandleEvent(EVT_POINTERUP, 200, 130);
  EXPECT_EQ(CountPixels(SmartBitmap::FromScreen(100, 100, 200, 60), 0x000000), black_released);
  EXPECT_EQ(frame_.commands.size(), 1u);
}

TEST_F(Controls, AButtonShowsThePictureOfItsState) {
  const SmartBitmap normal = SmartBitmap::Create(10, 10, 0x111111);
  const SmartBitmap focused = SmartBitmap::Create(10, 10, 0x222222);
  const SmartBitmap pressed = SmartBitmap::Create(10, 10, 0x333333);
  auto* button = frame_.MakeChild<MWBitmapButton>(0, 0, 40, 40, MWS_VISIBLE);
  button->SetBitmaps(normal, focused);
  button->SetCommandID(1);
  EXPECT_TRUE(button->CurrentBitmap().SharesPixelsWith(normal));
  button->SetFocus();
  EXPECT_TRUE(button->CurrentBitmap().SharesPixelsWith(focused));
  frame_.ReDraw();
  EXPECT_EQ(SmartBitmap::FromScreen(20, 20, 1, 1).PixelColor(0, 0), 0x222222);
  button->SetBitmaps(normal, focused, pressed);
  frame_.HandleEvent(EVT_POINTERDOWN, 20, 20);
  EXPECT_EQ(SmartBitmap::FromScreen(20, 20, 1, 1).PixelColor(0, 0), 0x333333);
}

TEST_F(Controls, AClippingButtonKeepsALargePictureInsideItself) {
  auto* button = frame_.MakeChild<MWBitmapButton>(100, 100, 20, 20, MWS_VISIBLE);
  button->SetBitmaps(SmartBitmap::Create(60, 60, 0x000000), SmartBitmap());
  button->SetFrame(false);
  button->SetClipping(true);
  frame_.ReDraw();
  EXPECT_EQ(SmartBitmap::FromScreen(110, 110, 1, 1).PixelColor(0, 0), 0x000000);
  EXPECT_EQ(SmartBitmap::FromScreen(95, 95, 1, 1).PixelColor(0, 0), 0xFFFFFF);
}

TEST_F(Controls, ABitmapIsCentredAndNothingIsDrawnForAnEmptyOne) {
  auto* bitmap = frame_.MakeChild<MWBitmap>(0, 0, 30, 30, MWS_VISIBLE);
  bitmap->SetBitmap(SmartBitmap::Create(10, 10, 0x000000));
  frame_.ReDraw();
  EXPECT_EQ(SmartBitmap::FromScreen(15, 15, 1, 1).PixelColor(0, 0), 0x000000);
  EXPECT_EQ(SmartBitmap::FromScreen(5, 5, 1, 1).PixelColor(0, 0), 0xFFFFFF);
  bitmap->SetBitmap(SmartBitmap());
  frame_.ReDraw();
  EXPECT_EQ(SmartBitmap::FromScreen(15, 15, 1, 1).PixelColor(0, 0), 0xFFFFFF);
}

}  // namespace
