// The theme image store: images drawn by one run come back in the next while their files are
// unchanged, a changed file is drawn again, and a damaged store file reads as empty.
#include <gtest/gtest.h>
#include <zlib.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "GraphicsFixture.h"
#include "ThemeImageStore.h"
#include "ThemeImages.h"

namespace marrowleaf::platform {
namespace {

using Images = std::map<std::string, ThemeImageStore::Stored>;

SmartBitmap Picture(int width, int height, uint32_t first) {
  SmartBitmap picture = SmartBitmap::Create(width, height, 0x204060);
  picture.MutableData()[0] = first;
  return picture;
}

bool SamePixels(const SmartBitmap& a, const SmartBitmap& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() &&
         std::equal(a.Data(), a.Data() + a.Width() * a.Height(), b.Data());
}

void PutWord(std::string* bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) (*bytes)[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// Recomputes the trailing checksum, so that a damage below it is what the reader must catch.
void Reseal(std::string* bytes) {
  const size_t end = bytes->size() - 4;
  const uLong crc = crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(bytes->data()),
                          static_cast<uInt>(end));
  PutWord(bytes, end, static_cast<uint32_t>(crc));
}

TEST(ThemeImageStoreFile, KeepsImagesAndSignaturesAndRefusesDamagedFiles) {
  const Images images = {{"star", {"12 345\n-\n", Picture(3, 2, 0x80402010u)}},
                         {"arrow", {"-\n9 8\n", Picture(1, 4, 0xFF000000u)}}};
  const std::string good = ThemeImageStore::Encode("ctx", images);
  Images read;
  ASSERT_TRUE(ThemeImageStore::Decode(good, "ctx", &read));
  ASSERT_EQ(read.size(), 2u);
  for (const auto& [name, stored] : images) {
    EXPECT_EQ(read[name].signature, stored.signature) << name;
    EXPECT_TRUE(SamePixels(read[name].image, stored.image)) << name;
  }

  // The first image's name starts after the magic (12), the context (4 + 3) and the count (4).
  const size_t count_at = 12 + 4 + 3;
  const size_t first_width_at = count_at + 4 + (4 + 5) + (4 + 9);  // "arrow", its signature
  const std::vector<std::pair<std::string, std::function<void(std::string*)>>> damages = {
      {"a changed pixel", [](std::string* b) { (*b)[b->size() - 10] ^= 1; }},
      {"a byte cut off", [](std::string* b) { b->pop_back(); }},
      {"a byte added", [](std::string* b) { b->push_back('x'); }},
      {"another magic",
       [](std::string* b) {
         (*b)[3] = 'X';
         Reseal(b);
       }},
      {"more images than it holds",
       [count_at](std::string* b) {
         PutWord(b, count_at, 3);
         Reseal(b);
       }},
      {"fewer images than it holds",
       [count_at](std::string* b) {
         PutWord(b, count_at, 1);
         Reseal(b);
       }},
      {"a picture larger than the file",
       [first_width_at](std::string* b) {
         PutWord(b, first_width_at, 1000);
         Reseal(b);
       }},
      {"a picture of no width",
       [first_width_at](std::string* b) {
         PutWord(b, first_width_at, 0);
         Reseal(b);
       }},
      {"nothing", [](std::string* b) { b->clear(); }},
  };
  for (const auto& [what, damage] : damages) {
    std::string bytes = good;
    damage(&bytes);
    read = images;
    EXPECT_FALSE(ThemeImageStore::Decode(bytes, "ctx", &read)) << what;
    EXPECT_TRUE(read.empty()) << what;
  }
  EXPECT_FALSE(ThemeImageStore::Decode(good, "another theme", &read));
  Images too_many;
  for (size_t i = 0; i <= ThemeImageStore::kMaxImages; ++i)
    too_many["i" + std::to_string(i)] = {"-\n", Picture(1, 1, 0)};
  EXPECT_FALSE(ThemeImageStore::Decode(ThemeImageStore::Encode("ctx", too_many), "ctx", &read));
}

class ThemeImageStoreTest : public GraphicsFixture {
 protected:
  static constexpr const char* kSvg = "/ebrmain/themes/Contrast/images/star.svg";

  std::string StorePath() const {
    return ThemeImages::StorePath("Contrast", 144, SMART_BITMAP_GREY);
  }
  // What a new run sees: nothing drawn in memory, only the files.
  static SmartBitmap LoadAsNextStart(const std::string& name) {
    SmartBitmap::ClearThemeCache();
    return SmartBitmap::LoadFromTheme(name);
  }
  // Marks the stored image's first pixel, keeping its signature: an image read back with the mark
  // came from the store, not from drawing the file.
  void MarkStoredImage(const std::string& name) {
    Images stored;
    ASSERT_TRUE(ThemeImageStore::Decode(root_.Read(StorePath()), Context(), &stored));
    ASSERT_EQ(stored.count(name), 1u);
    stored[name].image.MutableData()[0] = kMark;
    root_.Write(StorePath(), ThemeImageStore::Encode(Context(), stored));
  }
  static std::string Context() { return "theme Contrast, 144 dpi, format 8"; }

  static constexpr uint32_t kMark = 0xFF123456u;
};

TEST_F(ThemeImageStoreTest, ADrawnImageComesBackAtTheNextStartUntilItsFileChanges) {
  root_.Write(kSvg,
              "<svg xmlns='http://www.w3.org/2000/svg' width='4mm' height='2mm'>"
              "<rect width='100%' height='100%' fill='#000'/></svg>");
  const SmartBitmap drawn = SmartBitmap::LoadFromTheme("star");
  ASSERT_FALSE(drawn.IsEmpty());
  EXPECT_FALSE(root_.Exists(StorePath()));
  ThemeImages::Get().Save();
  ASSERT_TRUE(root_.Exists(StorePath()));

  MarkStoredImage("star");
  const SmartBitmap stored = LoadAsNextStart("star");
  EXPECT_EQ(stored.Data()[0], kMark);
  EXPECT_EQ(stored.Width(), drawn.Width());

  // The same size, another content (white): drawn again, whatever the file's time stamps say.
  root_.Write(kSvg,
              "<svg xmlns='http://www.w3.org/2000/svg' width='4mm' height='2mm'>"
              "<rect width='100%' height='100%' fill='#fff'/></svg>");
  const SmartBitmap redrawn = LoadAsNextStart("star");
  EXPECT_NE(redrawn.Data()[0], kMark);
  EXPECT_EQ(redrawn.PixelColor(1, 1), 0xFFFFFF);
  // A PNG beside the SVG changes the signature too, though the SVG still wins.
  ThemeImages::Get().Save();
  MarkStoredImage("star");
  SmartBitmap::Create(2, 2, 0xFF0000).SavePNG("/ebrmain/themes/Contrast/images/star.png");
  EXPECT_NE(LoadAsNextStart("star").Data()[0], kMark);
}

TEST_F(ThemeImageStoreTest, ADamagedStoreIsDrawnAroundAndWrittenAnew) {
  root_.Write(kSvg,
              "<svg xmlns='http://www.w3.org/2000/svg' width='4mm' height='2mm'>"
              "<rect width='100%' height='100%' fill='#000'/></svg>");
  root_.Write(StorePath(), "MLTHEMEIMG1\ngarbage");
  const SmartBitmap drawn = LoadAsNextStart("star");
  EXPECT_EQ(drawn.PixelColor(1, 1), 0);
  ThemeImages::Get().Save();
  Images stored;
  EXPECT_TRUE(ThemeImageStore::Decode(root_.Read(StorePath()), Context(), &stored));
  EXPECT_EQ(stored.count("star"), 1u);
}

}  // namespace
}  // namespace marrowleaf::platform
