// The window back-end on the window library's off-screen driver: it starts, shows updates (the
// caller waits until they are shown, flash included) and stops without hanging.
#include <chrono>
#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

#include "SdlBackend.h"

namespace {

using marrowleaf::platform::PixelImage;
using marrowleaf::platform::SdlBackend;
using marrowleaf::platform::UpdateKind;

TEST(SdlBackend, ShowsUpdatesAndFullUpdatesOnTheOffscreenDriverAndStopsCleanly) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  std::vector<int> events;
  SdlBackend::Hooks hooks;
  hooks.post_event = [&events](int type, int, int) { events.push_back(type); };
  SdlBackend backend(hooks, true, "test");
  ASSERT_TRUE(backend.Start(60, 40));
  EXPECT_TRUE(backend.Interactive());

  const auto start = std::chrono::steady_clock::now();
  backend.Show(UpdateKind::kPartial, PixelImage(10, 10, 0), 5, 5);
  backend.Show(UpdateKind::kFull, PixelImage(60, 40, 0x888888), 0, 0);
  // A full update after the orientation changed: the window's picture takes the new size.
  backend.Show(UpdateKind::kFull, PixelImage(40, 60, 0xFFFFFF), 0, 0);
  backend.Show(UpdateKind::kPartial, PixelImage(5, 5, 0), 35, 55);
  const auto took = std::chrono::steady_clock::now() - start;
  // Each Show waits for the window, but never for the give-up time of a stuck window.
  EXPECT_LT(took, std::chrono::seconds(3));
  backend.Stop();
  backend.Stop();
  // After the window is gone an update returns at once.
  backend.Show(UpdateKind::kPartial, PixelImage(1, 1), 0, 0);
  EXPECT_TRUE(events.empty());
}

}  // namespace
