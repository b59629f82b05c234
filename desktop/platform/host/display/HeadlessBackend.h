#pragma once

#include "DisplayBackend.h"

namespace marrowleaf::platform {

// No window and no copy of the panel: screenshots read the framebuffer.
class HeadlessBackend : public DisplayBackend {
 public:
  bool Start(int, int) override { return true; }
  void Show(UpdateKind, const PixelImage&, int, int) override {}
  bool WantsPixels() const override { return false; }
  bool Interactive() const override { return false; }
  void Stop() override {}
};

}  // namespace marrowleaf::platform
