#pragma once

namespace marrowleaf::desktop {

// A tile that stays highlighted while its context menu is open.
class Highlightable {
 public:
  virtual ~Highlightable() = default;
  virtual void SetHighlighted(bool highlighted) = 0;
};

}  // namespace marrowleaf::desktop
