#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "DisplayBackend.h"
#include "EinkLook.h"
#include "PixelImage.h"
#include "ScreenState.h"

namespace marrowleaf::platform {

// The simulator's screen. It receives every screen update (ScreenState's update hook), copies the
// updated rectangle of the framebuffer into its picture of the panel in the e-ink look, and passes
// it to the back-end: headless keeps the picture in memory, the SDL back-end shows it in a window
// and sends the mouse and keyboard back as device input. The panel picture holds only what was
// updated, as on the device, so content drawn but never updated doesn't show in the window.
//
// The back-end is chosen by MARROWLEAF_DISPLAY: "sdl" or "headless"; without it, a window when the
// PC has a display ($DISPLAY or $WAYLAND_DISPLAY), headless otherwise. A window that can't open
// falls back to headless with a warning.
class Display {
 public:
  // Reads a rectangle of the framebuffer (clipped to the screen; the rectangle is changed to it).
  using FramebufferReader = std::function<PixelImage(int* x, int* y, int* width, int* height)>;

  static Display& Get();

  // Opens the back-end and installs the update hook. Calling it again while open does nothing.
  void Install();
  // Installs a given back-end instead of the chosen one (tests).
  void InstallBackend(std::unique_ptr<DisplayBackend> backend);
  // Removes the hook and closes the back-end.
  void Close();
  bool Installed() const;
  bool Interactive() const;
  const char* BackendName() const;

  // Replaces the framebuffer reader (tests); nullptr restores the real framebuffer.
  void SetFramebufferReader(FramebufferReader reader);

  // The framebuffer as the panel would show it after a full update, as a PNG file.
  bool SaveScreenshot(const std::string& host_path);
  // What the panel shows now (white where nothing was updated yet).
  PixelImage Panel() const;
  // Saves Panel() for the screenshot key; returns the device path written, or "".
  std::string SavePanelSnapshot();

  // The back-end chosen by the environment: "sdl" or "headless".
  static std::string ChosenBackend();

 private:
  Display() = default;
  static EinkLook ProfileLook();
  static void OnScreenUpdate(UpdateKind kind, int x, int y, int width, int height);
  void Update(UpdateKind kind, int x, int y, int width, int height);
  PixelImage ReadFramebuffer(int* x, int* y, int* width, int* height);
  void Attach(std::unique_ptr<DisplayBackend> backend, const char* name);
  std::unique_ptr<DisplayBackend> MakeWindowBackend();

  mutable std::mutex mutex_;
  std::unique_ptr<DisplayBackend> backend_;
  const char* backend_name_ = "none";
  FramebufferReader reader_;
  EinkLook look_{false};
  PixelImage panel_;
};

}  // namespace marrowleaf::platform
