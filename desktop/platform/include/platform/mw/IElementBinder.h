#pragma once

class MWWindow;

// Fills the element window of a bound grid or list for its item index.
class IElementBinder {
 public:
  virtual ~IElementBinder() = default;
  virtual void Bind(MWWindow* element, int index) = 0;
};
