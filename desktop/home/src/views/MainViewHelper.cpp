#include "views/MainViewHelper.h"

namespace marrowleaf::desktop {

int MainViewHelper::OnFocusSet(MWWindow* from, int key) {
  if (GetParent() == nullptr)
    return MWDialog::OnFocusSet(from, key);
  return GetParent()->OnFocusSet(from, key);
}

}  // namespace marrowleaf::desktop
