#include "UpdatePlanner.h"

#include <gtest/gtest.h>

#include "platform/mw/MWGraphics.h"

namespace marrowleaf::platform {
namespace {

using Update = UpdatePlanner::Update;
constexpr int kWidth = 1000;
constexpr int kHeight = 1400;
const MWRect kScreen{0, 0, kWidth, kHeight};

TEST(UpdatePlanner, MergesRectanglesWhoseBoxWastesLittleAndTooManyIntoOne) {
  std::vector<MWRect> scattered;
  for (int i = 0; i < 6; ++i) scattered.push_back(MWRect{i * 150, i * 200, 10, 10});
  struct Case {
    const char* what;
    std::vector<MWRect> marked;
    std::vector<MWRect> merged;
  };
  const Case cases[] = {
      {"touching and overlapping, not distant",
       {{0, 0, 100, 50}, {0, 50, 100, 50}, {20, 20, 10, 10}, {500, 900, 100, 100}},
       {{0, 0, 100, 100}, {500, 900, 100, 100}}},
      // With a 10 pixel gutter the box is 5% larger than the tiles.
      {"neighbours across a gutter", {{0, 0, 100, 100}, {110, 0, 100, 100}}, {{0, 0, 210, 100}}},
      {"a third tile joins the box of the first two",
       {{0, 0, 100, 100}, {0, 220, 210, 100}, {110, 0, 100, 100}, {0, 110, 210, 100}},
       {{0, 0, 210, 320}}},
      {"a corner diagonal wastes half the box", {{0, 0, 100, 100}, {100, 100, 100, 100}},
       {{0, 0, 100, 100}, {100, 100, 100, 100}}},
      {"too many scattered rectangles", scattered, {{0, 0, 760, 1010}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(UpdatePlanner::Merge(c.marked), c.merged);
  }
}

TEST(UpdatePlanner, ClipsToTheScreenDropsOffscreenAndTakesEmptyAsTheWholeScreen) {
  UpdatePlanner planner;
  planner.Mark(MWRect{-50, 1300, 100, 500}, MW_UPDATE_PARTIAL);
  planner.Mark(MWRect{2000, 0, 10, 10}, MW_UPDATE_PARTIAL);
  auto updates = planner.Take(kWidth, kHeight);
  ASSERT_EQ(updates.size(), 1u);
  EXPECT_EQ(updates[0], (Update{UpdateKind::kPartial, MWRect{0, 1300, 50, 100}}));

  planner.Mark(MWRect{}, MW_UPDATE_PARTIAL);
  updates = planner.Take(kWidth, kHeight);
  ASSERT_EQ(updates.size(), 1u);
  EXPECT_EQ(updates[0].rect, kScreen);
  EXPECT_TRUE(planner.Take(kWidth, kHeight).empty());
}

TEST(UpdatePlanner, CleanAreasFlashOnlyWhenTheyCoverHalfTheScreen) {
  UpdatePlanner planner;
  planner.SetPartialFlushesPerFull(0);
  planner.Mark(MWRect{0, 1350, kWidth, 50}, MW_UPDATE_CLEAN);
  planner.Mark(MWRect{0, 0, 10, 10}, MW_UPDATE_PARTIAL);
  auto updates = planner.Take(kWidth, kHeight);
  ASSERT_EQ(updates.size(), 2u);
  EXPECT_EQ(updates[0].kind, UpdateKind::kPartial);
  EXPECT_EQ(updates[1].kind, UpdateKind::kPartial);

  planner.Mark(MWRect{0, 0, kWidth, kHeight / 2}, MW_UPDATE_CLEAN);
  planner.Mark(MWRect{0, 0, 10, 10}, MW_UPDATE_DYNAMIC);
  EXPECT_EQ(planner.StrongestKind(), MW_UPDATE_CLEAN);
  updates = planner.Take(kWidth, kHeight);
  ASSERT_EQ(updates.size(), 1u);
  EXPECT_EQ(updates[0], (Update{UpdateKind::kFull, kScreen}));
}

TEST(UpdatePlanner, SoftUpdateReplacesPartialsButFullUpdateBeatsSoft) {
  UpdatePlanner planner;
  planner.Mark(MWRect{0, 0, 10, 10}, MW_UPDATE_PARTIAL);
  planner.Mark(MWRect{}, MW_UPDATE_SOFT);
  auto updates = planner.Take(kWidth, kHeight);
  ASSERT_EQ(updates.size(), 1u);
  EXPECT_EQ(updates[0], (Update{UpdateKind::kSoft, kScreen}));

  planner.Mark(MWRect{}, MW_UPDATE_SOFT);
  planner.MarkFull();
  updates = planner.Take(kWidth, kHeight);
  ASSERT_EQ(updates.size(), 1u);
  EXPECT_EQ(updates[0].kind, UpdateKind::kFull);
}

TEST(UpdatePlanner, PromotesEveryNthPartialFlushButNeverADynamicOneAndAFullRestartsTheCount) {
  UpdatePlanner planner;
  planner.SetPartialFlushesPerFull(3);
  std::vector<UpdateKind> kinds;
  for (int flush = 0; flush < 7; ++flush) {
    planner.Mark(MWRect{0, 0, 10, 10}, MW_UPDATE_PARTIAL);
    planner.Mark(MWRect{0, 0, 10, 10}, MW_UPDATE_DYNAMIC);
    const auto updates = planner.Take(kWidth, kHeight);
    kinds.push_back(updates.front().kind);
    // Dynamic-only flushes in between neither flash nor count.
    planner.Mark(MWRect{0, 0, 10, 10}, MW_UPDATE_DYNAMIC);
    EXPECT_EQ(planner.Take(kWidth, kHeight).front().kind, UpdateKind::kDynamic);
  }
  const std::vector<UpdateKind> expected{
      UpdateKind::kPartial, UpdateKind::kPartial, UpdateKind::kFull,   UpdateKind::kPartial,
      UpdateKind::kPartial, UpdateKind::kFull,    UpdateKind::kPartial};
  EXPECT_EQ(kinds, expected);
  // An explicit full update restarts the count: two partials follow before the next flash.
  planner.MarkFull();
  EXPECT_EQ(planner.Take(kWidth, kHeight).front().kind, UpdateKind::kFull);
  for (int flush = 0; flush < 2; ++flush) {
    planner.Mark(MWRect{0, 0, 10, 10}, MW_UPDATE_PARTIAL);
    EXPECT_EQ(planner.Take(kWidth, kHeight).front().kind, UpdateKind::kPartial) << flush;
  }
}

}  // namespace
}  // namespace marrowleaf::platform
