#pragma once

#include <algorithm>

// A rectangle in screen or window coordinates.
struct MWRect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;

  int Right() const { return x + w; }
  int Bottom() const { return y + h; }
  bool IsEmpty() const { return w <= 0 || h <= 0; }
  bool Contains(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
  bool operator==(const MWRect& other) const {
    return x == other.x && y == other.y && w == other.w && h == other.h;
  }
  bool operator!=(const MWRect& other) const { return !(*this == other); }
  // The common part (empty when they don't overlap).
  MWRect Intersect(const MWRect& other) const {
    const int left = std::max(x, other.x);
    const int top = std::max(y, other.y);
    const int right = std::min(Right(), other.Right());
    const int bottom = std::min(Bottom(), other.Bottom());
    if (right <= left || bottom <= top)
      return MWRect{left, top, 0, 0};
    return MWRect{left, top, right - left, bottom - top};
  }
  // The smallest rectangle holding both (an empty one adds nothing).
  MWRect Union(const MWRect& other) const {
    if (other.IsEmpty())
      return *this;
    if (IsEmpty())
      return other;
    const int left = std::min(x, other.x);
    const int top = std::min(y, other.y);
    return MWRect{left, top, std::max(Right(), other.Right()) - left,
                  std::max(Bottom(), other.Bottom()) - top};
  }
  MWRect Offset(int dx, int dy) const { return MWRect{x + dx, y + dy, w, h}; }
};
