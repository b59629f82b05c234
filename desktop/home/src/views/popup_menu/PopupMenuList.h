#pragma once

#include "platform/mw/MWScrollList.h"

namespace marrowleaf::desktop {

// The list of a context menu's entries.
class PopupMenuList : public MWScrollList {
 public:
  PopupMenuList() { SetClassName("PopupMenuList"); }
};

}  // namespace marrowleaf::desktop
