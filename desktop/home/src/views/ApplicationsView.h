#pragma once

#include "views/FrameScreen.h"

namespace marrowleaf::desktop {

// The applications screen: every application of the catalogue in titled groups. Its window and layout are in place;
// what it shows and answers is built on this base.
class ApplicationsView : public FrameScreen {
 public:
  ApplicationsView() : FrameScreen("ApplicationsView", "ApplicationsView") {}
};

}  // namespace marrowleaf::desktop
