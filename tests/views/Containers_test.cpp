// The containers of the home screen: the store row that spreads the offers that fit, the focus
// rows of a page, the page marks and the shortcut row with its badges and its empty place.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ViewTestRoot.h"
#include "data/AppDataManager.h"
#include "data/DataManager.h"
#include "platform/mw/MWBitmap.h"
#include "platform/mw/MWBitmapButton.h"
#include "platform/sdk/events.h"
#include "views/AppItem.h"
#include "views/ApplicationContainer.h"
#include "views/BookItem.h"
#include "views/DesktopContainer.h"
#include "views/PointsContainer.h"

namespace marrowleaf::desktop {
namespace {

using test::ViewTestRoot;

// A container of `tiles` store tiles (126 x 214 at 160 dpi) `width` pixels wide.
std::string StoreRow(int width, int tiles) {
  std::string children;
  for (int n = 1; n <= tiles; ++n) {
    children += std::string(n > 1 ? "," : "") + R"({"class":"BookItem","name":"bookitem_)" +
                std::to_string(n) + R"(","x":8,"y":0,"w":126,"h":214,
        "attributes":{"load_from_prototype":1,"size_name":"S"}})";
  }
  return R"({"layouts":{"Test":{"children":[{"class":"DesktopContainer","name":"row","w":)" +
         std::to_string(width) + R"(,"h":220,"attributes":{"col_count":4,"min_padding":16},
         "children":[)" + children + "]}]}}}";
}

std::string Offer(const std::string& block, int n, bool series) {
  const std::string key = block + "_" + std::to_string(n);
  return key + "_url=https://store.example/" + key + "\n" + key + "_title=Offer " + key + "\n" +
         (series ? key + "_is_seria=1\n" : "");
}

class ContainersTest : public ::testing::Test {
 protected:
  ViewTestRoot view_;
};

TEST_F(ContainersTest, TheStoreRowKeepsTheOffersThatFitAndSpreadsThemEvenly) {
  std::string config = "promotion_0=four\npromotion_1=one\npromotion_2=series\n";
  for (int n = 0; n < 4; ++n) config += Offer("four", n, false);
  config += Offer("one", 0, false);
  config += Offer("series", 0, true) + Offer("series", 1, false) + Offer("series", 2, false);
  view_.Root().Write("/mnt/ext1/system/config/desktop_data.cfg", config);
  DataManager::Instance()->loadStoreBlocks(false);
  struct Case {
    const char* what;
    int width;
    int block;
    std::vector<int> lefts;  // of the shown tiles, in order
  };
  // Tiles are 126 wide and start 8 in; the room is the width less 16; 16 between tiles at least.
  const std::vector<Case> cases = {
      {"four fit and spread to the far edge", 600, 1000, {8, 160, 312, 464}},
      {"a narrower row keeps the leading three", 500, 1000, {8, 187, 366}},
      {"the least room between tiles counts", 540, 1000, {8, 207, 406}},
      {"one offer sits at the left edge", 600, 1001, {8}},
      {"a series is wider and leaves room for fewer", 480, 1002, {8, 346}},
  };
  for (const Case& c : cases) {
    auto* row = view_.Load(StoreRow(c.width, 4))->GetChildByName<DesktopContainer>("row");
    ASSERT_NE(row, nullptr);
    row->ShowItems(c.block, 0, false);
    std::vector<int> lefts;
    for (const BookItem* tile : row->Items()) {
      if (tile->IsVisible())
        lefts.push_back(tile->GetRect().x);
    }
    EXPECT_EQ(lefts, c.lefts) << c.what;
    const BookItem* last = row->Items()[c.lefts.size() - 1];
    if (c.lefts.size() > 1) {
      // The gaps are whole pixels: the row ends at most one pixel a gap short of the far edge.
      EXPECT_NEAR(last->GetRect().Right(), c.width - 8, c.lefts.size() - 1) << c.what;
    }
  }
}

TEST_F(ContainersTest, FocusRowsFollowTheColumnsOfTheirPage) {
  struct Case {
    int tiles;
    int row;
    int focused;
  };
  // Two rows are special: any row from above lands on the first tile, -2 counts as -1.
  const std::vector<Case> cases = {{6, 1, 0},  {6, 2, 0},  {6, -1, 2}, {6, -2, 2},
                                   {9, 2, 3},  {9, -2, 5}, {9, 3, 6},  {9, -3, 8}};
  for (const Case& c : cases) {
    std::string children;
    for (int n = 1; n <= c.tiles; ++n) {
      children += std::string(n > 1 ? "," : "") + R"({"class":"BookItem","name":"bookitem_)" +
                  std::to_string(n) + R"(","x":)" + std::to_string((n - 1) % 3 * 180) +
                  R"(,"y":)" + std::to_string((n - 1) / 3 * 240) + R"(,"w":170,"h":230})";
    }
    auto* page = view_.Load(R"({"layouts":{"Test":{"children":[{"class":"DesktopContainer",
        "name":"page","attributes":{"col_count":3},"children":[)" + children + "]}]}}}")
                     ->GetChildByName<DesktopContainer>("page");
    page->ShowItems(DEVICE_BLOCK, 0, false);
    page->FocusRow(c.row);
    const MWWindow* focused = view_.Frame().GetFocusedWindow();
    ASSERT_NE(focused, nullptr);
    EXPECT_EQ(focused->GetName(), "bookitem_" + std::to_string(c.focused + 1))
        << c.tiles << " tiles, row " << c.row;
    EXPECT_EQ(page->FocusedRow(), c.focused / 3 + 1);
  }
}

TEST_F(ContainersTest, PageMarksAreCentredAndTurnPagesForTheScreenReader) {
  auto* points = view_.Load(R"({"layouts":{"Test":{"children":[{"class":"PointsContainer",
      "name":"Points","w":600,"h":20,"attributes":{"step_image_on":"desktop_page_point_on",
      "step_image_off":"desktop_page_point_off","step_width":24}}]}}})")
                     ->GetChildByName<PointsContainer>("Points");
  ASSERT_NE(points, nullptr);
  auto lefts = [&] {
    std::vector<int> x;
    for (const MWWindow* point : points->Children()) x.push_back(point->GetRect().x);
    return x;
  };
  points->SetCount(5);
  EXPECT_EQ(lefts(), (std::vector<int>{240, 264, 288, 312, 336}));
  points->SetCount(3);
  EXPECT_EQ(lefts(), (std::vector<int>{264, 288, 312}));
  points->SetCurrent(1);
  const SmartBitmap on = SmartBitmap::LoadFromTheme("desktop_page_point_on");
  for (int i = 0; i < 3; ++i) {
    const auto* point = dynamic_cast<const MWBitmap*>(points->Children()[static_cast<size_t>(i)]);
    EXPECT_EQ(point->GetBitmap().SharesPixelsWith(on), i == 1) << i;
  }
  points->AccessibilitySliderCommandHandler(8);
  points->AccessibilitySliderCommandHandler(7);
  ASSERT_EQ(view_.Frame().commands.size(), 2u);
  EXPECT_EQ(view_.Frame().commands[0].id, 101);
  EXPECT_EQ(view_.Frame().commands[1].id, 102);
  points->SetCount(0);
  EXPECT_TRUE(points->Children().empty());
  points->SetCurrent(0);
  EXPECT_EQ(points->GetCount(), 0);
}

class ShortcutRowTest : public ContainersTest {
 protected:
  void SetUp() override {
    view_.Root().Write("/.sim/device.cfg", "screen_width=600\nscreen_height=800\ndpi=160\n"
                                           "panel_height=40\ntouch=1\naudio=1\n");
    ReloadDeviceProfile();
  }
  void Row(const std::vector<std::string>& ids, int new_audiobooks) {
    const std::string res = std::string(MARROWLEAF_SOURCE_DIR) + "/desktop/res/config/desktop/";
    for (const char* file : {"apps_db.json", "view.json"}) {
      std::ifstream in(res + file);
      std::stringstream text;
      text << in.rdbuf();
      view_.Root().Write(std::string("/ebrmain/config/desktop/") + file, text.str());
    }
    // An application shows only while its program is on the device.
    for (const char* program : {"explorer.app", "audioplayer.app", "calc.app", "clock.app",
                                "settings.app"})
      view_.Root().Write(std::string("/ebrmain/bin/") + program, "program");
    std::string list = R"({"version":1,"partner":"","applications":[)";
    for (size_t i = 0; i < ids.size(); ++i)
      list += (i > 0 ? "," : "") + std::string(R"({"id":")") + ids[i] + "\"}";
    view_.Root().Write(AppDataManager::kUserListPath, list + "]}");
    view_.Root().Write("/mnt/ext1/system/config/global.cfg",
                       "newly_added_audiobooks=" + std::to_string(new_audiobooks) + "\n");
    AppDataManager::GetInstance().Reload();
    std::string items;
    for (int n = 1; n <= 5; ++n) {
      items += std::string(n > 1 ? "," : "") + R"({"class":"AppItem","name":"app_)" +
               std::to_string(n) + R"(","x":)" + std::to_string((n - 1) * 120) +
               R"(,"y":10,"w":120,"h":100})";
    }
    row_ = view_.Load(R"({"layouts":{"Test":{"children":[{"class":"ApplicationContainer",
        "name":"ApplicationModule","y":600,"h":120,"attributes":{"max_applications":5},
        "children":[)" + items + "]}]}}}")
               ->GetChildByName<ApplicationContainer>("ApplicationModule");
    ASSERT_NE(row_, nullptr);
    row_->Refresh();
  }
  bool ItemShows(const std::string& id, const std::string& image) const {
    for (const AppItem* item : row_->Items()) {
      if (item->IsVisible() && item->GetApplicationId() == id)
        return item->GetNormalBitmap().SharesPixelsWith(SmartBitmap::LoadFromTheme(image));
    }
    return false;
  }
  ApplicationContainer* row_ = nullptr;
};

TEST_F(ShortcutRowTest, NewAudiobooksBadgeTheAudiobooksShortcutOrElseTheApplicationsEntry) {
  Row({"MW_Library", "MW_AudioBooks", "SYS_Apps"}, 5);
  EXPECT_TRUE(ItemShows("MW_AudioBooks", "desktop_app_audiobooks_5"));
  EXPECT_TRUE(ItemShows("SYS_Apps", "desktop_app_apps")) << "the row shows the audiobooks";
  Row({"MW_Library", "SYS_Apps"}, 12);
  EXPECT_TRUE(ItemShows("SYS_Apps", "desktop_app_apps_9_plus"));
  Row({"MW_Library", "SYS_Apps"}, 0);
  EXPECT_TRUE(ItemShows("SYS_Apps", "desktop_app_apps"));
}

TEST_F(ShortcutRowTest, ALongPressBesideTheShortcutsOffersThatPlaceOnlyWhileTheRowHasRoom) {
  Row({"MW_Library", "MW_Calculator", "SYS_Apps"}, 0);
  const MWRect row = row_->ScreenRect();
  view_.Frame().HandleEvent(EVT_POINTERDOWN, row.Right() - 5, row.y + 5);
  view_.Frame().HandleEvent(EVT_POINTERLONG, row.Right() - 5, row.y + 5);
  ASSERT_EQ(view_.Frame().commands.size(), 1u);
  EXPECT_EQ(view_.Frame().commands[0].id, 21);
  EXPECT_EQ(view_.Frame().commands[0].param, -1);
  EXPECT_EQ(view_.Frame().commands[0].param2, 3);

  view_.Frame().commands.clear();
  Row({"MW_Library", "MW_Clock", "MW_Calculator", "MW_Settings", "SYS_Apps"}, 0);
  view_.Frame().HandleEvent(EVT_POINTERDOWN, row.Right() - 5, row.y + 5);
  view_.Frame().HandleEvent(EVT_POINTERLONG, row.Right() - 5, row.y + 5);
  for (const MWCommand& command : view_.Frame().commands)
    EXPECT_NE(command.param, -1) << "a full row offers no empty place";
}

}  // namespace
}  // namespace marrowleaf::desktop
