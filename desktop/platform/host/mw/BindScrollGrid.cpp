#include "platform/mw/BindScrollGrid.h"

void BindScrollGrid::SetElementBinder(std::shared_ptr<IElementBinder> binder) {
  binder_ = std::move(binder);
  RefreshElements();
}

void BindScrollGrid::BindElement(MWWindow* element, int index) {
  if (binder_)
    binder_->Bind(element, index);
}
