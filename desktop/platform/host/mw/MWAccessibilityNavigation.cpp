#include "platform/mw/MWAccessibilityNavigation.h"

#include <algorithm>
#include <vector>

#include "platform/mw/MWAppFrame.h"

namespace {

void CollectInOrder(MWWindow* window, std::vector<MWWindow*>* out) {
  for (MWWindow* child : window->Children()) {
    if (!child->IsVisible())
      continue;
    if (child->IsFocusable())
      out->push_back(child);
    CollectInOrder(child, out);
  }
}

}  // namespace

MWWindow* MWAccessibilityNavigation::navigate(int command, MWWindow* root) {
  if (root == nullptr)
    return nullptr;
  if (command != MW_ACCESSIBILITY_NEXT && command != MW_ACCESSIBILITY_PREVIOUS)
    return nullptr;
  std::vector<MWWindow*> windows;
  CollectInOrder(root, &windows);
  if (windows.empty())
    return nullptr;
  const MWAppFrame* frame = MWAppFrame::m_curFrame;
  MWWindow* focused = frame != nullptr ? frame->GetFocusedWindow() : nullptr;
  auto current = std::find(windows.begin(), windows.end(), focused);
  const bool forward = command == MW_ACCESSIBILITY_NEXT;
  if (current == windows.end())
    return forward ? windows.front() : windows.back();
  const long size = static_cast<long>(windows.size());
  const long index = current - windows.begin();
  return windows[static_cast<size_t>((index + (forward ? 1 : -1) + size) % size)];
}
