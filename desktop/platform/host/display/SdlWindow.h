#pragma once

#include <string>

#include "PixelImage.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

namespace marrowleaf::platform {

struct SdlLibrary;

// The PC window that plays the panel: a texture the size of the screen, shown scaled down to fit
// the PC's desktop. The window library maps mouse positions back to screen pixels, so the mouse
// reaches the program in the device's coordinates whatever the window's size. Used by the window
// thread only.
class SdlWindow {
 public:
  explicit SdlWindow(const SdlLibrary& sdl) : sdl_(sdl) {}
  ~SdlWindow();
  SdlWindow(const SdlWindow&) = delete;
  SdlWindow& operator=(const SdlWindow&) = delete;

  bool Open(int width, int height, const std::string& title);
  void Close();
  // Copies area into the screen image at (x, y); the screen image grows to a new screen size.
  void Put(const PixelImage& area, int x, int y, int screen_width, int screen_height);
  void Present();
  // The panel's flash before a full update: black, then white, for a moment each.
  void Flash();
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  bool MakeTexture(int width, int height);
  void FillWith(int red, int green, int blue);

  const SdlLibrary& sdl_;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace marrowleaf::platform
