#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/Item.h"
#include "platform/mw/MWWindow.h"
#include "views/BookTileContent.h"

namespace marrowleaf::desktop {

// One home-screen tile: a recently opened or newly added book, a group of books added together, a
// store offer or series, the "more" tile, or an empty slot. Its look is given by named children
// (see BookTileContent); the child "BookPostDraw" paints the progress bar and the frame on top.
//
// A tile is either bound to (block, index) of the data manager and reads its item whenever it is
// drawn, or owns an item (the add-books grid: one book of a group per tile). A tap raises the click
// command and a long press the hold command, with the block and index as parameters.
//
// Layout attributes: "load_from_prototype" (1: copy the tile "BookItemPrototype" + "size_name" of
// the layout file), "normal_width" (the width a store tile starts from), and "width_extension" of
// the child "SeriaContainer" (the width a store tile grows by per further book of a group).
class BookItem : public MWWindow {
 public:
  // A press is a tap or a long press only when it ends this soon after it began.
  static constexpr int64_t kPressWindowMs = 999;

  BookItem() { SetClassName("BookItem"); }
  ~BookItem() override;

  void Bind(int block, int index, bool mark);
  void SetItem(std::shared_ptr<Item> item, int index);
  // Reads the item again and updates what changed; a tile not on screen is drawn anew when shown.
  void Refresh();
  // Gives the tile another width (a store offer, a series): parts that span the tile span it
  // still, parts on its right half keep their distance from the right edge.
  void SetTileWidth(int width);

  int GetBlock() const { return block_; }
  int GetIndex() const { return index_; }
  int GetNormalWidth() const { return normal_width_; }
  int GetWidthExtension() const { return width_extension_; }
  // The item the tile shows now (null for an empty slot).
  std::shared_ptr<Item> CurrentItem() const;

  int MainHandler(int type, int par1, int par2) override;
  void OnLayoutLoaded() override;
  int OnDraw(MWGraphics& graphics) override;
  int LoadAttributes(const AttributeLoader& loader) override;
  int cloneFromPrototype(const MWWindow* prototype) override;
  std::unique_ptr<MWWindow> factoryMethod() const override;
  int AccessibilityOpenCommandHandler(int command) override;
  int AccessibilityOpenMenuCommandHandler(int command) override;
  void AccessibilityPlayGroup() override;
  void OnFocusLost() override;

 private:
  void FillContent();
  void SpeakOnce();
  std::vector<std::string> SpeechParts() const;
  BookTileContent& Content();
  void ReadSizeAttributes();
  void UseFocusRenderer();
  int HandlePointer(int type, int x, int y);
  int HandleKey(int type, int key, int count);
  void Press(int command, bool from_long_press, int x, int y);
  void RaiseCommand(int command);

  int block_ = 0;
  int index_ = 0;
  std::shared_ptr<Item> item_;
  int64_t press_time_ms_ = -1;
  int press_x_ = 0;
  int press_y_ = 0;
  bool mark_ = false;
  bool pressed_by_key_ = false;
  int normal_width_ = 0;
  int width_extension_ = 0;
  std::unique_ptr<BookTileContent> content_;
  std::vector<std::string> spoken_;  // what the reader last heard of this tile while focused
};

}  // namespace marrowleaf::desktop
