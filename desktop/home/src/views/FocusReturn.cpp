#include "views/FocusReturn.h"

#include "platform/mw/MWAppFrame.h"
#include "platform/sdk/device.h"
#include "platform/sdk/device_features.h"

namespace marrowleaf::desktop {

void FocusReturn::Take(MWWindow& owner, MWWindow& target) {
  MWAppFrame* frame = MWAppFrame::m_curFrame;
  if (frame == nullptr)
    return;
  MWWindow* focused = frame->GetFocusedWindow();
  if (focused != nullptr && focused != &owner && !owner.IsAncestorOf(focused))
    previous_ = focused;
  target.SetFocus();
}

bool FocusReturn::FocusIsShown() {
  return _device_touchpanel() == 0 || accessibilityFocusEnable() != 0;
}

void FocusReturn::GiveBack() {
  MWWindow* previous = previous_;
  previous_ = nullptr;
  MWAppFrame* frame = MWAppFrame::m_curFrame;
  // The window may lie in a screen shown again right after this one is hidden (the home screen
  // behind the add-books grid): it only has to be there still.
  if (frame == nullptr || previous == nullptr || !MWWindow::IsAlive(previous))
    return;
  frame->SetFocusedWindow(previous);
}

}  // namespace marrowleaf::desktop
