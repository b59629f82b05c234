#include <gtest/gtest.h>

#include <string>

#include "GraphicsFixture.h"
#include "ImageFiles.h"
#include "JpegCodec.h"
#include "platform/utils/BitmapUtils.h"
#include "platform/utils/CoverLoader.h"

namespace marrowleaf::platform {
namespace {

using BitmapFilesTest = GraphicsFixture;

TEST_F(BitmapFilesTest, PngRoundTripKeepsColourAlphaAndSharesNothingWithTheOriginal) {
  SmartBitmap original = SmartBitmap::Create(7, 5, 0x3366CC);
  original.MutableData()[0] = 0x80400000u;  // red at half alpha, premultiplied
  root_.MakeFolder("/mnt/ext1/covers");
  ASSERT_TRUE(original.SavePNG("/mnt/ext1/covers/a.png"));
  EXPECT_FALSE(root_.Exists("/mnt/ext1/covers/a.png.tmp"));

  SmartBitmap color = SmartBitmap::LoadPNGToFormat("/mnt/ext1/covers/a.png", SMART_BITMAP_COLOR);
  ASSERT_EQ(color.Width(), 7);
  ASSERT_EQ(color.Height(), 5);
  EXPECT_EQ(color.PixelColor(3, 3), 0x3366CC);
  EXPECT_EQ(color.PixelAlpha(0, 0), 0x80);
  EXPECT_NEAR(color.PixelColor(0, 0) >> 16, 0x80, 1);
  EXPECT_FALSE(color.SharesPixelsWith(original));

  SmartBitmap grey = SmartBitmap::LoadPNGToFormat("/mnt/ext1/covers/a.png", SMART_BITMAP_GREY);
  const int level = MWColorLuminance(0x3366CC);
  EXPECT_EQ(grey.PixelColor(3, 3), (level << 16) | (level << 8) | level);
}

TEST_F(BitmapFilesTest, BrokenMissingAndOversizedImagesGiveEmptyBitmaps) {
  EXPECT_TRUE(SmartBitmap::LoadPNGToFormat("/mnt/ext1/none.png", SMART_BITMAP_GREY).IsEmpty());
  EXPECT_TRUE(SmartBitmap::DecodePNG("not an image", SMART_BITMAP_GREY).IsEmpty());
  const std::string png = SmartBitmap::Create(50, 50, 0).EncodePNG();
  EXPECT_TRUE(SmartBitmap::DecodePNG(png.substr(0, png.size() / 2), SMART_BITMAP_GREY).IsEmpty());
  EXPECT_TRUE(
      SmartBitmap::DecodePNG(ImageFiles::PngClaimingSize(16385, 1), SMART_BITMAP_GREY).IsEmpty());
  EXPECT_TRUE(SmartBitmap::DecodePNG(ImageFiles::PngClaimingSize(10000, 10000), SMART_BITMAP_GREY)
                  .IsEmpty());
  const std::string jpeg = ImageFiles::Jpeg(SmartBitmap::Create(64, 64, 0x808080));
  EXPECT_TRUE(SmartBitmap::DecodeJPEG(jpeg.substr(0, 20), SMART_BITMAP_GREY).IsEmpty());
  EXPECT_TRUE(SmartBitmap::DecodeJPEG("\xff\xd8garbage", SMART_BITMAP_GREY).IsEmpty());
  EXPECT_TRUE(SmartBitmap::Create(0, 10).IsEmpty());
  EXPECT_TRUE(SmartBitmap::Create(SmartBitmap::kMaxSide + 1, 1).IsEmpty());
  EXPECT_FALSE(SmartBitmap().SavePNG("/mnt/ext1/empty.png"));
  EXPECT_FALSE(root_.Exists("/mnt/ext1/empty.png"));
}

TEST_F(BitmapFilesTest, JpegDecodesScaledToTheSmallestScaleCoveringTheTarget) {
  root_.Write("/mnt/ext1/cover.jpg", ImageFiles::Jpeg(ImageFiles::Ramp(800, 1200)));
  SmartBitmap full = SmartBitmap::LoadJPEGToFormat("/mnt/ext1/cover.jpg", SMART_BITMAP_COLOR);
  EXPECT_EQ(full.Width(), 800);
  EXPECT_EQ(full.Height(), 1200);
  EXPECT_NEAR(full.PixelColor(799, 10) >> 16, 255, 4);
  EXPECT_NEAR(full.PixelColor(0, 10) >> 16, 0, 4);

  SmartBitmap quarter =
      SmartBitmap::LoadJPEGToFormat("/mnt/ext1/cover.jpg", SMART_BITMAP_COLOR, 150, 300);
  EXPECT_EQ(quarter.Width(), 200);
  EXPECT_EQ(quarter.Height(), 300);
  EXPECT_EQ(
      SmartBitmap::LoadJPEGToFormat("/mnt/ext1/cover.jpg", SMART_BITMAP_GREY, 101, 10).Width(),
      200);
  EXPECT_EQ(JpegCodec::ScaleDenominator(800, 1200, 100, 150), 8);
  EXPECT_EQ(JpegCodec::ScaleDenominator(800, 1200, 101, 150), 4);
  EXPECT_EQ(JpegCodec::ScaleDenominator(800, 1200, 1000, 10), 1);
  EXPECT_EQ(JpegCodec::ScaleDenominator(801, 1200, -1, -1), 1);

  SmartBitmap grey = SmartBitmap::LoadJPEGToFormat("/mnt/ext1/cover.jpg", SMART_BITMAP_GREY);
  const int pixel = grey.PixelColor(400, 100);
  EXPECT_EQ(pixel >> 16, pixel & 0xFF);
}

using ThemeImageTest = GraphicsFixture;

const char* kSquareSvg =
    "<svg xmlns='http://www.w3.org/2000/svg' width='10mm' height='5mm' viewBox='0 0 20 10'>"
    "<rect width='20' height='10' fill='#000'/></svg>";

TEST_F(ThemeImageTest, RendersSvgAtTheScreensDpiAndCachesIt) {
  root_.Write("/ebrmain/themes/Contrast/images/star.svg", kSquareSvg);
  SmartBitmap star = SmartBitmap::LoadFromTheme("star");
  // 10 mm at 144 DPI.
  EXPECT_EQ(star.Width(), 57);
  EXPECT_EQ(star.Height(), 28);
  EXPECT_EQ(star.PixelColor(20, 10), 0);
  EXPECT_TRUE(SmartBitmap::LoadFromTheme("star").SharesPixelsWith(star));

  root_.Write("/.sim/device.cfg", "screen_width=200\nscreen_height=300\ndpi=288\n");
  ReloadDeviceProfile();
  EXPECT_EQ(SmartBitmap::LoadFromTheme("star").Width(), 113);
}

TEST_F(ThemeImageTest, FallsBackToPngThenToBrokenImageThenToNothing) {
  EXPECT_TRUE(SmartBitmap::LoadFromTheme("nothing").IsEmpty());
  SmartBitmap::ClearThemeCache();
  root_.MakeFolder("/ebrmain/themes/Contrast/images");

  SmartBitmap::Create(3, 3, 0x00FF00).SavePNG("/ebrmain/themes/Contrast/images/tip.png");
  SmartBitmap::Create(2, 2, 0xFF0000).SavePNG("/ebrmain/themes/Contrast/images/broken_image.png");
  root_.Write("/ebrmain/themes/Contrast/images/bad.svg", "<svg");
  EXPECT_EQ(SmartBitmap::LoadFromTheme("tip").Width(), 3);
  const SmartBitmap broken = SmartBitmap::LoadFromTheme("broken_image");
  EXPECT_TRUE(SmartBitmap::LoadFromTheme("bad").SharesPixelsWith(broken));
  EXPECT_TRUE(SmartBitmap::LoadFromTheme("missing").SharesPixelsWith(broken));
  EXPECT_TRUE(SmartBitmap::LoadFromTheme("../../../mnt/ext1/x").SharesPixelsWith(broken));
}

TEST_F(ThemeImageTest, ColourProfilesKeepColourAndGreyProfilesMakeGrey) {
  root_.MakeFolder("/ebrmain/themes/Contrast/images");
  SmartBitmap::Create(2, 2, 0xFF0000).SavePNG("/ebrmain/themes/Contrast/images/red.png");
  EXPECT_EQ(SmartBitmap::LoadFromTheme("red").PixelColor(0, 0), MWColorToGrey(0xFF0000));
  UseProfile(true);
  EXPECT_EQ(SmartBitmapFormatForDisplay(), SMART_BITMAP_COLOR);
  EXPECT_EQ(SmartBitmap::LoadFromTheme("red").PixelColor(0, 0), 0xFF0000);
}

using BitmapHelperTest = GraphicsFixture;

TEST_F(BitmapHelperTest, CopiesAreIndependentWhileHandlesShare) {
  SmartBitmap bitmap = SmartBitmap::Create(2, 1, 0x111111);
  SmartBitmap handle = bitmap;
  SmartBitmap copy = CopyBitmap(bitmap);
  bitmap.MutableData()[0] = 0xFF222222u;
  EXPECT_EQ(handle.PixelColor(0, 0), 0x222222);
  EXPECT_EQ(copy.PixelColor(0, 0), 0x111111);
  EXPECT_TRUE(CopyBitmap(SmartBitmap()).IsEmpty());
}

TEST_F(BitmapHelperTest, MirrorsHorizontallyAndVertically) {
  SmartBitmap bitmap = ImageFiles::Ramp(5, 3);
  const int left = bitmap.PixelColor(0, 0);
  const int bottom_left = bitmap.PixelColor(0, 2);
  MirrorBitmap(bitmap, MIRROR_HORIZONTAL);
  EXPECT_EQ(bitmap.PixelColor(4, 0), left);
  // Mirrored horizontally twice and vertically once: upside down.
  MirrorBitmap(bitmap, MIRROR_HORIZONTAL | MIRROR_VERTICAL);
  EXPECT_EQ(bitmap.PixelColor(0, 0), bottom_left);
}

TEST_F(BitmapHelperTest, AverageColourOfABandCountsTransparencyAsWhite) {
  SmartBitmap bitmap = SmartBitmap::Create(10, 100, 0x000000);
  for (int y = 90; y < 100; ++y)
    for (int x = 0; x < 10; ++x) bitmap.MutableData()[y * 10 + x] = 0xFF0000FFu;
  EXPECT_EQ(FindAverageBitmapColor(bitmap, BITMAP_BAND_BOTTOM, 7), 0x0000FF);
  EXPECT_EQ(FindAverageBitmapColor(bitmap, BITMAP_BAND_TOP, 7), 0x000000);
  // Half of the bottom 20 rows is blue, half black.
  EXPECT_EQ(FindAverageBitmapColor(bitmap, BITMAP_BAND_BOTTOM, 20), 0x000080);
  EXPECT_EQ(FindAverageBitmapColor(bitmap, 3, 7), -1);
  EXPECT_EQ(FindAverageBitmapColor(SmartBitmap(), BITMAP_BAND_TOP, 7), -1);
  SmartBitmap clear = SmartBitmap::Create(4, 4);
  clear.MutableData()[0] = 0;
  EXPECT_EQ(FindAverageBitmapColor(clear, BITMAP_BAND_LEFT, 1), 0xFFFFFF);
}

TEST_F(BitmapHelperTest, InvertedCopyInvertsColoursAndKeepsAlpha) {
  SmartBitmap bitmap = SmartBitmap::Create(2, 1, 0x00FF40);
  bitmap.MutableData()[1] = 0x80800000u;
  SmartBitmap inverted = pk_copy_inv_bitmap(bitmap);
  EXPECT_EQ(inverted.PixelColor(0, 0), 0xFF00BF);
  EXPECT_EQ(inverted.PixelAlpha(1, 0), 0x80);
  EXPECT_EQ(inverted.PixelColor(1, 0), 0x00FFFF);
  EXPECT_EQ(bitmap.PixelColor(0, 0), 0x00FF40);
}

TEST_F(BitmapHelperTest, StretchingKeepsFlatColoursExactAndAveragesFineDetail) {
  SmartBitmap flat = SmartBitmap::Create(900, 1200, 0x336699);
  SmartBitmap small = CoverLoader::stretchBitmapOpenCv(flat, 300, 400, 1);
  ASSERT_EQ(small.Width(), 300);
  ASSERT_EQ(small.Height(), 400);
  EXPECT_EQ(small.PixelColor(150, 200), 0x336699);
  EXPECT_EQ(small.PixelColor(299, 399), 0x336699);

  // One-pixel stripes: the box filter averages them into grey instead of picking stripes.
  SmartBitmap stripes = SmartBitmap::Create(800, 800, 0xFFFFFF);
  for (int y = 0; y < 800; ++y)
    for (int x = 0; x < 800; x += 2) stripes.MutableData()[y * 800 + x] = 0xFF000000u;
  SmartBitmap filtered = CoverLoader::stretchBitmapOpenCv(stripes, 100, 100, 1);
  for (int x = 0; x < 100; x += 13) EXPECT_NEAR(filtered.PixelColor(x, 50) & 0xFF, 0x80, 2);
  EXPECT_TRUE(CoverLoader::stretchBitmapOpenCv(stripes, 0, 10, 1).IsEmpty());
  EXPECT_EQ(CoverLoader::stretchBitmapOpenCv(SmartBitmap::Create(2, 2), 20, 30, 0).Height(), 30);
}

TEST_F(BitmapHelperTest, ProportionalStretchFitsInsideTheBox) {
  SmartBitmap cover = SmartBitmap::Create(600, 900);
  SmartBitmap fitted = BitmapStretchProportionally(cover, 300, 300);
  EXPECT_EQ(fitted.Width(), 200);
  EXPECT_EQ(fitted.Height(), 300);
  fitted = BitmapStretchProportionally(SmartBitmap::Create(1000, 1), 10, 10);
  EXPECT_EQ(fitted.Width(), 10);
  EXPECT_EQ(fitted.Height(), 1);
}

TEST_F(BitmapHelperTest, DefaultAdjustmentStretchesTonesOnGreyPanelsOnly) {
  SmartBitmap dull = SmartBitmap::Create(100, 1);
  for (int x = 0; x < 100; ++x) {
    const uint32_t level = 64 + static_cast<uint32_t>(x);  // 64..163
    dull.MutableData()[x] = 0xFF000000u | level * 0x010101u;
  }
  SmartBitmap on_colour = CopyBitmap(dull);
  adjustBitmapDefault(dull);
  EXPECT_EQ(dull.PixelColor(0, 0), 0x000000);
  EXPECT_EQ(dull.PixelColor(99, 0), 0xFFFFFF);
  EXPECT_LT(dull.PixelColor(30, 0) & 0xFF, dull.PixelColor(60, 0) & 0xFF);

  SmartBitmap flat = SmartBitmap::Create(10, 10, 0x777777);
  adjustBitmapDefault(flat);
  EXPECT_EQ(flat.PixelColor(5, 5), 0x777777);

  UseProfile(true);
  adjustBitmapDefault(on_colour);
  EXPECT_EQ(on_colour.PixelColor(0, 0), 0x404040);
}

}  // namespace
}  // namespace marrowleaf::platform
