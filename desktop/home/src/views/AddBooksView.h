#pragma once

#include <memory>

#include "controllers/AddBooksScreen.h"
#include "views/FrameScreen.h"

namespace marrowleaf::desktop {

// The grid of the books added at one moment (a group tile opened). Its window and layout are in
// place and it keeps the group it was given; what it shows and answers is built on this base.
class AddBooksView : public FrameScreen, public AddBooksScreen {
 public:
  AddBooksView() : FrameScreen("AddBooksView", "AddBooksView") {}

  // AddBooksScreen
  void SetItem(std::shared_ptr<Item> item) override {
    item_ = std::move(item);
    MarkAsChanged();
  }
  std::shared_ptr<Item> GetItem() const override { return item_; }

 private:
  std::shared_ptr<Item> item_;
};

}  // namespace marrowleaf::desktop
