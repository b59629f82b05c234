// Bound grids and lists: elements from the prototype, binding, item commands, selection, scrolling.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "MWTestSupport.h"
#include "platform/mw/BindScrollGrid.h"
#include "platform/mw/BindScrollList.h"
#include "platform/mw/FunctorElementBinder.h"
#include "platform/mw/MWLabel.h"
#include "platform/sdk/events.h"

namespace {

using marrowleaf::test::RecordingFrame;
using marrowleaf::test::WindowTestRoot;

class ScrollGrid : public ::testing::Test {
 protected:
  void SetUp() override {
    frame_.Create(0, 0, 600, 760, 1);
    grid_ = frame_.MakeChild<BindScrollGrid>(0, 100, 600, 400, MWS_VISIBLE);
    auto* item = grid_->MakeChild<MWWindow>(0, 0, 200, 100, MWS_VISIBLE);
    item->SetName("Item");
    auto* title = item->MakeChild<MWLabel>(0, 0, 200, 30, MWS_VISIBLE);
    title->SetName("Title");
    grid_->OnLayoutLoaded();
    grid_->SetColCount(3);
    grid_->SetItemClickedCommand(10);
    grid_->SetItemLongClickedCommand(11);
    grid_->SetElementBinder(
        std::make_shared<FunctorElementBinder>([this](MWWindow* element, int i) {
          bound_.push_back(i);
          element->GetChildByName<MWLabel>("Title")->SetText("book " + std::to_string(i));
        }));
  }
  void Tap(int x, int y) {
    frame_.HandleEvent(EVT_POINTERDOWN, x, y);
    frame_.HandleEvent(EVT_POINTERUP, x, y);
  }

  WindowTestRoot root_;
  RecordingFrame frame_;
  BindScrollGrid* grid_ = nullptr;
  std::vector<int> bound_;
};

TEST_F(ScrollGrid, MakesOneBoundElementPerItemInRowsOfColumns) {
  grid_->SetItemCount(7);
  EXPECT_EQ(bound_, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(grid_->GetRowCount(), 3);
  EXPECT_FALSE(grid_->GetElementPrototype()->IsVisible());
  EXPECT_EQ(grid_->GetElement(4)->GetRect(), (MWRect{200, 100, 200, 100}));
  EXPECT_EQ(grid_->GetElement(6)->GetChildByName<MWLabel>("Title")->GetText(), "book 6");
  EXPECT_EQ(grid_->GetContentHeight(), 300);
  grid_->SetItemCount(2);
  EXPECT_EQ(grid_->GetItemCount(), 2);
  EXPECT_EQ(grid_->GetElement(2), nullptr);
}

TEST_F(ScrollGrid, ATapRaisesTheItemCommandWithTheIndexAndTheElementsRectangle) {
  grid_->SetItemCount(5);
  Tap(250, 250);  // second row, middle column
  ASSERT_EQ(frame_.commands.size(), 1u);
  EXPECT_EQ(frame_.commands[0].id, 10);
  EXPECT_EQ(frame_.commands[0].param, 4);
  EXPECT_EQ(frame_.commands[0].sender, grid_->GetElement(4));
  EXPECT_EQ(frame_.commands[0].y, 200);
  EXPECT_EQ(grid_->GetSelected(), 4);
  frame_.HandleEvent(EVT_POINTERDOWN, 50, 150);
  frame_.HandleEvent(EVT_POINTERLONG, 50, 150);
  frame_.HandleEvent(EVT_POINTERUP, 50, 150);
  ASSERT_EQ(frame_.commands.size(), 2u);
  EXPECT_EQ(frame_.commands[1].id, 11);
  EXPECT_EQ(frame_.commands[1].param, 0);
}

TEST_F(ScrollGrid, DraggingScrollsInsteadOfClicking) {
  grid_->SetItemCount(15);  // 5 rows of 100 in a view of 400
  frame_.HandleEvent(EVT_POINTERDOWN, 250, 450);
  frame_.HandleEvent(EVT_POINTERMOVE, 250, 400);
  frame_.HandleEvent(EVT_POINTERMOVE, 250, 300);
  EXPECT_TRUE(grid_->InA2());
  frame_.HandleEvent(EVT_POINTERUP, 250, 300);
  EXPECT_TRUE(frame_.commands.empty());
  EXPECT_EQ(grid_->GetScrollPos(), 100);  // at most content 500 - view 400
  EXPECT_FALSE(grid_->InA2());
  // Screen positions follow the scroll: the element of row 1 now sits at the top.
  EXPECT_EQ(grid_->GetElement(3)->ScreenRect().y, 100);
  Tap(50, 150);
  ASSERT_EQ(frame_.commands.size(), 1u);
  EXPECT_EQ(frame_.commands[0].param, 3);
}

TEST_F(ScrollGrid, KeysMoveTheSelectionAndOkOpensIt) {
  grid_->SetItemCount(15);
  grid_->SetFocus();
  EXPECT_EQ(grid_->GetSelected(), 0);
  frame_.HandleEvent(EVT_KEYPRESS, KEY_RIGHT, 0);
  for (int i = 0; i < 4; ++i) frame_.HandleEvent(EVT_KEYPRESS, KEY_DOWN, 0);
  EXPECT_EQ(grid_->GetSelected(), 13);
  EXPECT_EQ(grid_->GetScrollPos(), 100);  // the selected row was brought into view
  frame_.HandleEvent(EVT_KEYPRESS, KEY_DOWN, 0);
  EXPECT_EQ(grid_->GetSelected(), 13);
  frame_.HandleEvent(EVT_KEYPRESS, KEY_OK, 0);
  frame_.HandleEvent(EVT_KEYRELEASE, KEY_OK, 0);
  ASSERT_EQ(frame_.commands.size(), 1u);
  EXPECT_EQ(frame_.commands[0].param, 13);
}

TEST_F(ScrollGrid, AListHasOneColumnAsWideAsItsClientArea) {
  auto* list = frame_.MakeChild<BindScrollList>(10, 0, 300, 500, MWS_VISIBLE);
  list->SetClientMargins(5, 5, 5, 5);
  auto* row = list->MakeChild<MWWindow>(0, 0, 50, 40, MWS_VISIBLE);
  row->SetName("Item");
  list->OnLayoutLoaded();
  list->SetColCount(4);
  list->SetItemCount(3);
  EXPECT_EQ(list->GetElement(2)->GetRect(), (MWRect{5, 85, 290, 40}));
  EXPECT_EQ(list->GetRowHeight(), 40);
}

}  // namespace
