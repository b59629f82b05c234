#pragma once

#include "platform/mw/MWWindow.h"
#include "platform/utils/SmartBitmap.h"

namespace marrowleaf::desktop {

// Painted over a book tile (its child "BookPostDraw", the tile's last child): the reading progress
// bar and the tile's frame. The frame says what the tile is; it is thick while the tile is pressed,
// or focused on a device without a touch panel.
class BookItemPostDraw : public MWWindow {
 public:
  enum Mode : int {
    kEmptySlot = 0,
    kBook = 1,
    kAudioBook = 2,
    kCloudOnly = 3,
    kMore = 4,
  };

  BookItemPostDraw() { SetClassName("BookItemPostDraw"); }

  void SetMode(int mode);
  int GetMode() const { return mode_; }
  // Percent read; -1 (or 0) draws no bar.
  void SetProgress(int percent);
  int GetProgress() const { return progress_; }

  int OnDraw(MWGraphics& graphics) override;
  int LoadAttributes(const AttributeLoader& loader) override;
  int cloneFromPrototype(const MWWindow* prototype) override;

 private:
  void DrawProgress(MWGraphics& graphics, const MWRect& tile) const;
  void DrawFrame(MWGraphics& graphics, const MWRect& tile, bool emphasised) const;
  void DrawFocusCorners(MWGraphics& graphics, const MWRect& tile) const;
  bool TileIsEmphasised() const;

  int mode_ = kBook;
  int progress_ = -1;
  SmartBitmap tip_;
};

}  // namespace marrowleaf::desktop
