#pragma once

#include "platform/mw/MWScrollView.h"

namespace marrowleaf::desktop {

// The scrolling list of the applications screen, in titled groups of application items.
class ApplicationsList : public MWScrollView {
 public:
  ApplicationsList() { SetClassName("ApplicationsList"); }
};

}  // namespace marrowleaf::desktop
