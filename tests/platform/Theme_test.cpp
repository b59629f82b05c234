// Theme values from the theme named by the global configuration.
#include <string>

#include <gtest/gtest.h>

#include "platform/sdk/theme.h"
#include "support/TempDeviceRoot.h"

namespace {

using marrowleaf::test::TempDeviceRoot;

TEST(Theme, ReadsTheDefaultThemeWhenTheGlobalConfigurationNamesNone) {
  TempDeviceRoot root;
  root.Write("/ebrmain/themes/Contrast/theme.cfg",
             "theme.name=Contrast\nfont.size=24\nbad.number=big\n");
  EXPECT_STREQ(CurrentThemeName(), "Contrast");
  EXPECT_STREQ(GetThemeString("theme.name", "none"), "Contrast");
  EXPECT_EQ(GetThemeInt("font.size", 0), 24);
  EXPECT_EQ(GetThemeInt("bad.number", 9), 9);
  EXPECT_EQ(GetThemeInt("missing", 5), 5);
  EXPECT_STREQ(GetThemeString("missing", "fallback"), "fallback");
}

TEST(Theme, FollowsTheGlobalConfigurationOnReload) {
  TempDeviceRoot root;
  root.Write("/ebrmain/themes/Contrast/theme.cfg", "color=black\n");
  root.Write("/ebrmain/themes/Dark/theme.cfg", "color=white\n");
  EXPECT_STREQ(GetThemeString("color", ""), "black");
  root.Write("/mnt/ext1/system/config/global.cfg", "theme=Dark\n");
  ReloadTheme();
  EXPECT_STREQ(CurrentThemeName(), "Dark");
  EXPECT_STREQ(GetThemeString("color", ""), "white");
}

TEST(Theme, RefusesANameThatLeavesTheThemesFolder) {
  TempDeviceRoot root;
  root.Write("/mnt/ext1/system/config/global.cfg", "theme=../../mnt/ext1\n");
  root.Write("/mnt/ext1/theme.cfg", "color=stolen\n");
  root.Write("/ebrmain/themes/Contrast/theme.cfg", "color=black\n");
  ReloadTheme();
  EXPECT_STREQ(CurrentThemeName(), "Contrast");
  EXPECT_STREQ(GetThemeString("color", ""), "black");
}

}  // namespace
