#pragma once

#include <memory>

#include "controllers/AddBooksScreen.h"
#include "controllers/MainScreen.h"
#include "controllers/MenuScreen.h"
#include "controllers/Screen.h"

namespace marrowleaf::desktop {

// The narrow view of the main frame that the controller works through: its screens and the few
// frame operations the state machine needs. The main frame implements it; tests use their own.
class HomeFrame {
 public:
  virtual ~HomeFrame() = default;

  virtual MainScreen& MainView() = 0;
  virtual AddBooksScreen& AddBooksView() = 0;
  virtual Screen& ApplicationsView() = 0;
  virtual Screen& WiFiDialog() = 0;
  // The menu window of a level, created on demand together with every level below it.
  virtual std::shared_ptr<MenuScreen> GetPopupMenu(int level) = 0;
  // Makes a menu the first receiver of pen events.
  virtual void SetPointeredWindow(MenuScreen* menu) = 0;

  // Creates the frame's window; 0 on success.
  virtual int CreateFrameWindow() = 0;
  // Runs the event loop until the application closes.
  virtual int RunLoop() = 0;
  virtual void MarkFrameChanged() = 0;
  virtual void ReDrawFrame() = 0;
  virtual void SetColorFlag(bool color) = 0;
};

}  // namespace marrowleaf::desktop
