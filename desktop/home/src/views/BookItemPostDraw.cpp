#include "views/BookItemPostDraw.h"

#include <algorithm>

#include "platform/mw/MWColor.h"
#include "platform/mw/MWGraphics.h"
#include "platform/sdk/device.h"
#include "platform/sdk/log.h"
#include "platform/sdk/theme.h"
#include "views/ThemeImage.h"

namespace marrowleaf::desktop {
namespace {

// The progress bar's height and its distance from the tile's bottom, as parts of the tile height.
constexpr int kBarHeightPerMille = 40;
constexpr int kBarInsetPerMille = 30;

// The read part of the bar: black on a grey panel, the theme's accent on a colour one.
int ProgressColour() {
  if (device_display_colormask() == 0)
    return MW_COLOR_BLACK;
  AttributeLoader theme;
  theme.Set("accent", GetThemeString("accent_color", "#000000"));
  return theme.GetColor("accent", MW_COLOR_BLACK);
}

}  // namespace

int BookItemPostDraw::LoadAttributes(const AttributeLoader& loader) {
  MWWindow::LoadAttributes(loader);
  tip_ = ThemeImage::Load(loader.GetString("desktop_progress_bar_tip", ""));
  return 0;
}

int BookItemPostDraw::cloneFromPrototype(const MWWindow* prototype) {
  const auto* post_draw = dynamic_cast<const BookItemPostDraw*>(prototype);
  MW_RETURN_IF(post_draw == nullptr, -1, "Wrong prototype!!!");
  MWWindow::cloneFromPrototype(prototype);
  tip_ = post_draw->tip_;
  return 0;
}

void BookItemPostDraw::SetMode(int mode) {
  if (mode == mode_)
    return;
  mode_ = mode;
  MarkAsChanged();
}

void BookItemPostDraw::SetProgress(int percent) {
  if (percent == progress_)
    return;
  progress_ = percent;
  MarkAsChanged();
}

bool BookItemPostDraw::TileIsEmphasised() const {
  const MWWindow* tile = GetParent();
  return tile != nullptr && tile->HasExStyle(MWES_PRESSED);
}

int BookItemPostDraw::OnDraw(MWGraphics& graphics) {
  // The post-draw window may be narrower than the tile (a store tile widened for a series): it
  // stays at the tile's right edge and draws over the whole tile.
  const MWWindow* tile = GetParent();
  const int x_offset = tile != nullptr ? tile->Width() - Width() : 0;
  const MWRect whole{-x_offset, 0, Width() + x_offset, Height()};
  if (progress_ > 0)
    DrawProgress(graphics, whole);
  const bool emphasised = TileIsEmphasised();
  DrawFrame(graphics, whole, emphasised);
  if (emphasised && _device_touchpanel() == 0)
    DrawFocusCorners(graphics, whole);
  return 0;
}

void BookItemPostDraw::DrawProgress(MWGraphics& graphics, const MWRect& tile) const {
  const int frame = GetDefaultFrameCertifiedThickness(-2);
  const int height = std::max(3, tile.h * kBarHeightPerMille / 1000);
  const int inset = std::max(frame * 2, tile.h * kBarInsetPerMille / 1000);
  const MWRect bar{tile.x + inset, tile.Bottom() - inset - height, tile.w - 2 * inset, height};
  if (bar.w <= 0)
    return;
  const int colour = ProgressColour();
  graphics.FillRect(bar, MW_COLOR_WHITE);
  if (progress_ >= 100) {
    graphics.FillRect(bar, colour);
    return;
  }
  const int tip_width = tip_.IsEmpty() ? 0 : std::min(tip_.Width(), bar.w);
  const int done = progress_ * (bar.w - tip_width) / 100;
  graphics.FillRect(MWRect{bar.x, bar.y, done, bar.h}, colour);
  if (!tip_.IsEmpty())
    graphics.DrawBitmap(bar.x + done, bar.y + (bar.h - tip_.Height()) / 2, tip_, bar);
  graphics.DrawFrame(bar, GetDefaultFrameCertifiedThickness(-1), MW_COLOR_BLACK);
}

void BookItemPostDraw::DrawFrame(MWGraphics& graphics, const MWRect& tile,
                                 bool emphasised) const {
  const int thin = GetDefaultFrameCertifiedThickness(-1);
  const int thick = GetDefaultFrameCertifiedThickness(-3);
  if (mode_ == kEmptySlot && !emphasised) {
    const int dash = std::max(1, tile.h / 50);
    graphics.DrawDashedFrame(tile, dash, dash, MW_COLOR_BLACK, thin);
    return;
  }
  if (emphasised) {
    graphics.DrawFrame(tile, thick, MW_COLOR_BLACK);
    return;
  }
  switch (mode_) {
    case kCloudOnly: {
      // Not on the device: the outline is broken, like the empty slot's but finer.
      const int dash = std::max(2, tile.h / 40);
      graphics.DrawDashedFrame(tile, 2 * dash, dash, MW_COLOR_BLACK, thin);
      break;
    }
    case kMore:
      graphics.DrawFrame(tile, GetDefaultFrameCertifiedThickness(-2), MW_COLOR_BLACK,
                         std::max(2, tile.w / 20));
      break;
    default:
      graphics.DrawFrame(tile, thin, MW_COLOR_BLACK);
      break;
  }
}

void BookItemPostDraw::DrawFocusCorners(MWGraphics& graphics, const MWRect& tile) const {
  const int thick = GetDefaultFrameCertifiedThickness(-3);
  const int arm = std::max(thick * 3, std::min(tile.w, tile.h) / 6);
  const int left = tile.x;
  const int top = tile.y;
  const int right = tile.Right() - thick;
  const int bottom = tile.Bottom() - thick;
  graphics.FillRect(MWRect{left, top, arm, thick * 2}, MW_COLOR_BLACK);
  graphics.FillRect(MWRect{left, top, thick * 2, arm}, MW_COLOR_BLACK);
  graphics.FillRect(MWRect{right - arm + thick, top, arm, thick * 2}, MW_COLOR_BLACK);
  graphics.FillRect(MWRect{right - thick, top, thick * 2, arm}, MW_COLOR_BLACK);
  graphics.FillRect(MWRect{left, bottom - thick, arm, thick * 2}, MW_COLOR_BLACK);
  graphics.FillRect(MWRect{left, bottom - arm + thick, thick * 2, arm}, MW_COLOR_BLACK);
  graphics.FillRect(MWRect{right - arm + thick, bottom - thick, arm, thick * 2}, MW_COLOR_BLACK);
  graphics.FillRect(MWRect{right - thick, bottom - arm + thick, thick * 2, arm}, MW_COLOR_BLACK);
}

}  // namespace marrowleaf::desktop
