#include "platform/mw/BindScrollList.h"

void BindScrollList::SetElementBinder(std::shared_ptr<IElementBinder> binder) {
  binder_ = std::move(binder);
  RefreshElements();
}

void BindScrollList::BindElement(MWWindow* element, int index) {
  if (binder_)
    binder_->Bind(element, index);
}
