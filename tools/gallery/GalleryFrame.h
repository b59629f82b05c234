#pragma once

#include "platform/mw/MWAppFrame.h"

namespace marrowleaf::tools {

// The gallery's screen: the layout "Gallery" of gallery.json, with every control of the window
// framework filled with sample content (application icons in a grid, menu entries in a list,
// stars, page points, buttons, labels, a gradient and a missing image).
class GalleryFrame : public MWAppFrame {
 public:
  GalleryFrame(int argc, char** argv) : MWAppFrame(argc, argv) {}

  int OnCreate() override;
  // The device's exit event (the script's end) closes the gallery.
  int onExit() override;

 private:
  void FillGrid();
  void FillList();
  void FillStars();
  void FillPoints();
};

}  // namespace marrowleaf::tools
