#pragma once

#include <memory>

#include "platform/mw/IElementBinder.h"
#include "platform/mw/MWScrollList.h"

// A scroll list whose rows are filled by an element binder.
class BindScrollList : public MWScrollList {
 public:
  BindScrollList() { SetClassName("BindScrollList"); }

  // Installs the binder and binds every row with it.
  void SetElementBinder(std::shared_ptr<IElementBinder> binder);
  IElementBinder* GetElementBinder() const { return binder_.get(); }

 protected:
  void BindElement(MWWindow* element, int index) override;

 private:
  std::shared_ptr<IElementBinder> binder_;
};
