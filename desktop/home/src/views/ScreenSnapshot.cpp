#include "views/ScreenSnapshot.h"

#include "platform/mw/MWAppFrame.h"
#include "platform/sdk/screen.h"

namespace marrowleaf::desktop {

SmartBitmap ScreenSnapshot::Take() {
  if (MWAppFrame* frame = MWAppFrame::m_curFrame)
    frame->ReDraw();
  return SmartBitmap::FromScreen(0, 0, ScreenWidth(), ScreenHeight());
}

}  // namespace marrowleaf::desktop
