#pragma once

#include <gtest/gtest.h>

#include <string>

#include "Framebuffer.h"
#include "platform/mw/MWGraphics.h"
#include "platform/sdk/device.h"
#include "platform/utils/SmartBitmap.h"
#include "support/TempDeviceRoot.h"

namespace marrowleaf::platform {

// A small device (200 x 300 pixels at 144 DPI, grey unless asked for colour) with a white screen
// and nothing pending for the panel.
class GraphicsFixture : public ::testing::Test {
 protected:
  void SetUp() override { UseProfile(false); }
  void TearDown() override {
    MWGraphics::DiscardUpdates();
    MWGraphics::SetPartialFlushesPerFullUpdate(0);
  }

  void UseProfile(bool color) {
    root_.Write("/.sim/device.cfg", std::string("screen_width=200\nscreen_height=300\n") +
                                        "panel_height=20\ndpi=144\ncolor=" + (color ? "1" : "0") +
                                        "\n");
    ReloadDeviceProfile();
    SmartBitmap::ClearThemeCache();
    Framebuffer::Get().Clear();
    MWGraphics::DiscardUpdates();
    MWGraphics::SetPartialFlushesPerFullUpdate(0);
  }

  static int Pixel(int x, int y) { return Framebuffer::Get().PixelAt(x, y); }

  // How many pixels of the rectangle (screen coordinates) are not white.
  static int InkIn(const MWRect& rect) {
    int count = 0;
    for (int y = rect.y; y < rect.y + rect.h; ++y)
      for (int x = rect.x; x < rect.x + rect.w; ++x) count += Pixel(x, y) != 0xFFFFFF ? 1 : 0;
    return count;
  }

  test::TempDeviceRoot root_;
};

}  // namespace marrowleaf::platform
