#include "Display.h"

#include <algorithm>
#include <cstdlib>

#include "DeviceProfile.h"
#include "DialogLayer.h"
#include "DialogPainter.h"
#include "Framebuffer.h"
#include "HeadlessBackend.h"
#include "LoopControl.h"
#include "PanelPainter.h"
#include "ScreenshotFile.h"
#ifndef MARROWLEAF_NO_WINDOW
#include "SdlBackend.h"
#endif
#include "platform/sdk/files.h"
#include "platform/sdk/log.h"
#include "platform/sdk/screen.h"

namespace marrowleaf::platform {
namespace {

bool HasEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// Copies the rectangle of one picture into another at the same place (both the screen's size).
// Rows of one band of an update (see Update).
constexpr int kBandRows = 64;

void CopyInto(PixelImage& target, const PixelImage& area, int x, int y) {
  for (int row = 0; row < area.height && y + row < target.height; ++row) {
    for (int column = 0; column < area.width && x + column < target.width; ++column) {
      target.At(x + column, y + row) = area.At(column, row);
    }
  }
}

}  // namespace

EinkLook Display::ProfileLook() {
  return EinkLook(DeviceProfile::Get().Int("color") != 0);
}

Display& Display::Get() {
  static Display display;
  return display;
}

std::string Display::ChosenBackend() {
  const char* chosen = std::getenv("MARROWLEAF_DISPLAY");
  if (chosen != nullptr && *chosen != '\0') {
    const std::string name = chosen;
    if (name == "sdl" || name == "headless")
      return name;
    MW_LOG(MW_LOG_WARNING, "unknown MARROWLEAF_DISPLAY '%s'; running headless", chosen);
    return "headless";
  }
  return HasEnvironment("DISPLAY") || HasEnvironment("WAYLAND_DISPLAY") ? "sdl" : "headless";
}

void Display::Install() {
  if (Installed())
    return;
  if (ChosenBackend() == "sdl") {
    auto window = MakeWindowBackend();
    if (window && window->Start(ScreenWidth(), ScreenHeight())) {
      MW_LOG(MW_LOG_INFO, "screen: a window of %dx%d (F12 saves a screenshot in .sim/)",
             ScreenWidth(), ScreenHeight());
      Attach(std::move(window), "sdl");
      return;
    }
    MW_LOG(MW_LOG_WARNING, "the window could not open; running headless");
  }
  auto headless = std::make_unique<HeadlessBackend>();
  headless->Start(ScreenWidth(), ScreenHeight());
  Attach(std::move(headless), "headless");
}

void Display::InstallBackend(std::unique_ptr<DisplayBackend> backend) {
  Close();
  Attach(std::move(backend), "custom");
}

#ifdef MARROWLEAF_NO_WINDOW
// A build without SDL2 (a cross build whose SDL2 could not be installed) has no window to open.
std::unique_ptr<DisplayBackend> Display::MakeWindowBackend() {
  return nullptr;
}
#else
std::unique_ptr<DisplayBackend> Display::MakeWindowBackend() {
  SdlBackend::Hooks hooks;
  hooks.post_event = [](int type, int par1, int par2) { PostEvent(type, par1, par2); };
  hooks.screenshot = [this] {
    const std::string written = SavePanelSnapshot();
    if (!written.empty())
      MW_LOG(MW_LOG_INFO, "screenshot %s", HostPath(written).c_str());
  };
  const DeviceProfile& profile = DeviceProfile::Get();
  const std::string title = "Marrowleaf " + profile.String("model") + " (" +
                            std::to_string(ScreenWidth()) + "x" + std::to_string(ScreenHeight()) +
                            ")";
  return std::make_unique<SdlBackend>(std::move(hooks), profile.Int("touch") != 0, title);
}
#endif

void Display::Attach(std::unique_ptr<DisplayBackend> backend, const char* name) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    backend_ = std::move(backend);
    backend_name_ = name;
    look_ = ProfileLook();
    panel_ = backend_->WantsPixels() ? PixelImage(ScreenWidth(), ScreenHeight()) : PixelImage();
  }
  SetScreenUpdateHook(&Display::OnScreenUpdate);
  // The system shows its panel from the start, before the program updates anything, and the
  // messages the start-up upkeep gave before the screen was there.
  const MWRect panel = PanelPainter::Rect();
  if (!panel.IsEmpty())
    Update(UpdateKind::kPartial, panel.x, panel.y, panel.w, panel.h);
  DialogLayer::Get().SetPresenter(&DialogPainter::Place, &DialogPainter::Show);
}

void Display::Close() {
  DialogLayer::Get().SetPresenter(nullptr, nullptr);
  std::unique_ptr<DisplayBackend> backend;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!backend_)
      return;
    SetScreenUpdateHook(nullptr);
    backend = std::move(backend_);
    backend_name_ = "none";
  }
  // Stopped outside the lock: the window thread may be waiting for it to save a screenshot.
  backend->Stop();
}

bool Display::Installed() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return backend_ != nullptr;
}

bool Display::Interactive() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return backend_ != nullptr && backend_->Interactive();
}

const char* Display::BackendName() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return backend_name_;
}

void Display::SetFramebufferReader(FramebufferReader reader) {
  std::lock_guard<std::mutex> lock(mutex_);
  reader_ = std::move(reader);
}

PixelImage Display::ReadFramebuffer(int* x, int* y, int* width, int* height) {
  FramebufferReader reader;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    reader = reader_;
  }
  if (reader)
    return reader(x, y, width, height);
  MWRect rect{*x, *y, *width, *height};
  PixelImage image;
  image.pixels = Framebuffer::Get().CopyRect(&rect);
  *x = rect.x;
  *y = rect.y;
  *width = image.width = rect.w;
  *height = image.height = rect.h;
  if (image.pixels.size() != static_cast<size_t>(rect.w) * static_cast<size_t>(rect.h)) {
    return PixelImage();
  }
  return image;
}

void Display::OnScreenUpdate(UpdateKind kind, int x, int y, int width, int height) {
  Get().Update(kind, x, y, width, height);
}

void Display::Update(UpdateKind kind, int x, int y, int width, int height) {
  PanelPainter::PaintFor(MWRect{x, y, width, height});
  DialogPainter::PaintFor(MWRect{x, y, width, height});
  DisplayBackend* backend = nullptr;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    backend = backend_.get();
  }
  // A back-end that shows nothing itself (headless) needs neither the area nor a copy of the
  // panel, each a screen's worth of memory for a whole-screen update: screenshots read the
  // framebuffer. The back-end is replaced only on the event-loop thread, which is this one.
  if (backend == nullptr || !backend->WantsPixels())
    return;
  PixelImage area = ReadFramebuffer(&x, &y, &width, &height);
  if (area.Empty())
    return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    look_.Apply(area);
    if (panel_.width != ScreenWidth() || panel_.height != ScreenHeight())
      panel_ = PixelImage(ScreenWidth(), ScreenHeight());
    CopyInto(panel_, area, x, y);
  }
  backend->Show(kind, area, x, y);
}

bool Display::SaveScreenshot(const std::string& host_path) {
  PanelPainter::Paint();
  DialogPainter::PaintAll();
  // The profile's look, not the installed one: screenshots work before the display opens too.
  const EinkLook look = ProfileLook();
  DeflatePng::Image picture;
  picture.components = DeviceProfile::Get().Int("color") != 0 ? 3 : 1;
  for (int top = 0; top < ScreenHeight(); top += kBandRows) {
    int x = 0;
    int y = top;
    int width = ScreenWidth();
    int height = std::min(kBandRows, ScreenHeight() - top);
    PixelImage band = ReadFramebuffer(&x, &y, &width, &height);
    if (band.Empty())
      return false;
    look.Apply(band);
    ScreenshotFile::AppendRows(band, &picture);
  }
  return ScreenshotFile::WritePng(picture, host_path);
}

PixelImage Display::Panel() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return panel_;
}

std::string Display::SavePanelSnapshot() {
  const std::string name = ScreenshotFile::NextKeyScreenshotName();
  return ScreenshotFile::Write(Panel(), HostPath(name)) ? name : "";
}

}  // namespace marrowleaf::platform
