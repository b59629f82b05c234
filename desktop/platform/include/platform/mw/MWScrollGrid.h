#pragma once

#include <vector>

#include "platform/mw/MWScrollView.h"

// A scrolling grid of elements, one per item, made from the grid's element prototype: the child
// named "Item" (else the first child) of the layout, which stays hidden. Elements are laid out in
// rows of `col_count` columns, each item_width x item_height with item_width_offset between
// columns, the columns centred in the client area. BindElement fills an element for its item.
//
// Input: a tap on an element selects it and raises the item-clicked command, a long press the
// item-long-clicked command; the command's sender is the element, param its index and its rectangle
// the element's screen rectangle. Dragging scrolls. With the focus, the arrow keys move the
// selection and OK raises the commands like a tap and a long press.
//
// Layout attributes: "col_count" (1), "item_width" (the prototype's width), "item_height" (the
// prototype's height), "item_width_offset" (0).
class MWScrollGrid : public MWScrollView {
 public:
  // More items than this are refused: each has a window.
  static constexpr int kMaxItems = 10000;

  MWScrollGrid();

  void SetItemCount(int count);
  int GetItemCount() const { return static_cast<int>(elements_.size()); }
  void SetColCount(int count);
  int GetColCount() const { return col_count_; }
  void SetItemSize(int width, int height);
  int GetItemWidth() const { return item_width_; }
  int GetItemHeight() const { return item_height_; }
  void SetItemWidthOffset(int offset);
  int GetRowCount() const;
  void SetItemClickedCommand(int id) { item_clicked_command_ = id; }
  void SetItemLongClickedCommand(int id) { item_long_clicked_command_ = id; }
  // The element prototype (hidden), or nullptr.
  MWWindow* GetElementPrototype() const { return prototype_; }
  MWWindow* GetElement(int index) const;
  // The index of an element, or -1.
  int IndexOf(const MWWindow* element) const;
  // -1 for none.
  void SetSelected(int index);
  int GetSelected() const { return selected_; }
  void ScrollToItem(int index);
  // Binds every element again (the items changed).
  void RefreshElements();
  // Places the elements again (after a size change).
  void RelayoutElements();

  int LoadAttributes(const AttributeLoader& loader) override;
  void OnLayoutLoaded() override;
  int MainHandler(int type, int par1, int par2) override;
  int OnFocusSet(MWWindow* from, int key) override;
  void OnFocusLost() override;

 protected:
  // Fills an element for its item. The base does nothing.
  virtual void BindElement(MWWindow* /*element*/, int /*index*/) {}
  // The columns shown (a list has one).
  virtual int EffectiveColumns() const { return col_count_; }
  virtual int EffectiveItemWidth() const { return item_width_; }
  void RaiseItemCommand(int index, bool long_press);

 private:
  void FindPrototype();
  int ElementAt(int x, int y) const;
  int HandlePen(int type, int x, int y);
  int HandleKey(int type, int key, int count);
  void ShowSelection();

  MWWindow* prototype_ = nullptr;
  std::vector<MWWindow*> elements_;
  int col_count_ = 1;
  int item_width_ = 0;
  int item_height_ = 0;
  int item_width_offset_ = 0;
  int selected_ = -1;
  int pressed_ = -1;
  bool long_done_ = false;
  bool key_down_ = false;
  int item_clicked_command_ = 0;
  int item_long_clicked_command_ = 0;
};
