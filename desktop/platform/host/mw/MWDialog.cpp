#include "platform/mw/MWDialog.h"

#include <climits>
#include <cstdlib>
#include <vector>

#include "platform/mw/MWAppFrame.h"
#include "platform/sdk/events.h"

namespace {

// Squared distance from a point to a rectangle (0 inside).
long long DistanceToRect(int x, int y, const MWRect& rect) {
  const long long dx = x < rect.x ? rect.x - x : (x >= rect.Right() ? x - rect.Right() + 1 : 0);
  const long long dy = y < rect.y ? rect.y - y : (y >= rect.Bottom() ? y - rect.Bottom() + 1 : 0);
  return dx * dx + dy * dy;
}

bool IsArrowKey(int key) {
  return key == KEY_UP || key == KEY_DOWN || key == KEY_LEFT || key == KEY_RIGHT;
}

}  // namespace

void MWDialog::CollectFocusable(const MWWindow* window, std::vector<MWWindow*>* out) const {
  for (MWWindow* child : window->Children()) {
    if (!child->IsVisible())
      continue;
    if (child->IsFocusable())
      out->push_back(child);
    CollectFocusable(child, out);
  }
}

MWWindow* MWDialog::FindNearestWindow(int x, int y) const {
  std::vector<MWWindow*> candidates;
  CollectFocusable(this, &candidates);
  const MWRect origin = ScreenRect();
  MWWindow* best = nullptr;
  long long best_distance = LLONG_MAX;
  for (MWWindow* candidate : candidates) {
    const long long distance = DistanceToRect(x + origin.x, y + origin.y, candidate->ScreenRect());
    if (distance < best_distance) {
      best = candidate;
      best_distance = distance;
    }
  }
  return best;
}

// Candidates must lie beyond `from` in the key's direction; the nearest by distance along the
// direction, with sideways distance weighted double so that the focus keeps to its row or column.
MWWindow* MWDialog::FindNearestWindowInDirection(const MWWindow* from, int key) const {
  if (from == nullptr || !IsArrowKey(key))
    return nullptr;
  std::vector<MWWindow*> candidates;
  CollectFocusable(this, &candidates);
  const MWRect a = from->ScreenRect();
  const int ax = a.x + a.w / 2;
  const int ay = a.y + a.h / 2;
  MWWindow* best = nullptr;
  long long best_score = LLONG_MAX;
  for (MWWindow* candidate : candidates) {
    if (candidate == from || candidate->IsAncestorOf(from) || from->IsAncestorOf(candidate))
      continue;
    const MWRect b = candidate->ScreenRect();
    const int bx = b.x + b.w / 2;
    const int by = b.y + b.h / 2;
    long long along = 0;
    long long aside = 0;
    switch (key) {
      case KEY_UP:
        along = a.y - b.Bottom();
        aside = std::abs(bx - ax);
        break;
      case KEY_DOWN:
        along = b.y - a.Bottom();
        aside = std::abs(bx - ax);
        break;
      case KEY_LEFT:
        along = a.x - b.Right();
        aside = std::abs(by - ay);
        break;
      default:
        along = b.x - a.Right();
        aside = std::abs(by - ay);
        break;
    }
    if (along < 0)
      continue;
    const long long score = along + 2 * aside;
    if (score < best_score) {
      best = candidate;
      best_score = score;
    }
  }
  return best;
}

int MWDialog::MainHandler(int type, int par1, int par2) {
  if (MWWindow::MainHandler(type, par1, par2) != 0)
    return 1;
  if ((type != EVT_KEYPRESS && type != EVT_KEYREPEAT) || !IsArrowKey(par1))
    return 0;
  MWAppFrame* frame = MWAppFrame::m_curFrame;
  if (frame == nullptr)
    return 0;
  MWWindow* focused = frame->GetFocusedWindow();
  if (focused == nullptr || !IsAncestorOf(focused) || focused == this)
    return 0;
  MWWindow* next = FindNearestWindowInDirection(focused, par1);
  if (next == nullptr)
    return 0;
  next->SetFocus(par1);
  return 1;
}
