#pragma once

#include <string>

#include "controllers/Screen.h"
#include "platform/mw/MWDialog.h"

namespace marrowleaf::desktop {

// A screen of the home screen that covers the main frame: its window is made over the whole frame
// the first time it is shown, and its layout (named by the subclass) is loaded into it then. A
// child "exit_button" raises command 5 (close), and so does the Back key when no window inside
// took it.
class FrameScreen : public MWDialog, public virtual Screen {
 public:
  FrameScreen(const char* class_name, std::string layout_name);

  // Screen
  void Show() override;
  void Hide() override { MWWindow::Hide(); }
  bool IsVisible() const override { return MWWindow::IsVisible(); }
  void MarkAsChanged() override { MWWindow::MarkAsChanged(); }

  int OnCreate() override;
  int MainHandler(int type, int par1, int par2) override;

 private:
  std::string layout_name_;
};

}  // namespace marrowleaf::desktop
