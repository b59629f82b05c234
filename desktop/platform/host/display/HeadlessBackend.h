#pragma once

#include "DisplayBackend.h"

namespace marrowleaf::platform {

// No window: the display's own copy of the panel is all there is, read by screenshots and tests.
class HeadlessBackend : public DisplayBackend {
 public:
  bool Start(int, int) override { return true; }
  void Show(UpdateKind, const PixelImage&, int, int) override {}
  bool Interactive() const override { return false; }
  void Stop() override {}
};

}  // namespace marrowleaf::platform
