#pragma once

#include <string>

#include "platform/utils/SmartBitmap.h"

namespace marrowleaf::desktop {

// Images the views name: a theme image, with the theme's "broken_image" in its place when it is
// missing; a name with a "/" is a picture file on the device.
class ThemeImage {
 public:
  // The theme image, "broken_image" when it is missing, empty for an empty name.
  static SmartBitmap Load(const std::string& name);
  // A theme image or a picture file; when neither loads, the picture file of that name is tried
  // as a last resort (an application's own icon).
  static SmartBitmap LoadIcon(const std::string& name);
};

}  // namespace marrowleaf::desktop
