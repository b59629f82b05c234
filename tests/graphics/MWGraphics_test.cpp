#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GraphicsFixture.h"
#include "ScreenState.h"
#include "platform/utils/BitmapUtils.h"
#include "support/JournalReader.h"

namespace marrowleaf::platform {
namespace {

using DrawingTest = GraphicsFixture;

TEST_F(DrawingTest, DrawsInWindowCoordinatesAndNeverOutsideTheWindow) {
  MWGraphics graphics(MWRect{50, 60, 40, 30});
  graphics.FillRect(MWRect{-10, -10, 1000, 1000}, MW_COLOR_BLACK);

  EXPECT_EQ(Pixel(50, 60), 0x000000);
  EXPECT_EQ(Pixel(89, 89), 0x000000);
  EXPECT_EQ(Pixel(49, 60), 0xFFFFFF);
  EXPECT_EQ(Pixel(90, 60), 0xFFFFFF);
  EXPECT_EQ(Pixel(50, 90), 0xFFFFFF);
  EXPECT_EQ(InkIn(MWRect{0, 0, 200, 300}), 40 * 30);
}

TEST_F(DrawingTest, KeepsToTheParentClipAndToANarrowerClipUntilReset) {
  MWGraphics graphics(MWRect{10, 10, 100, 100}, MWRect{0, 0, 60, 60});
  EXPECT_EQ(graphics.ClipRect(), (MWRect{0, 0, 50, 50}));
  graphics.SetClip(MWRect{5, 5, 10, 10});
  graphics.FillRect(MWRect{0, 0, 100, 100}, 0x123456);
  EXPECT_EQ(InkIn(MWRect{0, 0, 200, 300}), 100);
  EXPECT_EQ(Pixel(15, 15), 0x123456);

  graphics.ResetClip();
  graphics.FillRect(MWRect{0, 0, 100, 100}, 0x123456);
  EXPECT_EQ(InkIn(MWRect{0, 0, 200, 300}), 50 * 50);
}

TEST_F(DrawingTest, DrawsStraightLinesOnWholePixelsWithBothEnds) {
  MWGraphics graphics(MWRect{0, 0, 200, 300});
  graphics.DrawLine(10, 20, 19, 20, MW_COLOR_BLACK);
  graphics.DrawLine(30, 40, 30, 31, MW_COLOR_BLACK, 3);

  EXPECT_EQ(InkIn(MWRect{0, 15, 25, 10}), 10);
  EXPECT_EQ(Pixel(10, 20), 0);
  EXPECT_EQ(Pixel(19, 20), 0);
  EXPECT_EQ(InkIn(MWRect{25, 25, 10, 20}), 3 * 10);
  EXPECT_EQ(Pixel(29, 31), 0);
  EXPECT_EQ(Pixel(31, 40), 0);
}

TEST_F(DrawingTest, DashesAlternateDashAndGapFromTheFirstPoint) {
  MWGraphics graphics(MWRect{0, 0, 200, 300});
  graphics.DrawDashedLine(0, 5, 19, 5, 3, 2, MW_COLOR_BLACK);
  std::string pattern;
  for (int x = 0; x < 20; ++x) pattern += Pixel(x, 5) == 0 ? '#' : '.';
  EXPECT_EQ(pattern, "###..###..###..###..");

  graphics.DrawDashedFrame(MWRect{50, 50, 20, 10}, 2, 2, MW_COLOR_BLACK);
  EXPECT_EQ(Pixel(50, 50), 0);
  EXPECT_EQ(Pixel(52, 50), 0xFFFFFF);
  EXPECT_EQ(Pixel(69, 59), 0);
  EXPECT_EQ(InkIn(MWRect{51, 51, 18, 8}), 0);
  EXPECT_EQ(InkIn(MWRect{45, 45, 30, 5}) + InkIn(MWRect{45, 60, 30, 5}), 0);
}

TEST_F(DrawingTest, FramesLieInsideTheirRectangleWithTheDefaultThickness) {
  MWGraphics graphics(MWRect{0, 0, 200, 300});
  const int thickness = GetDefaultFrameCertifiedThickness(-2);
  ASSERT_GE(thickness, 2);
  graphics.DrawFrame(MWRect{20, 20, 60, 40}, -2, MW_COLOR_BLACK);

  const int perimeter = 60 * 40 - (60 - 2 * thickness) * (40 - 2 * thickness);
  EXPECT_EQ(InkIn(MWRect{0, 0, 200, 300}), perimeter);
  EXPECT_EQ(Pixel(20 + thickness - 1, 40), 0);
  EXPECT_EQ(Pixel(20 + thickness, 40), 0xFFFFFF);
}

TEST_F(DrawingTest, DefaultFrameThicknessesGrowWithTheScreensDpi) {
  const int thin = GetDefaultFrameCertifiedThickness(-1);
  const int normal = GetDefaultFrameCertifiedThickness(-2);
  const int thick = GetDefaultFrameCertifiedThickness(-3);
  EXPECT_LT(thin, normal);
  EXPECT_LT(normal, thick);
  EXPECT_EQ(GetDefaultFrameCertifiedThickness(7), 7);

  root_.Write("/.sim/device.cfg", "screen_width=200\nscreen_height=300\ndpi=300\n");
  ReloadDeviceProfile();
  EXPECT_GT(GetDefaultFrameCertifiedThickness(-3), thick);
}

TEST_F(DrawingTest, RoundedFramesAndFillsLeaveTheCornersAlone) {
  MWGraphics graphics(MWRect{0, 0, 200, 300});
  graphics.DrawFrame(MWRect{10, 10, 80, 40}, 3, MW_COLOR_BLACK, 12);
  EXPECT_EQ(Pixel(10, 10), 0xFFFFFF);
  EXPECT_EQ(Pixel(50, 11), 0);
  EXPECT_EQ(Pixel(11, 30), 0);
  EXPECT_EQ(Pixel(50, 30), 0xFFFFFF);

  graphics.FillRoundRect(MWRect{100, 100, 60, 20}, 10, MW_COLOR_BLACK);
  EXPECT_EQ(Pixel(100, 100), 0xFFFFFF);
  EXPECT_EQ(Pixel(130, 110), 0);
  EXPECT_EQ(Pixel(101, 110), 0);
}

TEST_F(DrawingTest, TransparentDimsByThePercentAndGradientFadesTowardsItsSide) {
  MWGraphics graphics(MWRect{0, 0, 200, 300});
  graphics.FillRect(MWRect{0, 0, 20, 10}, 0xFF0000);
  graphics.Transparent(0, 0, 10, 10, 50);
  graphics.Transparent(10, 0, 10, 10, 0);
  EXPECT_NEAR(Pixel(5, 5) >> 16, 0x80, 1);
  EXPECT_EQ(Pixel(5, 5) & 0xFFFF, 0);
  EXPECT_EQ(Pixel(15, 5), 0xFF0000);

  graphics.FillRect(MWRect{0, 100, 10, 100}, MW_COLOR_BLACK);
  graphics.TransparentGradient(MWRect{0, 100, 10, 100}, MW_GRADIENT_UP);
  EXPECT_GT(Pixel(5, 100) & 0xFF, 0xF0);
  EXPECT_LT(Pixel(5, 199) & 0xFF, 0x10);
  EXPECT_GT(Pixel(5, 130) & 0xFF, Pixel(5, 170) & 0xFF);

  graphics.FillRect(MWRect{20, 100, 10, 100}, MW_COLOR_BLACK);
  graphics.TransparentGradient(MWRect{20, 100, 10, 100}, MW_GRADIENT_DOWN);
  EXPECT_LT(Pixel(25, 100) & 0xFF, 0x10);
  EXPECT_GT(Pixel(25, 199) & 0xFF, 0xF0);
}

TEST_F(DrawingTest, BitmapsKeepWhatIsUnderTheirTransparentPixelsAndObeyTheClip) {
  SmartBitmap bitmap = SmartBitmap::Create(10, 10, 0x0000FF);
  // The right half transparent.
  for (int y = 0; y < 10; ++y)
    for (int x = 5; x < 10; ++x) bitmap.MutableData()[y * 10 + x] = 0;
  MWGraphics graphics(MWRect{20, 20, 100, 100});
  graphics.FillRect(MWRect{0, 0, 100, 100}, 0x00FF00);
  graphics.DrawBitmap(0, 0, bitmap);
  EXPECT_EQ(Pixel(22, 22), 0x0000FF);
  EXPECT_EQ(Pixel(27, 22), 0x00FF00);

  graphics.DrawBitmap(50, 50, bitmap, MWRect{50, 50, 2, 3});
  EXPECT_EQ(Pixel(71, 72), 0x0000FF);
  EXPECT_EQ(Pixel(72, 72), 0x00FF00);
  EXPECT_EQ(Pixel(71, 73), 0x00FF00);

  graphics.StretchBitmap(MWRect{80, 0, 20, 5}, SmartBitmap::Create(2, 2, 0xFF0000));
  EXPECT_EQ(Pixel(100, 20), 0xFF0000);
  EXPECT_EQ(Pixel(119, 24), 0xFF0000);
  EXPECT_EQ(Pixel(119, 25), 0x00FF00);
}

TEST_F(DrawingTest, ScreenBitmapsCopyTheFramebufferAndDrawBackUnchanged) {
  {
    MWGraphics graphics(MWRect{0, 0, 200, 300});
    graphics.FillRect(MWRect{10, 10, 5, 5}, 0x336699);
  }
  SmartBitmap shot = SmartBitmap::FromScreen(8, 8, 10, 10);
  ASSERT_EQ(shot.Width(), 10);
  EXPECT_EQ(shot.PixelColor(2, 2), 0x336699);
  EXPECT_EQ(shot.PixelColor(0, 0), 0xFFFFFF);
  EXPECT_TRUE(shot.IsOpaque());
  EXPECT_EQ(SmartBitmap::FromScreen(190, 290, 50, 50).Width(), 10);
  EXPECT_TRUE(SmartBitmap::FromScreen(300, 0, 5, 5).IsEmpty());

  Framebuffer::Get().Clear();
  MWGraphics(MWRect{0, 0, 200, 300}).DrawBitmap(100, 100, shot);
  EXPECT_EQ(Pixel(102, 102), 0x336699);
}

using TextTest = GraphicsFixture;

TEST_F(TextTest, DrawsInkInsideItsRectangleOnly) {
  MWGraphics graphics(MWRect{0, 0, 200, 300});
  graphics.SetTextColor(MW_COLOR_BLACK);
  const int height =
      graphics.DrawText(MWRect{20, 20, 60, 30}, "Hamlet and many more words", MW_TEXT_VCENTER);
  EXPECT_GT(height, 5);
  EXPECT_GT(InkIn(MWRect{20, 20, 60, 30}), 30);
  EXPECT_EQ(InkIn(MWRect{0, 0, 200, 20}) + InkIn(MWRect{80, 0, 120, 300}) +
                InkIn(MWRect{0, 50, 200, 250}) + InkIn(MWRect{0, 0, 20, 300}),
            0);
}

// Widths are remembered per font and text: each of these is measured after the plain one.
TEST_F(TextTest, WidthFollowsTheFontSizeStyleAndTheUpperCaseFlags) {
  MWFont small;
  small.size = 10;
  MWFont large = small;
  large.size = 20;
  const int small_width = MWGraphics::StringWidth(small, "Reading");
  EXPECT_GT(small_width, 20);
  EXPECT_NEAR(MWGraphics::StringWidth(large, "Reading"), 2 * small_width, small_width / 5);

  MWFont bold = small;
  bold.bold = true;
  EXPECT_GT(MWGraphics::StringWidth(bold, "Reading"), small_width);
  MWFont italic = small;
  italic.italic = true;
  italic.family = "DejaVu Sans Mono";
  EXPECT_NE(MWGraphics::StringWidth(italic, "Reading"), small_width);

  MWFont upper = small;
  upper.flags = MW_FONT_UPPERCASE;
  EXPECT_EQ(MWGraphics::StringWidth(upper, "Reading"), MWGraphics::StringWidth(small, "READING"));
  EXPECT_EQ(MWGraphics::StringWidth(small, ""), 0);
  // Invalid UTF-8 is repaired rather than refused.
  EXPECT_GT(MWGraphics::StringWidth(small, std::string("ab\xff\xfe"
                                                       "cd")),
            0);
}

TEST_F(TextTest, UsesPointsScaledByTheScreensDpi) {
  MWFont font;
  font.size = 12;
  EXPECT_EQ(font.PixelSize(), 24);  // 12 pt at 144 DPI
  const int width = MWGraphics::StringWidth(font, "Library");
  root_.Write("/.sim/device.cfg", "screen_width=200\nscreen_height=300\ndpi=288\n");
  ReloadDeviceProfile();
  EXPECT_EQ(font.PixelSize(), 48);
  EXPECT_NEAR(MWGraphics::StringWidth(font, "Library"), 2 * width, width / 5);
}

TEST_F(TextTest, EllipsisKeepsOneLineWithinTheWidthAndWrappingAddsLines) {
  MWFont font;
  font.size = 10;
  const std::string text = "The quick brown fox jumps over the lazy dog again";
  const int line = MWGraphics::LineHeight(font);
  EXPECT_EQ(MWGraphics::TextRectHeight(font, 10000, text), line);
  const int wrapped = MWGraphics::TextRectHeight(font, 80, text);
  EXPECT_GE(wrapped, 3 * line);
  EXPECT_EQ(MWGraphics::TextRectHeight(font, 80, ""), 0);

  MWGraphics graphics(MWRect{0, 0, 200, 300});
  graphics.SetFont(font);
  EXPECT_EQ(graphics.DrawText(MWRect{0, 0, 80, 200}, text, MW_TEXT_ELLIPSIS), line);
  const int two_lines =
      graphics.DrawText(MWRect{0, 100, 80, 2 * line + 2}, text, MW_TEXT_WRAP | MW_TEXT_ELLIPSIS);
  EXPECT_LE(two_lines, 2 * line + 2);
  EXPECT_GT(two_lines, line);
}

TEST_F(TextTest, AlignsHorizontallyInsideTheRectangle) {
  MWFont font;
  font.size = 10;
  MWGraphics graphics(MWRect{0, 0, 200, 300});
  graphics.SetFont(font);
  graphics.DrawText(MWRect{0, 0, 200, 30}, "Hi", MW_TEXT_RIGHT);
  graphics.DrawText(MWRect{0, 40, 200, 30}, "Hi", MW_TEXT_HCENTER | MW_TEXT_ELLIPSIS);
  EXPECT_EQ(InkIn(MWRect{0, 0, 150, 30}), 0);
  EXPECT_GT(InkIn(MWRect{150, 0, 50, 30}), 0);
  EXPECT_EQ(InkIn(MWRect{0, 40, 80, 30}) + InkIn(MWRect{120, 40, 80, 30}), 0);
  EXPECT_GT(InkIn(MWRect{80, 40, 40, 30}), 0);
}

// Records what reached the display back-end.
std::vector<std::pair<UpdateKind, MWRect>> g_shown;
void RecordingDisplay(UpdateKind kind, int x, int y, int width, int height) {
  g_shown.push_back({kind, MWRect{x, y, width, height}});
}

using ScreenUpdateTest = GraphicsFixture;

TEST_F(ScreenUpdateTest, FlushSendsMergedRectanglesToTheDisplayAndTheJournal) {
  g_shown.clear();
  SetScreenUpdateHook(RecordingDisplay);
  MWGraphics::MarkDirty(MWRect{10, 10, 50, 20});
  MWGraphics::MarkDirty(MWRect{10, 30, 50, 20});
  MWGraphics::MarkDirty(MWRect{150, 250, 10, 10}, MW_UPDATE_DYNAMIC);
  EXPECT_EQ(MWGraphics::CurrentUpdateType(), MW_UPDATE_PARTIAL);
  EXPECT_EQ(MWGraphics::FlushUpdates(), 2);
  EXPECT_EQ(MWGraphics::FlushUpdates(), 0);
  SetScreenUpdateHook(nullptr);

  ASSERT_EQ(g_shown.size(), 2u);
  EXPECT_EQ(g_shown[0].first, UpdateKind::kPartial);
  EXPECT_EQ(g_shown[0].second, (MWRect{10, 10, 50, 40}));
  EXPECT_EQ(g_shown[1].first, UpdateKind::kDynamic);
  const auto journal = test::JournalReader(root_.HostRoot()).Events("update");
  ASSERT_EQ(journal.size(), 2u);
  EXPECT_EQ(journal[0]["h"].asInt(), 40);
}

TEST_F(ScreenUpdateTest, FullUpdateMarkWinsOverEverythingPending) {
  MWGraphics::MarkDirty(MWRect{10, 10, 5, 5});
  MWGraphics::MarkFullUpdate();
  EXPECT_EQ(MWGraphics::CurrentUpdateType(), MW_UPDATE_FULL);
  EXPECT_EQ(MWGraphics::FlushUpdates(), 1);
  const auto journal = test::JournalReader(root_.HostRoot()).Events("update");
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_EQ(journal[0]["kind"].asString(), ScreenState::KindName(UpdateKind::kFull));
  EXPECT_EQ(journal[0]["w"].asInt(), 200);
}

}  // namespace
}  // namespace marrowleaf::platform
