#pragma once

#include <memory>

#include "controllers/Screen.h"
#include "data/Item.h"

namespace marrowleaf::desktop {

// What the controller asks of the grid of books added at one moment: the group it shows.
class AddBooksScreen : public virtual Screen {
 public:
  virtual void SetItem(std::shared_ptr<Item> item) = 0;
  // The group shown, empty before the first one.
  virtual std::shared_ptr<Item> GetItem() const = 0;
};

}  // namespace marrowleaf::desktop
