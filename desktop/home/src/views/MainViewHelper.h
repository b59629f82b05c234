#pragma once

#include <string>

#include "platform/mw/MWDialog.h"

namespace marrowleaf::desktop {

// A plain container of the home-screen layout (the two variants "View" and "View_BSWidget"): it
// hands every focus request to its parent, the main view, which knows where the focus belongs.
//
// Layout attribute "content": a layout of the same file whose windows it makes the first time it
// is shown. The main view shows one variant for the life of the program, so the other one is
// never built.
class MainViewHelper : public MWDialog {
 public:
  MainViewHelper() { SetClassName("MainViewHelper"); }

  int OnFocusSet(MWWindow* from, int key) override;
  void OnShow() override;
  int LoadAttributes(const AttributeLoader& loader) override;
  int cloneFromPrototype(const MWWindow* prototype) override;

 private:
  std::string content_;
  bool content_loaded_ = false;
};

}  // namespace marrowleaf::desktop
