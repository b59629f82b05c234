#include "SdlBackend.h"

#include <algorithm>
#include <chrono>

#include "KeyBindings.h"
#include "SdlLibrary.h"
#include "SdlWindow.h"
#include "platform/sdk/events.h"
#include "platform/sdk/log.h"

namespace marrowleaf::platform {
namespace {

// The window thread looks at the clock at least this often while waiting for input.
constexpr int kPollMs = 50;
// An update that the window hasn't shown by then is given up, so a stuck window can't hang the
// program.
constexpr auto kShowGiveUp = std::chrono::seconds(3);

int64_t NowMs(const SdlLibrary& sdl) {
  return static_cast<int64_t>(sdl.GetTicks64());
}

}  // namespace

SdlBackend::SdlBackend(Hooks hooks, bool touch, std::string title)
    : hooks_(std::move(hooks)), touch_(touch), title_(std::move(title)) {}

SdlBackend::~SdlBackend() {
  Stop();
}

bool SdlBackend::Start(int width, int height) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (state_ != State::kIdle)
    return state_ == State::kRunning;
  sdl_ = SdlLibrary::Get();
  if (sdl_ == nullptr) {
    state_ = State::kFailed;
    return false;
  }
  state_ = State::kStarting;
  thread_ = std::thread([this, width, height] { Run(width, height); });
  changed_.wait(lock, [this] { return state_ != State::kStarting; });
  return state_ == State::kRunning;
}

void SdlBackend::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  Wake();
  if (thread_.joinable())
    thread_.join();
  std::lock_guard<std::mutex> lock(mutex_);
  state_ = State::kStopped;
  changed_.notify_all();
}

void SdlBackend::Wake() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (state_ != State::kRunning)
    return;
  SDL_Event event{};
  event.type = wake_event_;
  sdl_->PushEvent(&event);
}

void SdlBackend::Show(UpdateKind kind, const PixelImage& area, int x, int y) {
  uint64_t ticket = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (state_ != State::kRunning)
      return;
    pending_.push_back({kind, area, x, y});
    ticket = ++queued_;
  }
  Wake();
  std::unique_lock<std::mutex> lock(mutex_);
  const bool shown = changed_.wait_for(
      lock, kShowGiveUp, [this, ticket] { return shown_ >= ticket || state_ != State::kRunning; });
  if (!shown)
    MW_LOG(MW_LOG_WARNING, "the window did not show an update in time");
}

void SdlBackend::Run(int width, int height) {
  SdlWindow window(*sdl_);
  const bool opened = OpenWindow(window, width, height);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    state_ = opened ? State::kRunning : State::kFailed;
    changed_.notify_all();
  }
  if (opened)
    Loop(window);
  window.Close();
  sdl_->QuitSubSystem(SDL_INIT_VIDEO);
  std::lock_guard<std::mutex> lock(mutex_);
  state_ = State::kStopped;
  changed_.notify_all();
}

bool SdlBackend::OpenWindow(SdlWindow& window, int width, int height) {
  if (sdl_->InitSubSystem(SDL_INIT_VIDEO) != 0) {
    MW_LOG(MW_LOG_WARNING, "no window system: %s", sdl_->GetError());
    return false;
  }
  wake_event_ = sdl_->RegisterEvents(1);
  if (wake_event_ == static_cast<uint32_t>(-1) || !window.Open(width, height, title_)) {
    sdl_->QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  window.Present();
  return true;
}

void SdlBackend::Loop(SdlWindow& window) {
  InputMapper input(hooks_.post_event, touch_);
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stop_)
        return;
    }
    const int64_t now = NowMs(*sdl_);
    const int64_t due = input.Tick(now);
    const int timeout =
        due < 0 ? kPollMs : static_cast<int>(std::clamp<int64_t>(due - now, 1, kPollMs));
    SDL_Event event;
    if (sdl_->WaitEventTimeout(&event, timeout)) {
      Handle(event, input);
      while (sdl_->PollEvent(&event)) Handle(event, input);
    }
    ShowPending(window);
  }
}

void SdlBackend::Handle(const SDL_Event& event, InputMapper& input) {
  const int64_t now = NowMs(*sdl_);
  switch (event.type) {
    case SDL_QUIT:
      hooks_.post_event(EVT_EXIT, 0, 0);
      break;
    case SDL_MOUSEBUTTONDOWN:
      if (event.button.button == SDL_BUTTON_LEFT)
        input.PointerDown(event.button.x, event.button.y, now);
      break;
    case SDL_MOUSEMOTION:
      if (event.motion.state & SDL_BUTTON_LMASK)
        input.PointerMove(event.motion.x, event.motion.y, now);
      break;
    case SDL_MOUSEBUTTONUP:
      if (event.button.button == SDL_BUTTON_LEFT)
        input.PointerUp(event.button.x, event.button.y, now);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      HandleKey(event, input);
      break;
    default:
      break;
  }
}

void SdlBackend::HandleKey(const SDL_Event& event, InputMapper& input) {
  // The PC's own key repeat is ignored: the device's repeat comes from InputMapper's timing.
  if (event.key.repeat != 0)
    return;
  const auto binding = KeyBindings::ForKeyName(sdl_->GetKeyName(event.key.keysym.sym));
  const bool down = event.type == SDL_KEYDOWN;
  if (binding.action == KeyBindings::Action::kScreenshot) {
    if (down && hooks_.screenshot)
      hooks_.screenshot();
    return;
  }
  if (binding.action != KeyBindings::Action::kDeviceKey)
    return;
  if (down) {
    input.KeyDown(binding.device_key, NowMs(*sdl_));
  } else {
    input.KeyUp(binding.device_key, NowMs(*sdl_));
  }
}

void SdlBackend::ShowPending(SdlWindow& window) {
  std::deque<PendingUpdate> updates;
  uint64_t last = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    updates.swap(pending_);
    last = queued_;
  }
  if (updates.empty())
    return;
  bool flash = false;
  for (const PendingUpdate& update : updates) {
    flash = flash || update.kind == UpdateKind::kFull;
    // A full update carries the whole screen, so it also tells a new screen size (another
    // orientation); other updates only ever fit inside the screen.
    const bool whole = update.kind == UpdateKind::kFull && update.x == 0 && update.y == 0;
    const int width = whole ? update.area.width : window.Width();
    const int height = whole ? update.area.height : window.Height();
    window.Put(update.area, update.x, update.y, width, height);
  }
  if (flash)
    window.Flash();
  window.Present();
  std::lock_guard<std::mutex> lock(mutex_);
  shown_ = last;
  changed_.notify_all();
}

}  // namespace marrowleaf::platform
