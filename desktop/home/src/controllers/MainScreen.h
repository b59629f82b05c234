#pragma once

#include "controllers/Screen.h"

namespace marrowleaf::desktop {

// What the controller asks of the home screen's main view.
class MainScreen : public virtual Screen {
 public:
  virtual void SetFocus() = 0;
  virtual void Refresh() = 0;
  virtual void ResetToFirstPage() = 0;
  virtual int GetBookSlotCount() const = 0;
  // Recomputes the store-widget mode; true when it changed.
  virtual bool UpdateStoreWidgetMode(bool flag) = 0;
};

}  // namespace marrowleaf::desktop
