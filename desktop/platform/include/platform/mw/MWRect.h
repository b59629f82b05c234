#pragma once

// A rectangle in screen or window coordinates.
struct MWRect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;

  bool IsEmpty() const { return w <= 0 || h <= 0; }
  bool Contains(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
  bool operator==(const MWRect& other) const {
    return x == other.x && y == other.y && w == other.w && h == other.h;
  }
};
