#pragma once

#include <vector>

namespace marrowleaf::desktop {

// The rules of the applications screen's grid, apart from its windows: how many columns the groups
// get and where the arrow keys move the focus. Groups are given by their sizes, in screen order.
class ApplicationsGrid {
 public:
  // An item: its group and its index in the group.
  struct Place {
    int group = 0;
    int item = 0;
    bool operator==(const Place& other) const {
      return group == other.group && item == other.item;
    }
  };

  // Columns for a client width and the widest title: as many titles as fit side by side, but 3 at
  // least, and at most 4, or 5 when the first group has 9 or more items or a later one more than 4.
  static int Columns(int client_width, int widest_title, const std::vector<int>& group_sizes);

  // Where an arrow key (KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT) moves the focus from an item. Up
  // from the first row and down from the last row go to the neighbouring group (wrapping from the
  // first group to the last and back), keeping the column as far as that group's row reaches; left
  // and right wrap within their row. Any other key, or a place that is not in the grid, stays.
  static Place Navigate(const Place& from, int key, int columns, const std::vector<int>& group_sizes);
};

}  // namespace marrowleaf::desktop
