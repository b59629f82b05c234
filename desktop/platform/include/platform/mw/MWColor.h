#pragma once

// Colours of the window framework are 0xRRGGBB integers. E-ink panels show 16 grey levels; colour
// panels show the colour itself. The display back-end makes that conversion, so code draws with the
// colour it means and uses these helpers for the usual greys.
constexpr int MW_COLOR_BLACK = 0x000000;
constexpr int MW_COLOR_WHITE = 0xFFFFFF;
constexpr int MW_COLOR_DARK_GREY = 0x555555;
constexpr int MW_COLOR_GREY = 0x888888;
constexpr int MW_COLOR_LIGHT_GREY = 0xCCCCCC;

// Grey level 0 (black) .. 15 (white) of a 16-level panel, as a colour.
constexpr int MWGreyLevel(int level) {
  const int clamped = level < 0 ? 0 : (level > 15 ? 15 : level);
  const int value = clamped * 17;
  return (value << 16) | (value << 8) | value;
}

// The luminance of a colour, 0..255 (ITU-R BT.601 weights, as panels mix grey).
constexpr int MWColorLuminance(int color) {
  return (((color >> 16) & 0xFF) * 299 + ((color >> 8) & 0xFF) * 587 + (color & 0xFF) * 114) / 1000;
}

// The grey colour of the same luminance.
constexpr int MWColorToGrey(int color) {
  const int value = MWColorLuminance(color);
  return (value << 16) | (value << 8) | value;
}
