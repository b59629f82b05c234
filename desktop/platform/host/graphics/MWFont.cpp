#include "platform/mw/MWFont.h"

#include <algorithm>

#include "platform/sdk/screen.h"

int MWFont::PixelSize() const {
  const int dpi = ScreenDpi() > 0 ? ScreenDpi() : 96;
  return std::max(1, (size * dpi + 36) / 72);
}
