#pragma once

#include "platform/mw/BindScrollGrid.h"

namespace marrowleaf::desktop {

// The scrolling grid of book tiles of the add-books view.
class BindScrollBookGrid : public BindScrollGrid {
 public:
  BindScrollBookGrid() { SetClassName("BindScrollBookGrid"); }
};

}  // namespace marrowleaf::desktop
