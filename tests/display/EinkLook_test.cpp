// The e-ink look: how framebuffer colours become what a grey or a colour panel shows.
#include <set>

#include <gtest/gtest.h>

#include "EinkLook.h"

namespace {

using marrowleaf::platform::EinkLook;
using marrowleaf::platform::PixelImage;

uint32_t Grey(int value) {
  const auto v = static_cast<uint32_t>(value);
  return (v << 16) | (v << 8) | v;
}

// Exact levels stay, others round to the nearest of sixteen, colours become their luminance (so
// green is lighter than red and blue).
TEST(EinkLook, AGreyPanelShowsTheNearestOfSixteenLevelsOfTheLuminance) {
  const EinkLook grey(false);
  const std::pair<uint32_t, uint32_t> shown[] = {
      {0x000000, 0x000000}, {0xFFFFFF, 0xFFFFFF},
      {Grey(128), Grey(136)},  // 128 lies between level 7 (119) and 8 (136), nearer to 8
      {Grey(127), Grey(119)},  {0xFF0000, Grey(68)},  // luminance 76
      {0x00FF00, Grey(153)},   // luminance 150
      {0x0000FF, Grey(34)},    // luminance 29
  };
  for (const auto& [colour, expected] : shown)
    EXPECT_EQ(grey.Convert(colour), expected) << std::hex << colour;
  for (int level = 0; level < EinkLook::kLevels; ++level)
    EXPECT_EQ(grey.Convert(Grey(level * 17)), Grey(level * 17)) << "level " << level;
  std::set<uint32_t> levels;
  for (int value = 0; value < 256; ++value) levels.insert(grey.Convert(Grey(value)));
  EXPECT_EQ(levels.size(), 16u);
}

TEST(EinkLook, AColourPanelKeepsTheHueWithSixteenLevelsAChannel) {
  const EinkLook colour(true);
  EXPECT_EQ(colour.Convert(0xFF0000), 0xFF0000u);
  EXPECT_EQ(colour.Convert(0x1E90FF), 0x2288FFu);  // 30, 144, 255 -> 34, 136, 255
  EXPECT_TRUE(colour.Colour());
}

TEST(EinkLook, ApplyConvertsEveryPixelOfAPicture) {
  PixelImage image(3, 2, 0x808080);
  image.At(2, 1) = 0xFF0000;
  EinkLook(false).Apply(image);
  EXPECT_EQ(image.At(0, 0), Grey(136));
  EXPECT_EQ(image.At(1, 1), Grey(136));
  EXPECT_EQ(image.At(2, 1), Grey(68));
}

}  // namespace
