#include "views/ApplicationsGrid.h"

#include <algorithm>

#include "platform/sdk/events.h"

namespace marrowleaf::desktop {
namespace {

constexpr int kFewestColumns = 3;
constexpr int kUsualMostColumns = 4;
constexpr int kWideMostColumns = 5;
// Long groups get a fifth column: a first group of this many items, or a later one of more than
// kUsualMostColumns.
constexpr int kLongFirstGroup = 9;

// The next group in a direction (+1, -1) that has items, wrapping around; from itself when no
// other group has any.
int NeighbourGroup(const std::vector<int>& sizes, int from, int step) {
  const int count = static_cast<int>(sizes.size());
  for (int k = 1; k < count; ++k) {
    const int index = ((from + step * k) % count + count) % count;
    if (sizes[static_cast<size_t>(index)] > 0)
      return index;
  }
  return from;
}

// The first index of the row that holds item.
int RowStart(int item, int columns) {
  return item - item % columns;
}

int LastRowStart(int size, int columns) {
  return RowStart(std::max(0, size - 1), columns);
}

}  // namespace

int ApplicationsGrid::Columns(int client_width, int widest_title,
                              const std::vector<int>& group_sizes) {
  const int fit = client_width / std::max(1, widest_title);
  bool long_groups = !group_sizes.empty() && group_sizes.front() >= kLongFirstGroup;
  for (size_t i = 1; i < group_sizes.size(); ++i)
    long_groups = long_groups || group_sizes[i] > kUsualMostColumns;
  const int most = long_groups ? kWideMostColumns : kUsualMostColumns;
  if (fit > most)
    return most;
  return fit < kUsualMostColumns ? kFewestColumns : fit;
}

ApplicationsGrid::Place ApplicationsGrid::Navigate(const Place& from, int key, int columns,
                                                   const std::vector<int>& group_sizes) {
  const int groups = static_cast<int>(group_sizes.size());
  if (columns <= 0 || from.group < 0 || from.group >= groups)
    return from;
  const int size = group_sizes[static_cast<size_t>(from.group)];
  const int i = from.item;
  if (i < 0 || i >= size)
    return from;
  const int column = i % columns;
  switch (key) {
    case KEY_UP: {
      if (i >= columns)
        return Place{from.group, i - columns};
      const int target = NeighbourGroup(group_sizes, from.group, -1);
      const int target_size = group_sizes[static_cast<size_t>(target)];
      return Place{target, std::min(LastRowStart(target_size, columns) + column, target_size - 1)};
    }
    case KEY_DOWN: {
      if (i < LastRowStart(size, columns))
        return Place{from.group, std::min(i + columns, size - 1)};
      const int target = NeighbourGroup(group_sizes, from.group, +1);
      return Place{target, std::min(column, group_sizes[static_cast<size_t>(target)] - 1)};
    }
    case KEY_LEFT:
      return Place{from.group, column == 0 ? std::min(i + columns - 1, size - 1) : i - 1};
    case KEY_RIGHT:
      return Place{from.group, i + 1 < size && column + 1 < columns ? i + 1 : RowStart(i, columns)};
    default:
      return from;
  }
}

}  // namespace marrowleaf::desktop
