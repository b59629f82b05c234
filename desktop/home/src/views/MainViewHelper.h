#pragma once

#include "platform/mw/MWDialog.h"

namespace marrowleaf::desktop {

// A plain container of the home-screen layout (the two variants "View" and "View_BSWidget"): it
// hands every focus request to its parent, the main view, which knows where the focus belongs.
class MainViewHelper : public MWDialog {
 public:
  MainViewHelper() { SetClassName("MainViewHelper"); }

  int OnFocusSet(MWWindow* from, int key) override;
};

}  // namespace marrowleaf::desktop
