// The grid rules of the applications screen: how many columns, and where the arrow keys go.
#include "views/ApplicationsGrid.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/sdk/events.h"

namespace marrowleaf::desktop {
namespace {

using Place = ApplicationsGrid::Place;

struct ColumnCase {
  int width;
  int widest_title;
  std::vector<int> groups;
  int columns;
  const char* why;
};

TEST(ApplicationsGrid, ColumnsFollowTheWidestTitleWithinTheirLimits) {
  const ColumnCase cases[] = {
      {600, 100, {7}, 4, "titles that fit six times: four columns"},
      {600, 100, {9}, 5, "a first group of nine: five"},
      {600, 100, {8, 5}, 5, "a later group of more than four: five"},
      {600, 100, {8, 4}, 4, "a later group of four: still four"},
      {600, 100, {4, 9}, 5, "the later group decides alone"},
      {600, 300, {9}, 3, "titles that fit twice: three"},
      {600, 200, {9}, 3, "three fit: three"},
      {600, 150, {9}, 4, "four fit: four"},
      {600, 0, {2}, 4, "no title width counts as one pixel"},
      {600, 100, {}, 4, "no groups"},
  };
  for (const ColumnCase& c : cases)
    EXPECT_EQ(ApplicationsGrid::Columns(c.width, c.widest_title, c.groups), c.columns) << c.why;
}

struct KeyCase {
  Place from;
  int key;
  Place to;
  const char* why;
};

// Three groups in four columns: 6 items (two rows), 3 items (one row), 9 items (three rows).
TEST(ApplicationsGrid, ArrowKeysMoveWithinRowsAndWrapBetweenGroups) {
  const std::vector<int> groups = {6, 3, 9};
  const KeyCase cases[] = {
      {{0, 1}, KEY_RIGHT, {0, 2}, "right within the row"},
      {{0, 3}, KEY_RIGHT, {0, 0}, "right from the last column wraps to the row's start"},
      {{0, 5}, KEY_RIGHT, {0, 4}, "right from the last item wraps to its row's start"},
      {{0, 2}, KEY_LEFT, {0, 1}, "left within the row"},
      {{0, 4}, KEY_LEFT, {0, 5}, "left from a row's start goes to its end (a short row)"},
      {{0, 0}, KEY_LEFT, {0, 3}, "left from a row's start goes to its end (a full row)"},
      {{0, 1}, KEY_DOWN, {0, 5}, "down to the next row"},
      {{0, 3}, KEY_DOWN, {0, 5}, "down below the short last row: its last item"},
      {{0, 5}, KEY_DOWN, {1, 1}, "down from the last row: same column of the next group"},
      {{0, 4}, KEY_DOWN, {1, 0}, "down from the last row's first item"},
      {{1, 2}, KEY_DOWN, {2, 2}, "down from a one-row group"},
      {{2, 8}, KEY_DOWN, {0, 0}, "down from the last group wraps to the first"},
      {{2, 7}, KEY_DOWN, {2, 8}, "down into a short last row of the same group"},
      {{2, 5}, KEY_UP, {2, 1}, "up to the row above"},
      {{2, 3}, KEY_UP, {1, 2}, "up from the first row: the last row of the group above, at most its last item"},
      {{1, 0}, KEY_UP, {0, 4}, "up into a short last row"},
      {{1, 1}, KEY_UP, {0, 5}, "up keeps the column"},
      {{0, 2}, KEY_UP, {2, 8}, "up from the first group wraps to the last, at most its last item"},
      {{0, 1}, KEY_OK, {0, 1}, "other keys stay"},
      {{5, 0}, KEY_DOWN, {5, 0}, "a place outside the grid stays"},
  };
  for (const KeyCase& c : cases) {
    const Place to = ApplicationsGrid::Navigate(c.from, c.key, 4, groups);
    EXPECT_EQ(to.group, c.to.group) << c.why;
    EXPECT_EQ(to.item, c.to.item) << c.why;
  }
}

TEST(ApplicationsGrid, EmptyGroupsAreSkippedAndALoneGroupWrapsIntoItself) {
  EXPECT_EQ(ApplicationsGrid::Navigate({0, 0}, KEY_DOWN, 3, {2, 0, 4}), (Place{2, 0}));
  EXPECT_EQ(ApplicationsGrid::Navigate({2, 1}, KEY_UP, 3, {2, 0, 4}), (Place{0, 1}));
  EXPECT_EQ(ApplicationsGrid::Navigate({0, 4}, KEY_DOWN, 3, {5}), (Place{0, 1}));
  EXPECT_EQ(ApplicationsGrid::Navigate({0, 1}, KEY_UP, 3, {5}), (Place{0, 4}));
}

}  // namespace
}  // namespace marrowleaf::desktop
