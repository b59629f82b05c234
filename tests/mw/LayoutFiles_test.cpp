// The layout files the program ships: every tree loads, uses only known classes and has every
// window the views look up by name.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "MWTestSupport.h"
#include "platform/mw/Layout.h"
#include "platform/mw/LayoutManager.h"
#include "platform/mw/WindowFactory.h"

namespace {

using marrowleaf::test::WindowTestRoot;

const std::string kLayoutFolder = std::string(MARROWLEAF_SOURCE_DIR) + "/desktop/res/layouts";

// The view classes the application registers with the window factory.
const std::set<std::string> kApplicationClasses = {
    "AddBooksView",     "BindScrollBookGrid", "AppItem",          "ApplicationContainer",
    "ApplicationsList", "ApplicationsView",   "BookItem",         "BookItemPostDraw",
    "StarsContainer",   "LoanBackground",     "DesktopContainer", "DetailedBookItem",
    "MainViewHelper",   "NewsItem",           "PointsContainer",  "PopupMenu",
    "PopupMenuList",    "PopupMenuRow"};

// The windows the journeys (tests/e2e) find, read or press on the sample device's screens (the
// tiles and their parts, the store header, the add-books grid, the menus, the Wi-Fi prompt) are
// not listed again here.
struct Expected {
  const char* file;
  const char* layout;
  // Names from the layout's root down to the window; the last one is looked up at any depth.
  std::vector<const char*> path;
  const char* class_name;
};

const std::vector<Expected> kExpected = {
    {"desktop", "MainView", {"View"}, "MainViewHelper"},
    {"desktop", "MainView", {"View_BSWidget"}, "MainViewHelper"},
    {"desktop", "MainView.View", {"DeviceBlockPage1"}, "DesktopContainer"},
    {"desktop", "MainView.View", {"DeviceBlockPage3"}, "DesktopContainer"},
    {"desktop", "MainView.View", {"Points"}, "PointsContainer"},
    {"desktop", "MainView.View", {"ApplicationModule"}, "ApplicationContainer"},
    {"desktop", "MainView.View", {"ApplicationModule", "app_5"}, "AppItem"},
    {"desktop", "MainView.View_BSWidget", {"StoreBlock"}, "DesktopContainer"},
    {"desktop", "MainView.View_BSWidget", {"StoreBlock", "detailed_bookitem_focus"}, "MWWindow"},
    {"desktop", "MainView.View_BSWidget", {"ActivateRecommendations", "activateR"},
     "MWBitmapButton"},
    {"desktop", "MainView.View_BSWidget", {"ActivateRecommendations", "activateRLabel"},
     "MWLabel"},
    {"desktop", "MainView.View_BSWidget", {"ActivateRecommendations", "label_2"}, "MWLabel"},
    {"desktop", "MainView.View_BSWidget", {"Points"}, "PointsContainer"},
    {"desktop", "MainView.View_BSWidget", {"DeviceBlockPage1", "bookitem_3"}, "BookItem"},
    {"desktop", "BookItemPrototypeM", {"BookPostDraw"}, "BookItemPostDraw"},
    {"desktop", "BookItemPrototypeM", {"AudioCover", "cover"}, "MWBitmap"},
    {"desktop", "BookItemPrototypeM", {"FulfillAcsm", "percent"}, "MWLabel"},
    {"desktop", "BookItemPrototypeM", {"Loan", "text"}, "MWLabel"},
    {"desktop", "BookItemPrototypeM", {"LoanExpire", "text"}, "MWLabel"},
    {"desktop", "BookItemPrototypeM", {"Sample"}, "LoanBackground"},
    {"desktop", "BookItemPrototypeS", {"Stars"}, "StarsContainer"},
    {"desktop", "BookItemPrototypeS", {"Stars", "stars_5"}, "MWBitmap"},
    {"desktop", "BookItemPrototypeM", {"AddedCovers", "no_cover_3", "author"}, "MWLabel"},
    {"desktop", "BookItemPrototypeM", {"AddedInfo", "new_books_label_dyslexic"}, "MWLabel"},
    {"desktop", "BookItemPrototypeS", {"SeriaContainer", "cover_2"}, "MWBitmap"},
    {"desktop", "BookItemPrototypeS", {"WishlistMark"}, "MWBitmap"},
    {"desktop", "BookItemPrototypeXL", {"LoanCloudNoLocal"}, "MWBitmap"},
    {"desktop", "ApplicationsView", {"List"}, "ApplicationsList"},
    {"desktop", "ApplicationsView", {"gradient"}, "MWGradientWindow"},
    {"desktop", "ApplicationsView", {"exit_button"}, "MWBitmapButton"},
    {"desktop", "AddBooksView", {"container", "List", "up_gradient"}, "MWGradientWindow"},
    {"desktop", "AddBooksView", {"container", "header", "exit_button"}, "MWBitmapButton"},
    {"desktop", "WiFiDialog", {"wifi_dialog", "exit_button"}, "MWBitmapButton"},
    {"desktop_prototype", "GroupTitlePrototype", {"title"}, "MWLabel"},
    {"desktop_prototype", "AppItemPrototype", {}, ""},
};

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void CollectClasses(const MWWindow& window, std::set<std::string>* classes) {
  for (const MWWindow* child : window.Children()) {
    classes->insert(child->GetClassName());
    CollectClasses(*child, classes);
  }
}

class LayoutFiles : public ::testing::Test {
 protected:
  LayoutFiles() {
    for (const auto& entry : std::filesystem::directory_iterator(kLayoutFolder)) {
      if (entry.path().extension() != ".json")
        continue;
      keys_.push_back(entry.path().stem().string());
      root_.Root().Write("/ebrmain/layouts/" + entry.path().filename().string(),
                         ReadFile(entry.path()));
    }
    frame_.Create(0, 0, 1072, 1390, 1);
  }
  // A window of the frame's size with the layout loaded.
  MWWindow* Load(const std::string& key, const std::string& layout) {
    auto* window = frame_.MakeChild<MWWindow>(0, 0, frame_.Width(), frame_.Height(), MWS_VISIBLE);
    LayoutManager manager(Layout::fromKey(key));
    EXPECT_EQ(manager.LoadLayout(layout, window), 0) << key << " " << layout;
    return window;
  }

  WindowTestRoot root_{1072, 1448, 300};
  marrowleaf::test::RecordingFrame frame_;
  std::vector<std::string> keys_;
};

TEST_F(LayoutFiles, EveryTreeLoadsWithKnownClassesOnly) {
  ASSERT_GE(keys_.size(), 2u);
  for (const std::string& key : keys_) {
    const Layout layout = Layout::fromKey(key);
    ASSERT_TRUE(layout.IsValid()) << key;
    EXPECT_FALSE(layout.LayoutNames().empty()) << key;
    for (const std::string& name : layout.LayoutNames()) {
      std::set<std::string> classes;
      CollectClasses(*Load(key, name), &classes);
      for (const std::string& class_name : classes) {
        EXPECT_TRUE(WindowFactory::IsRegistered(class_name) ||
                    kApplicationClasses.count(class_name) != 0)
            << key << "/" << name << " uses unknown class " << class_name;
      }
    }
  }
}

TEST_F(LayoutFiles, EveryWindowTheViewsLookUpExistsWithItsClass) {
  for (const Expected& expected : kExpected) {
    MWWindow* window = Load(expected.file, expected.layout);
    for (const char* name : expected.path) {
      MWWindow* next = window->GetNonDirectChildByName(name);
      ASSERT_NE(next, nullptr) << expected.file << "/" << expected.layout << ": no " << name;
      window = next;
    }
    if (!expected.path.empty()) {
      EXPECT_EQ(window->GetClassName(), expected.class_name) << window->GetName();
    }
  }
}

TEST_F(LayoutFiles, TheHomeScreenFitsEveryScreenSize) {
  // Pages, page points and the shortcut row stay inside the frame and don't overlap.
  for (const char* view_name : {"MainView.View", "MainView.View_BSWidget"}) {
    MWWindow* view = Load("desktop", view_name);
    const MWRect page = view->GetChildByName("DeviceBlockPage1")->GetRect();
    const MWRect points = view->GetChildByName("Points")->GetRect();
    const MWRect apps = view->GetChildByName("ApplicationModule")->GetRect();
    EXPECT_LE(page.Bottom(), points.y) << view_name;
    EXPECT_LE(points.Bottom(), apps.y) << view_name;
    EXPECT_LE(apps.Bottom(), view->Height()) << view_name;
    EXPECT_GT(apps.h, 0) << view_name;
  }
}

}  // namespace
