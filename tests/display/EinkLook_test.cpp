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

TEST(EinkLook, AGreyPanelShowsBlackWhiteAndExactLevelsUnchanged) {
  const EinkLook grey(false);
  EXPECT_EQ(grey.Convert(0x000000), 0x000000u);
  EXPECT_EQ(grey.Convert(0xFFFFFF), 0xFFFFFFu);
  for (int level = 0; level < EinkLook::kLevels; ++level) {
    EXPECT_EQ(grey.Convert(Grey(level * 17)), Grey(level * 17)) << "level " << level;
  }
}

TEST(EinkLook, AGreyPanelRoundsToTheNearestOfSixteenLevels) {
  const EinkLook grey(false);
  // 0x80 = 128 lies between level 7 (119) and 8 (136), nearer to 8.
  EXPECT_EQ(grey.Convert(0x808080), Grey(136));
  EXPECT_EQ(grey.Convert(Grey(128)), Grey(136));  // 128 is nearer to 136 than to 119
  EXPECT_EQ(grey.Convert(Grey(127)), Grey(119));
  std::set<uint32_t> shown;
  for (int value = 0; value < 256; ++value) shown.insert(grey.Convert(Grey(value)));
  EXPECT_EQ(shown.size(), 16u);
}

TEST(EinkLook, AGreyPanelShowsColoursByTheirLuminanceSoGreenIsLighterThanRedAndBlue) {
  const EinkLook grey(false);
  const uint32_t red = grey.Convert(0xFF0000);
  const uint32_t green = grey.Convert(0x00FF00);
  const uint32_t blue = grey.Convert(0x0000FF);
  for (uint32_t shown : {red, green, blue}) {
    EXPECT_EQ(shown >> 16 & 0xFF, shown & 0xFF) << "not grey: " << std::hex << shown;
  }
  EXPECT_EQ(red, Grey(68));     // luminance 76
  EXPECT_EQ(green, Grey(153));  // luminance 150
  EXPECT_EQ(blue, Grey(34));    // luminance 29
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
