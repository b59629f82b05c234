#pragma once

#include <memory>

#include "platform/mw/IElementBinder.h"
#include "platform/mw/MWScrollGrid.h"

// A scroll grid whose elements are filled by an element binder.
class BindScrollGrid : public MWScrollGrid {
 public:
  BindScrollGrid() { SetClassName("BindScrollGrid"); }

  // Installs the binder and binds every element with it.
  void SetElementBinder(std::shared_ptr<IElementBinder> binder);
  IElementBinder* GetElementBinder() const { return binder_.get(); }

 protected:
  void BindElement(MWWindow* element, int index) override;

 private:
  std::shared_ptr<IElementBinder> binder_;
};
