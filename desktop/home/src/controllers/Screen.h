#pragma once

namespace marrowleaf::desktop {

// What the controller does with any screen of the home screen.
class Screen {
 public:
  virtual ~Screen() = default;
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual bool IsVisible() const = 0;
  virtual void MarkAsChanged() = 0;
};

}  // namespace marrowleaf::desktop
