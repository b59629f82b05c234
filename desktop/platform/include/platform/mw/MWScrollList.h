#pragma once

#include "platform/mw/MWScrollGrid.h"

// A scrolling list: a grid of one column whose rows are as wide as the client area. The row
// element is the child named "Item"; its height is the row height.
class MWScrollList : public MWScrollGrid {
 public:
  MWScrollList() { SetClassName("MWScrollList"); }

  int GetRowHeight() const { return GetItemHeight(); }

 protected:
  int EffectiveColumns() const override { return 1; }
  int EffectiveItemWidth() const override { return GetClientRect().w; }
};
