#include "SdlWindow.h"

#include <algorithm>

#include "SdlLibrary.h"
#include "platform/sdk/log.h"

namespace marrowleaf::platform {
namespace {

// How long each phase of the flash stays on the window: short enough not to slow the program down,
// long enough to be seen.
constexpr Uint32 kFlashPhaseMs = 70;

// The largest window that fits the PC's desktop with room for its title bar and task bar.
double FitScale(const SdlLibrary& sdl, int width, int height) {
  SDL_Rect usable;
  if (sdl.GetDisplayUsableBounds(0, &usable) != 0 || usable.w <= 0 || usable.h <= 0)
    return 1.0;
  const double scale = std::min(0.92 * usable.w / width, 0.92 * usable.h / height);
  return std::min(1.0, scale);
}

}  // namespace

SdlWindow::~SdlWindow() {
  Close();
}

bool SdlWindow::Open(int width, int height, const std::string& title) {
  const double scale = FitScale(sdl_, width, height);
  window_ = sdl_.CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                              std::max(1, static_cast<int>(width * scale)),
                              std::max(1, static_cast<int>(height * scale)), SDL_WINDOW_RESIZABLE);
  if (!window_) {
    MW_LOG(MW_LOG_ERROR, "can't open the window: %s", sdl_.GetError());
    return false;
  }
  renderer_ = sdl_.CreateRenderer(window_, -1, 0);
  if (!renderer_)
    renderer_ = sdl_.CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  if (!renderer_) {
    MW_LOG(MW_LOG_ERROR, "can't draw in the window: %s", sdl_.GetError());
    Close();
    return false;
  }
  // Linear filtering keeps text readable when the window is smaller than the screen.
  sdl_.SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
  if (!MakeTexture(width, height)) {
    Close();
    return false;
  }
  FillWith(255, 255, 255);
  return true;
}

void SdlWindow::Close() {
  if (texture_)
    sdl_.DestroyTexture(texture_);
  if (renderer_)
    sdl_.DestroyRenderer(renderer_);
  if (window_)
    sdl_.DestroyWindow(window_);
  texture_ = nullptr;
  renderer_ = nullptr;
  window_ = nullptr;
}

bool SdlWindow::MakeTexture(int width, int height) {
  if (texture_)
    sdl_.DestroyTexture(texture_);
  texture_ = sdl_.CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                width, height);
  if (!texture_) {
    MW_LOG(MW_LOG_ERROR, "can't make the screen image: %s", sdl_.GetError());
    return false;
  }
  width_ = width;
  height_ = height;
  sdl_.RenderSetLogicalSize(renderer_, width, height);
  // A new texture holds whatever the driver left in it; the panel starts white.
  const PixelImage white(width, height);
  sdl_.UpdateTexture(texture_, nullptr, white.pixels.data(),
                     width * static_cast<int>(sizeof(uint32_t)));
  return true;
}

void SdlWindow::Put(const PixelImage& area, int x, int y, int screen_width, int screen_height) {
  if (!texture_ || area.Empty())
    return;
  if ((screen_width != width_ || screen_height != height_) &&
      !MakeTexture(screen_width, screen_height)) {
    return;
  }
  const SDL_Rect rect{x, y, area.width, area.height};
  sdl_.UpdateTexture(texture_, &rect, area.pixels.data(),
                     area.width * static_cast<int>(sizeof(uint32_t)));
}

void SdlWindow::Present() {
  if (!renderer_)
    return;
  sdl_.SetRenderDrawColor(renderer_, 255, 255, 255, 255);
  sdl_.RenderClear(renderer_);
  sdl_.RenderCopy(renderer_, texture_, nullptr, nullptr);
  sdl_.RenderPresent(renderer_);
}

void SdlWindow::FillWith(int red, int green, int blue) {
  if (!renderer_)
    return;
  sdl_.SetRenderDrawColor(renderer_, static_cast<Uint8>(red), static_cast<Uint8>(green),
                          static_cast<Uint8>(blue), 255);
  sdl_.RenderClear(renderer_);
  sdl_.RenderPresent(renderer_);
}

void SdlWindow::Flash() {
  FillWith(0, 0, 0);
  sdl_.Delay(kFlashPhaseMs);
  FillWith(255, 255, 255);
  sdl_.Delay(kFlashPhaseMs);
}

}  // namespace marrowleaf::platform
