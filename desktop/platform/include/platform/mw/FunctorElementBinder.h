#pragma once

#include <functional>
#include <utility>

#include "platform/mw/IElementBinder.h"

// An element binder that calls a function for each element and its index.
class FunctorElementBinder : public IElementBinder {
 public:
  using Function = std::function<void(MWWindow* element, int index)>;

  explicit FunctorElementBinder(Function function) : function_(std::move(function)) {}

  void Bind(MWWindow* element, int index) override {
    if (function_)
      function_(element, index);
  }

 private:
  Function function_;
};
