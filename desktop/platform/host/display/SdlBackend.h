#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "DisplayBackend.h"
#include "InputMapper.h"

union SDL_Event;

namespace marrowleaf::platform {

class SdlWindow;
struct SdlLibrary;

// The panel as a window on the PC. One thread of its own owns the window: it shows the updates the
// event loop hands over, flashes on full updates, and turns the mouse and keyboard into device
// events (InputMapper, KeyBindings) posted to the event loop. Closing the window is the device's
// exit event. Show blocks the caller until the window shows the update, as the device's update call
// blocks until the panel has changed.
class SdlBackend : public DisplayBackend {
 public:
  struct Hooks {
    // Where the device events go.
    InputMapper::Sink post_event;
    // The screenshot key was pressed.
    std::function<void()> screenshot;
  };

  SdlBackend(Hooks hooks, bool touch, std::string title);
  ~SdlBackend() override;

  bool Start(int width, int height) override;
  void Show(UpdateKind kind, const PixelImage& area, int x, int y) override;
  bool Interactive() const override { return true; }
  void Stop() override;

 private:
  struct PendingUpdate {
    UpdateKind kind;
    PixelImage area;
    int x;
    int y;
  };
  enum class State { kIdle, kStarting, kRunning, kFailed, kStopped };

  void Run(int width, int height);
  bool OpenWindow(SdlWindow& window, int width, int height);
  void Loop(SdlWindow& window);
  void Handle(const SDL_Event& event, InputMapper& input);
  void HandleKey(const SDL_Event& event, InputMapper& input);
  void ShowPending(SdlWindow& window);
  void Wake();

  Hooks hooks_;
  // Set by Start before the window thread runs; null until then.
  const SdlLibrary* sdl_ = nullptr;
  bool touch_;
  std::string title_;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable changed_;
  State state_ = State::kIdle;
  bool stop_ = false;
  std::deque<PendingUpdate> pending_;
  uint64_t queued_ = 0;
  uint64_t shown_ = 0;
  uint32_t wake_event_ = 0;
};

}  // namespace marrowleaf::platform
