#include "views/PressFeedback.h"

#include "platform/mw/MWAppFrame.h"
#include "platform/mw/MWGraphics.h"
#include "platform/mw/MWWindow.h"

namespace marrowleaf::desktop {
namespace {

// A window without a background of its own is drawn over what lies under it, so the flash paints
// from the nearest window that fills its rectangle.
MWWindow& OpaqueAncestor(MWWindow& window) {
  MWWindow* current = &window;
  while (current->GetBackgroundColor() < 0 && current->GetParent() != nullptr)
    current = current->GetParent();
  return *current;
}

}  // namespace

void PressFeedback::Flash(MWWindow& window) {
  if (!window.IsShown())
    return;
  // What was already waiting to be drawn goes out first: painting the flash from an ancestor must
  // not swallow another window's pending change.
  if (MWAppFrame* frame = window.GetFrame())
    frame->ReDraw();
  const MWRect screen = window.ScreenRect();
  window.ChangeExStyle(MWES_PRESSED, 0);
  OpaqueAncestor(window).Paint(screen);
  MWGraphics::MarkDirty(screen, MW_UPDATE_DYNAMIC);
  MWGraphics::FlushUpdates();
  window.ChangeExStyle(0, MWES_PRESSED);
  window.MarkAsChanged();
}

}  // namespace marrowleaf::desktop
