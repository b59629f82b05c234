#include "views/FrameScreen.h"

#include <utility>

#include "platform/mw/Layout.h"
#include "platform/mw/LayoutManager.h"
#include "platform/mw/MWAppFrame.h"
#include "platform/sdk/events.h"
#include "platform/sdk/log.h"
#include "platform/sdk/theme.h"
#include "views/CommandIds.h"

namespace marrowleaf::desktop {

FrameScreen::FrameScreen(const char* class_name, std::string layout_name)
    : layout_name_(std::move(layout_name)) {
  SetClassName(class_name);
}

void FrameScreen::Show() {
  if (!IsCreated()) {
    MWAppFrame* frame = MWAppFrame::m_curFrame;
    MW_RETURN_VOID_IF(frame == nullptr, "no frame for \"%s\"", layout_name_.c_str());
    // Made hidden, the window changes nothing on screen yet: the frame needs no drawing for it.
    const bool frame_changed = frame->IsChanged();
    Create(frame, 0, 0, frame->Width(), frame->Height(), MWS_TABSTOP);
    if (!frame_changed)
      frame->ClearChanged();
  }
  MWWindow::Show();
}

int FrameScreen::MainHandler(int type, int par1, int par2) {
  if (par1 == KEY_BACK && (type == EVT_KEYPRESS || type == EVT_KEYREPEAT))
    return 1;
  if (par1 == KEY_BACK && type == EVT_KEYRELEASE) {
    DoCommand(CMD_CLOSE);
    return 1;
  }
  return MWDialog::MainHandler(type, par1, par2);
}

int FrameScreen::OnCreate() {
  LayoutManager manager(Layout::fromKey(std::string("desktop") +
                                        GetThemeString("layouts_suffix", "")));
  manager.LoadLayout(layout_name_, this);
  SetNonDirectChildCommandId("exit_button", CMD_CLOSE);
  return 0;
}

}  // namespace marrowleaf::desktop
