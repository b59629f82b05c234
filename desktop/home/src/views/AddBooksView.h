#pragma once

#include <array>
#include <memory>

#include "controllers/AddBooksScreen.h"
#include "platform/mw/MWFrameBorderRenderer.h"
#include "platform/utils/SmartBitmap.h"
#include "views/FocusReturn.h"
#include "views/FrameScreen.h"

class MWLabel;

namespace marrowleaf::desktop {

class BindScrollBookGrid;

// The grid of the books added at one moment, opened from a group tile: over the screen as it was,
// dimmed, a box with a header (the count, "30 new books", and the close button) over a grid of book
// tiles, one book of the group each. The
// grid shows at most the data manager's group limit of tiles (the last one the "more" tile when the
// group is larger); the title always counts the whole group.
//
// Its geometry depends on the number of tiles: layout records for 2, 3 and 4 books and one for more
// ("N"), each giving the columns, the side margin and the tiles' size and spacing; up to 4 books the
// grid is as tall as its rows and the box is centred, more books scroll in a grid "max_height"
// tall. Two books get the large tile ("book_item_XL"), others the middle one ("book_item_M").
//
// Layout "AddBooksView": "container" holding "header" (with "title_label" and "exit_button") and
// "List" (a BindScrollBookGrid whose element "Item" holds the two tiles). Attributes: "max_height"
// (default 9/10 of the view's height) and per record "col_count_", "side_margin_", "item_height_",
// "item_width_", "item_width_offset_" followed by "2", "3", "4" or "N" (defaults 3, 26, 160, 120,
// 12). The box ("container") keeps the layout's left edge and width. A tap on a tile raises 10, a long press 11, each with the tile's index; the close button 5.
class AddBooksView : public FrameScreen, public AddBooksScreen {
 public:
  AddBooksView();

  // Screen
  void Show() override;
  void Hide() override;
  // AddBooksScreen
  void SetItem(std::shared_ptr<Item> item) override;
  std::shared_ptr<Item> GetItem() const override { return item_; }
  // Screen: the group's books may have been read meanwhile (a larger group arrives in two steps).
  void MarkAsChanged() override;

  // How many tiles the grid shows for the item.
  int TileCount() const;
  BindScrollBookGrid* GetGrid() const { return grid_; }

  int OnCreate() override;
  int LoadAttributes(const AttributeLoader& loader) override;
  void OnShow() override;
  void OnHide() override;
  int OnDraw(MWGraphics& graphics) override;
  int OnCommand(MWCommand& command) override;

 private:
  struct Record {
    int col_count = 3;
    int side_margin = 26;
    int item_height = 160;
    int item_width = 120;
    int item_width_offset = 12;
  };

  const Record& RecordFor(int count) const;
  void Arrange();
  // Makes the grid's tiles for the record's size, so their covers and texts scale with them.
  void SizeTilePrototypes(int width, int height);
  void BindTile(MWWindow* element, int index);

  BindScrollBookGrid* grid_ = nullptr;
  MWWindow* header_ = nullptr;
  MWWindow* container_ = nullptr;
  MWLabel* title_label_ = nullptr;
  std::array<Record, 4> records_;
  int max_height_ = 0;
  std::shared_ptr<Item> item_;
  int arranged_count_ = -1;
  SmartBitmap background_;
  FocusReturn focus_;
  std::unique_ptr<MWFrameBorderRenderer> box_frame_;
};

}  // namespace marrowleaf::desktop
