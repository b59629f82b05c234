#include <png.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "GraphicsFixture.h"
#include "PixelMath.h"
#include "platform/utils/BitmapUtils.h"

namespace marrowleaf::platform {
namespace {

using PngFilesTest = GraphicsFixture;

// A thumbnail-sized picture with every grey level and pixel-sized noise (or colour noise).
SmartBitmap NoisyPicture(bool grey) {
  SmartBitmap bitmap = SmartBitmap::Create(300, 400);
  uint32_t noise = 2463534242u;
  for (int i = 0; i < 300 * 400; ++i) {
    noise ^= noise << 13;
    noise ^= noise >> 17;
    noise ^= noise << 5;
    const uint32_t level = static_cast<uint32_t>(i % 256);
    bitmap.MutableData()[i] = 0xFF000000u | (grey ? level * 0x010101u : (noise & 0xFFFFFF));
  }
  return bitmap;
}

bool SamePixels(const SmartBitmap& a, const SmartBitmap& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() &&
         std::memcmp(a.Data(), b.Data(), static_cast<size_t>(a.Stride()) * a.Height()) == 0;
}

// The IHDR fields every PNG starts with: bit depth at byte 24, colour type at byte 25.
int BitDepth(const std::string& png) {
  return static_cast<unsigned char>(png.at(24));
}
int ColorType(const std::string& png) {
  return static_cast<unsigned char>(png.at(25));
}

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
}

// A 2 x 1 PNG as other programs write them: the given colour type and depth, with optional
// transparency of the first grey level.
std::string ForeignPng(int color_type, int depth, const std::vector<png_byte>& row, bool keyed) {
  std::string bytes;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &bytes, AppendBytes, nullptr);
  png_set_IHDR(png, info, 2, 1, depth, color_type, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE,
               PNG_FILTER_TYPE_BASE);
  png_color_16 key{};
  key.gray = row[0];
  if (keyed)
    png_set_tRNS(png, info, nullptr, 0, &key);
  png_write_info(png, info);
  png_write_row(png, row.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return bytes;
}

TEST_F(PngFilesTest, GreyThumbnailsAreStoredAsOneByteGreyAndReadBackEqual) {
  const SmartBitmap thumbnail = NoisyPicture(true);
  root_.MakeFolder("/mnt/ext1/system/cache");
  ASSERT_TRUE(thumbnail.SavePNG("/mnt/ext1/system/cache/t.png"));
  const std::string bytes = root_.Read("/mnt/ext1/system/cache/t.png");
  ASSERT_GT(bytes.size(), 26u);
  EXPECT_EQ(BitDepth(bytes), 8);
  EXPECT_EQ(ColorType(bytes), PNG_COLOR_TYPE_GRAY);
  EXPECT_TRUE(SamePixels(
      SmartBitmap::LoadPNGToFormat("/mnt/ext1/system/cache/t.png", SMART_BITMAP_GREY), thumbnail));
  EXPECT_TRUE(SamePixels(
      SmartBitmap::LoadPNGToFormat("/mnt/ext1/system/cache/t.png", SMART_BITMAP_COLOR), thumbnail));
}

TEST_F(PngFilesTest, ColourPicturesKeepEveryPixelAndTurnIntoTheirLuminanceInGrey) {
  const SmartBitmap picture = NoisyPicture(false);
  const std::string bytes = picture.EncodePNG();
  EXPECT_EQ(ColorType(bytes), PNG_COLOR_TYPE_RGB);
  EXPECT_TRUE(SamePixels(SmartBitmap::DecodePNG(bytes, SMART_BITMAP_COLOR), picture));
  const SmartBitmap grey = SmartBitmap::DecodePNG(bytes, SMART_BITMAP_GREY);
  ASSERT_EQ(grey.Width(), 300);
  for (int i = 0; i < 300 * 400; i += 7)
    ASSERT_EQ(grey.Data()[i], PixelMath::ToGrey(picture.Data()[i])) << "pixel " << i;
}

TEST_F(PngFilesTest, TranslucentPixelsComeBackExactlyPremultiplied) {
  SmartBitmap picture = NoisyPicture(false);
  for (int i = 0; i < 300 * 400; ++i) {
    const uint32_t alpha = static_cast<uint32_t>(i % 256);
    picture.MutableData()[i] =
        PixelMath::Premultiply((alpha << 24) | (picture.Data()[i] & 0xFFFFFF));
  }
  const std::string bytes = picture.EncodePNG();
  EXPECT_EQ(ColorType(bytes), PNG_COLOR_TYPE_RGB_ALPHA);
  EXPECT_TRUE(SamePixels(SmartBitmap::DecodePNG(bytes, SMART_BITMAP_COLOR), picture));
}

TEST_F(PngFilesTest, ADamagedThumbnailIsRefusedRatherThanShownWrong) {
  std::string bytes = NoisyPicture(true).EncodePNG();
  // A flipped bit in the compressed pixels breaks the chunk's checksum.
  bytes[bytes.size() / 2] = static_cast<char>(bytes[bytes.size() / 2] ^ 0x10);
  EXPECT_TRUE(SmartBitmap::DecodePNG(bytes, SMART_BITMAP_GREY).IsEmpty());
}

// A dull grey ramp, which the panel's tone adjustment stretches to black and white; some of its
// pixels may be translucent.
SmartBitmap DullRamp(uint32_t alpha) {
  SmartBitmap bitmap = SmartBitmap::Create(100, 3);
  for (uint32_t i = 0; i < 300; ++i)
    bitmap.MutableData()[i] =
        PixelMath::Premultiply(((i % 10 == 0 ? alpha : 0xFFu) << 24) | (64 + i % 100) * 0x010101u);
  return bitmap;
}

// The PNG chunk checksum (CRC-32), bit by bit: a test needs a few bytes of it.
uint32_t Crc32(const std::string& bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (const char byte : bytes) {
    crc ^= static_cast<unsigned char>(byte);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

SmartBitmap Unmarked(const SmartBitmap& bitmap) {
  SmartBitmap copy = SmartBitmap::Create(bitmap.Width(), bitmap.Height());
  std::memcpy(copy.MutableData(), bitmap.Data(),
              static_cast<size_t>(bitmap.Stride()) * bitmap.Height());
  return copy;
}

// libpng's own reading of the file, as any other program would read it: the pixels, or "" when
// it refuses the file.
std::string ReadByLibpng(const std::string& bytes) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
    return std::string();
  image.format = PNG_FORMAT_GRAY;
  std::string pixels(PNG_IMAGE_SIZE(image), '\0');
  const bool read = png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr);
  png_image_free(&image);
  return read ? pixels : std::string();
}

// Covers are stored already adjusted for the panel. The file says so, so that loading it does not
// adjust the tones a second time; a file without that mark, or with a broken one, is adjusted as
// any picture. Marked files stay plain PNG for other programs.
TEST_F(PngFilesTest, ATonesAdjustedPictureIsStoredSoAndNotAdjustedAgain) {
  for (const uint32_t alpha : {0xFFu, 0x80u}) {
    SCOPED_TRACE(alpha);
    SmartBitmap once = DullRamp(alpha);
    adjustBitmapDefault(once);
    ASSERT_FALSE(SamePixels(once, DullRamp(alpha)));
    SmartBitmap twice = CopyBitmap(once);
    adjustBitmapDefault(twice);
    EXPECT_TRUE(SamePixels(twice, once));

    const std::string marked = once.EncodePNG();
    SmartBitmap loaded = SmartBitmap::DecodePNG(marked, SMART_BITMAP_GREY);
    adjustBitmapDefault(loaded);
    EXPECT_TRUE(SamePixels(loaded, once));
    EXPECT_EQ(ReadByLibpng(marked).size(), 300u);
    EXPECT_EQ(ReadByLibpng(marked), ReadByLibpng(Unmarked(once).EncodePNG()));

    // A mark of another version (its checksum made right) is not believed: the pixels are
    // adjusted as those of an unmarked file.
    const size_t at = marked.find("toNE");
    ASSERT_NE(at, std::string::npos);
    std::string other_version = marked;
    other_version[at + 4] = '2';
    const uint32_t crc = Crc32(other_version.substr(at, 5));
    for (int i = 0; i < 4; ++i) other_version[at + 5 + i] = static_cast<char>(crc >> (24 - 8 * i));
    SmartBitmap doubted = SmartBitmap::DecodePNG(other_version, SMART_BITMAP_GREY);
    adjustBitmapDefault(doubted);
    SmartBitmap adjusted_again = Unmarked(once);
    adjustBitmapDefault(adjusted_again);
    EXPECT_FALSE(SamePixels(adjusted_again, once));
    EXPECT_TRUE(SamePixels(doubted, adjusted_again));
    SmartBitmap old = SmartBitmap::DecodePNG(DullRamp(alpha).EncodePNG(), SMART_BITMAP_GREY);
    adjustBitmapDefault(old);
    EXPECT_TRUE(SamePixels(old, once));
  }
}

TEST_F(PngFilesTest, FilesOfOtherProgramsKeepTheirTransparencyAndDepth) {
  const SmartBitmap keyed = SmartBitmap::DecodePNG(
      ForeignPng(PNG_COLOR_TYPE_GRAY, 8, {0x40, 0x80}, true), SMART_BITMAP_GREY);
  ASSERT_EQ(keyed.Width(), 2);
  EXPECT_EQ(keyed.PixelAlpha(0, 0), 0);
  EXPECT_EQ(keyed.PixelAlpha(1, 0), 255);
  EXPECT_EQ(keyed.PixelColor(1, 0), 0x808080);

  // 16-bit RGB: two pixels of six bytes, most significant byte first.
  const SmartBitmap deep = SmartBitmap::DecodePNG(
      ForeignPng(PNG_COLOR_TYPE_RGB, 16, {0x12, 0, 0x34, 0, 0x56, 0, 0xFF, 0, 0, 0, 0, 0}, false),
      SMART_BITMAP_COLOR);
  ASSERT_EQ(deep.Width(), 2);
  EXPECT_EQ(deep.PixelColor(0, 0), 0x123456);
  EXPECT_EQ(deep.PixelColor(1, 0), 0xFF0000);
}

}  // namespace
}  // namespace marrowleaf::platform
