// Every picture of the theme the device ships is one the renderer reads: a picture that fails
// shows as the broken-image sign wherever it is used.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ViewTestRoot.h"
#include "platform/utils/SmartBitmap.h"

namespace marrowleaf::desktop {
namespace {

TEST(ThemeImagesTest, EveryPictureOfTheShippedThemeLoads) {
  test::ViewTestRoot root;
  const std::filesystem::path images =
      std::filesystem::path(MARROWLEAF_SOURCE_DIR) / "desktop/res/themes/Contrast/images";
  // A picture the renderer can't read comes back as the broken-image sign.
  const std::string broken = SmartBitmap::LoadFromTheme("broken_image").EncodePNG();
  ASSERT_FALSE(broken.empty());
  int pictures = 0;
  for (const auto& file : std::filesystem::directory_iterator(images)) {
    const std::string name = file.path().stem().string();
    if (name == "broken_image")
      continue;
    const SmartBitmap picture = SmartBitmap::LoadFromTheme(name);
    EXPECT_FALSE(picture.IsEmpty() || picture.EncodePNG() == broken) << name;
    ++pictures;
  }
  EXPECT_GT(pictures, 50);
}

}  // namespace
}  // namespace marrowleaf::desktop
