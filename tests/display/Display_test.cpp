// The simulator's screen: updates reach the panel picture in the e-ink look, screenshots are PNG
// files of the framebuffer as the panel shows it, and the back-end is chosen as documented.
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Display.h"
#include "ScreenshotFile.h"
#include "platform/mw/MWDisplay.h"
#include "platform/mw/MWGraphics.h"
#include "platform/sdk/device.h"
#include "platform/sdk/files.h"
#include "platform/sdk/screen.h"
#include "platform/utils/SmartBitmap.h"
#include "support/RecordingBackend.h"
#include "support/TempDeviceRoot.h"

namespace {

using marrowleaf::platform::Display;
using marrowleaf::platform::PixelImage;
using marrowleaf::platform::ScreenshotFile;
using marrowleaf::platform::UpdateKind;
using marrowleaf::test::RecordingBackend;
using marrowleaf::test::ShownUpdate;
using marrowleaf::test::TempDeviceRoot;

// A small device so that pictures stay small: 40x30, grey unless asked for colour.
void WriteProfile(const TempDeviceRoot& root, bool colour) {
  root.Write("/.sim/device.cfg", std::string("screen_width=40\nscreen_height=30\ndpi=100\ncolor=") +
                                     (colour ? "1" : "0") + "\n");
}

// A framebuffer of the given picture, clipped as the real one clips.
Display::FramebufferReader ReaderOf(const PixelImage& screen) {
  return [screen](int* x, int* y, int* width, int* height) {
    const int left = std::max(*x, 0);
    const int top = std::max(*y, 0);
    const int right = std::min(*x + *width, screen.width);
    const int bottom = std::min(*y + *height, screen.height);
    PixelImage area(std::max(0, right - left), std::max(0, bottom - top));
    for (int row = 0; row < area.height; ++row) {
      for (int column = 0; column < area.width; ++column) {
        area.At(column, row) = screen.At(left + column, top + row);
      }
    }
    *x = left;
    *y = top;
    *width = area.width;
    *height = area.height;
    return area;
  };
}

// Reads a PNG written by a screenshot back as 0x00RRGGBB pixels.
PixelImage ReadPng(const std::string& host_path) {
  const SmartBitmap bitmap =
      SmartBitmap::LoadPNGToFormat(DevicePath(host_path), SMART_BITMAP_COLOR);
  PixelImage image;
  if (bitmap.IsEmpty())
    return image;
  image = PixelImage(bitmap.Width(), bitmap.Height());
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x)
      image.At(x, y) = static_cast<uint32_t>(bitmap.PixelColor(x, y));
  }
  return image;
}

class DisplayTest : public ::testing::Test {
 protected:
  void TearDown() override {
    Display::Get().Close();
    Display::Get().SetFramebufferReader(nullptr);
  }
  // The small device showing `screen` on a recording back-end; the panel it shows at once is
  // not kept.
  void Open(const PixelImage& screen, bool colour = false) {
    WriteProfile(root_, colour);
    ReloadDeviceProfile();
    Display::Get().SetFramebufferReader(ReaderOf(screen));
    Display::Get().InstallBackend(std::make_unique<RecordingBackend>(&shown_));
    shown_.clear();
  }
  // A screenshot of the framebuffer, read back.
  PixelImage Shot() {
    const std::string file = root_.Host("/.sim/shot.png");
    EXPECT_TRUE(SaveDisplayScreenshot(file));
    return ReadPng(file);
  }

  TempDeviceRoot root_;
  std::vector<ShownUpdate> shown_;
};

TEST_F(DisplayTest, APartialUpdateShowsOnlyItsRectangleInGreyLevelsAndReachesTheBackend) {
  Open(PixelImage(40, 30, 0x808080));
  PartialUpdate(10, 5, 8, 4);
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].kind, UpdateKind::kPartial);
  EXPECT_EQ((std::vector<int>{shown_[0].x, shown_[0].y, shown_[0].area.width, shown_[0].area.height}),
            (std::vector<int>{10, 5, 8, 4}));
  EXPECT_EQ(shown_[0].area.At(0, 0), 0x888888u);  // level 8 of 16
  const PixelImage panel = Display::Get().Panel();
  ASSERT_EQ(panel.width, 40);
  EXPECT_EQ(panel.At(10, 5), 0x888888u);
  EXPECT_EQ(panel.At(17, 8), 0x888888u);
  EXPECT_EQ(panel.At(18, 8), 0xFFFFFFu) << "drawn but never updated: the panel stays white";
  EXPECT_EQ(panel.At(9, 5), 0xFFFFFFu);
}

TEST_F(DisplayTest, UpdatesBeyondTheScreenAreClippedAFullUpdateCoversThePanelAndCloseEndsThem) {
  Open(PixelImage(40, 30, 0x000000));
  PartialUpdate(35, 25, 10, 3);
  FullUpdate();
  ASSERT_EQ(shown_.size(), 2u);
  EXPECT_EQ(shown_[0].area.width, 5);
  EXPECT_EQ(shown_[0].area.height, 3);
  EXPECT_EQ(shown_[1].kind, UpdateKind::kFull);
  EXPECT_EQ(shown_[1].area.width, 40);
  EXPECT_EQ(shown_[1].area.height, 30);
  const PixelImage panel = Display::Get().Panel();
  EXPECT_EQ(panel.At(0, 0), 0u);
  EXPECT_EQ(panel.At(39, 29), 0u);

  Display::Get().Close();
  shown_.clear();
  FullUpdate();
  EXPECT_TRUE(shown_.empty());
  EXPECT_FALSE(Display::Get().Installed());
}

TEST_F(DisplayTest, AScreenshotOfTheFramebufferMatchesItsPixelsInThePanelsLook) {
  PixelImage screen(40, 30, 0xFFFFFF);
  for (int x = 0; x < 40; ++x) screen.At(x, 0) = 0x000000;
  screen.At(5, 10) = 0xFF0000;
  screen.At(6, 10) = 0x7F7F7F;
  Open(screen);
  EXPECT_FALSE(SaveDisplayScreenshot("")) << "an empty name is refused";
  const PixelImage shot = Shot();
  ASSERT_EQ(shot.width, 40);
  ASSERT_EQ(shot.height, 30);
  EXPECT_EQ(shot.At(0, 0), 0x000000u);
  EXPECT_EQ(shot.At(39, 0), 0x000000u);
  EXPECT_EQ(shot.At(5, 10), 0x444444u);
  EXPECT_EQ(shot.At(6, 10), 0x777777u);
  EXPECT_EQ(shot.At(20, 20), 0xFFFFFFu);
  Open(PixelImage(40, 30, 0xFF0000), true);
  EXPECT_EQ(Shot().At(3, 3), 0xFF0000u) << "a colour panel keeps colour";
}

TEST_F(DisplayTest, AScreenshotOfRealDrawingShowsWhatMWGraphicsDrew) {
  WriteProfile(root_, false);
  {
    MWGraphics graphics(MWRect{0, 0, ScreenWidth(), ScreenHeight()});
    graphics.FillRect(MWRect{0, 0, 40, 30}, 0xFFFFFF);
    graphics.FillRect(MWRect{4, 4, 10, 6}, 0x000000);
    graphics.FillRect(MWRect{20, 10, 5, 5}, 0x999999);
  }
  const std::string file = root_.Host("/.sim/drawn.png");
  ASSERT_TRUE(Display::Get().SaveScreenshot(file));
  const PixelImage shot = ReadPng(file);
  ASSERT_EQ(shot.width, 40);
  EXPECT_EQ(shot.At(4, 4), 0x000000u);
  EXPECT_EQ(shot.At(13, 9), 0x000000u);
  EXPECT_EQ(shot.At(14, 9), 0xFFFFFFu);
  EXPECT_EQ(shot.At(22, 12), 0x999999u);
}

// Counts the black pixels of a rectangle of a picture.
int BlackPixels(const PixelImage& image, const MWRect& rect) {
  int black = 0;
  for (int y = rect.y; y < rect.y + rect.h; ++y) {
    for (int x = rect.x; x < rect.x + rect.w; ++x) black += image.At(x, y) == 0 ? 1 : 0;
  }
  return black;
}

TEST_F(DisplayTest, ThePanelIsPaintedAtTheBottomAndDimmedWhileTheProgramMakesItTransparent) {
  root_.Write("/.sim/device.cfg", "screen_width=300\nscreen_height=200\ndpi=150\npanel_height=30\n");
  std::vector<ShownUpdate> shown;
  Display::Get().InstallBackend(std::make_unique<RecordingBackend>(&shown));
  ASSERT_EQ(shown.size(), 1u) << "the panel shows as soon as the screen opens";
  EXPECT_EQ(shown[0].y, 170);
  EXPECT_EQ(shown[0].area.height, 30);

  DrawPanel(0, "", "Panel title", 0);
  PartialUpdate(0, 170, 300, 30);
  const PixelImage panel = Display::Get().Panel();
  EXPECT_EQ(panel.At(150, 170), 0u) << "the rule on top of the panel";
  EXPECT_GT(BlackPixels(panel, MWRect{5, 172, 150, 26}), 20) << "the title";
  EXPECT_GT(BlackPixels(panel, MWRect{240, 172, 60, 26}), 20) << "the battery";
  EXPECT_EQ(panel.At(200, 185), 0xFFFFFFu);

  SetPanelTransparent(50);
  PartialUpdate(0, 170, 300, 30);
  const uint32_t dimmed = Display::Get().Panel().At(200, 185);
  EXPECT_LT(dimmed & 0xFF, 0xFFu);
  EXPECT_GT(dimmed & 0xFF, 0u);
  SetPanelTransparent(0);
  DrawPanel(0, "", "", 0);
}

TEST(ScreenshotFile, WritesAPictureOutsideTheDeviceRootAndKeyShotsGetFreshNames) {
  TempDeviceRoot root;
  const auto folder = std::filesystem::path(root.HostRoot()).parent_path() /
                      (std::filesystem::path(root.HostRoot()).filename().string() + "-out");
  std::filesystem::create_directories(folder);
  const std::string file = (folder / "pic.png").string();
  ASSERT_TRUE(ScreenshotFile::Write(PixelImage(4, 3, 0x123456), file));
  EXPECT_TRUE(std::filesystem::exists(file));
  std::filesystem::remove_all(folder);

  const std::string first = ScreenshotFile::NextKeyScreenshotName();
  ASSERT_TRUE(ScreenshotFile::Write(PixelImage(4, 3), HostPath(first)));
  const std::string second = ScreenshotFile::NextKeyScreenshotName();
  EXPECT_EQ(first.rfind("/.sim/screenshot-", 0), 0u);
  EXPECT_NE(first, second);
}

TEST(DisplayChoice, FollowsMarrowleafDisplayAndFallsBackToTheWindowSystem) {
  const char* saved_choice = std::getenv("MARROWLEAF_DISPLAY");
  const std::string saved = saved_choice ? saved_choice : "";
  const char* saved_x = std::getenv("DISPLAY");
  const std::string x_display = saved_x ? saved_x : "";
  setenv("MARROWLEAF_DISPLAY", "sdl", 1);
  EXPECT_EQ(Display::ChosenBackend(), "sdl");
  setenv("MARROWLEAF_DISPLAY", "bogus", 1);
  EXPECT_EQ(Display::ChosenBackend(), "headless");
  unsetenv("MARROWLEAF_DISPLAY");
  setenv("DISPLAY", ":7", 1);
  EXPECT_EQ(Display::ChosenBackend(), "sdl");
  unsetenv("DISPLAY");
  if (!std::getenv("WAYLAND_DISPLAY")) {
    EXPECT_EQ(Display::ChosenBackend(), "headless");
  }
  if (saved_choice)
    setenv("MARROWLEAF_DISPLAY", saved.c_str(), 1);
  if (saved_x)
    setenv("DISPLAY", x_display.c_str(), 1);
}

}  // namespace
