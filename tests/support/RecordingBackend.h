#pragma once

#include <vector>

#include "DisplayBackend.h"

namespace marrowleaf::test {

struct ShownUpdate {
  platform::UpdateKind kind;
  int x;
  int y;
  platform::PixelImage area;
};

// A screen back-end that wants the pixels of every update, as a window does, so that the display
// keeps its copy of what the panel shows; it records the updates when given a list.
class RecordingBackend : public platform::DisplayBackend {
 public:
  explicit RecordingBackend(std::vector<ShownUpdate>* shown = nullptr) : shown_(shown) {}
  bool Start(int, int) override { return true; }
  void Show(platform::UpdateKind kind, const platform::PixelImage& area, int x, int y) override {
    if (shown_ != nullptr)
      shown_->push_back({kind, x, y, area});
  }
  bool Interactive() const override { return false; }
  void Stop() override {}

 private:
  std::vector<ShownUpdate>* shown_;
};

}  // namespace marrowleaf::test
