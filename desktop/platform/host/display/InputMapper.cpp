#include "InputMapper.h"

#include <algorithm>
#include <cstdlib>

#include "platform/sdk/events.h"

namespace marrowleaf::platform {

void InputMapper::PointerDown(int x, int y, int64_t now_ms) {
  if (!touch_)
    return;
  pointer_ = Pointer{true, false, false, x, y, x, y, now_ms};
  sink_(EVT_POINTERDOWN, x, y);
}

void InputMapper::PointerMove(int x, int y, int64_t now_ms) {
  if (!touch_ || !pointer_.down || (x == pointer_.x && y == pointer_.y))
    return;
  Tick(now_ms);
  pointer_.x = x;
  pointer_.y = y;
  if (std::abs(x - pointer_.start_x) > kLongPressSlop ||
      std::abs(y - pointer_.start_y) > kLongPressSlop) {
    pointer_.moved_away = true;
  }
  sink_(EVT_POINTERMOVE, x, y);
}

void InputMapper::PointerUp(int x, int y, int64_t now_ms) {
  if (!touch_ || !pointer_.down)
    return;
  // A long press that fell due while nothing else happened is still sent before the lift.
  Tick(now_ms);
  pointer_.down = false;
  sink_(EVT_POINTERUP, x, y);
}

void InputMapper::KeyDown(int device_key, int64_t now_ms) {
  // One key at a time, as on the device: a second key ends the first one's press.
  if (key_.code >= 0)
    KeyUp(key_.code, now_ms);
  key_ = Key{device_key, 0, now_ms + kLongPressMs};
  sink_(EVT_KEYPRESS, device_key, 0);
}

void InputMapper::KeyUp(int device_key, int64_t now_ms) {
  if (key_.code != device_key)
    return;
  Tick(now_ms);
  const int long_press = key_.repeats > 0 ? 1 : 0;
  key_ = Key{};
  sink_(EVT_KEYRELEASE, device_key, long_press);
}

int64_t InputMapper::Tick(int64_t now_ms) {
  if (pointer_.down && !pointer_.long_sent && !pointer_.moved_away &&
      now_ms - pointer_.down_ms >= kLongPressMs) {
    pointer_.long_sent = true;
    sink_(EVT_POINTERLONG, pointer_.x, pointer_.y);
  }
  if (key_.code >= 0 && now_ms >= key_.next_repeat_ms) {
    // A late tick sends one repeat, not a burst: the device reports the held key, not missed time.
    ++key_.repeats;
    key_.next_repeat_ms = now_ms + kRepeatEveryMs;
    sink_(EVT_KEYREPEAT, key_.code, key_.repeats);
  }
  return NextDeadline();
}

int64_t InputMapper::NextDeadline() const {
  int64_t next = -1;
  if (pointer_.down && !pointer_.long_sent && !pointer_.moved_away) {
    next = pointer_.down_ms + kLongPressMs;
  }
  if (key_.code >= 0)
    next = next < 0 ? key_.next_repeat_ms : std::min(next, key_.next_repeat_ms);
  return next;
}

}  // namespace marrowleaf::platform
