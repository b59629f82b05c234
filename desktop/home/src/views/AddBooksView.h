#pragma once

#include "views/FrameScreen.h"

namespace marrowleaf::desktop {

// The grid of the books added at one moment (a group tile opened). Its window and layout are in place;
// what it shows and answers is built on this base.
class AddBooksView : public FrameScreen {
 public:
  AddBooksView() : FrameScreen("AddBooksView", "AddBooksView") {}
};

}  // namespace marrowleaf::desktop
