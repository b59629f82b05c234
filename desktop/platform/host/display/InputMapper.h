#pragma once

#include <cstdint>
#include <functional>

namespace marrowleaf::platform {

// Turns the PC's mouse and keyboard into the device's input events, with the device's timing: the
// mouse is a finger (down, move, up; held 500 ms in place it is a long press), a key held 500 ms
// starts repeating and its release then says it was a long press. The caller feeds it what the
// window reports and calls Tick when the time it returns has passed; the events go to the sink in
// the order the device would send them. A device without a touch panel ignores the mouse.
class InputMapper {
 public:
  using Sink = std::function<void(int type, int par1, int par2)>;

  static constexpr int64_t kLongPressMs = 500;
  static constexpr int64_t kRepeatEveryMs = 250;
  // A finger that moves further than this (in pixels, either way) is a swipe, not a long press.
  static constexpr int kLongPressSlop = 12;

  InputMapper(Sink sink, bool touch) : sink_(std::move(sink)), touch_(touch) {}

  void PointerDown(int x, int y, int64_t now_ms);
  void PointerMove(int x, int y, int64_t now_ms);
  void PointerUp(int x, int y, int64_t now_ms);
  // The window's own auto-repeat must be filtered out by the caller: one KeyDown per press.
  void KeyDown(int device_key, int64_t now_ms);
  void KeyUp(int device_key, int64_t now_ms);
  // Sends the long press or key repeat that is due. Returns the time of the next one, or -1.
  int64_t Tick(int64_t now_ms);

 private:
  struct Pointer {
    bool down = false;
    bool long_sent = false;
    bool moved_away = false;
    int x = 0;
    int y = 0;
    int start_x = 0;
    int start_y = 0;
    int64_t down_ms = 0;
  };
  struct Key {
    int code = -1;
    int repeats = 0;
    int64_t next_repeat_ms = 0;
  };

  int64_t NextDeadline() const;

  Sink sink_;
  bool touch_;
  Pointer pointer_;
  Key key_;
};

}  // namespace marrowleaf::platform
