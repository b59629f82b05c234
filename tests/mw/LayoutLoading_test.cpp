// Layout files become window trees: geometry in device-independent units, prototypes, attributes,
// and what a damaged file still gives.
#include <gtest/gtest.h>

#include <string>

#include "LayoutUnits.h"
#include "MWTestSupport.h"
#include "platform/mw/Layout.h"
#include "platform/mw/LayoutManager.h"
#include "platform/mw/MWBitmapButton.h"
#include "platform/mw/MWDialog.h"
#include "platform/mw/MWLabel.h"
#include "platform/mw/WindowFactory.h"

namespace {

using marrowleaf::platform::LayoutUnits;
using marrowleaf::test::WindowTestRoot;

// A view class of the application, known to layouts by name.
class CountingView : public MWWindow {
 public:
  int LoadAttributes(const AttributeLoader& loader) override {
    columns = loader.GetInt("col_count", 5);
    padding = loader.GetInt("min_padding", 16);
    children_at_attributes = static_cast<int>(Children().size());
    return MWWindow::LoadAttributes(loader);
  }
  void OnLayoutLoaded() override { children_at_loaded = static_cast<int>(Children().size()); }
  int OnCreate() override {
    ++creates;
    return 0;
  }
  int columns = 0;
  int padding = 0;
  int children_at_attributes = -1;
  int children_at_loaded = -1;
  int creates = 0;
};

const bool g_registered = WindowFactory::Register(
    "CountingView", [] { return std::unique_ptr<MWWindow>(std::make_unique<CountingView>()); });

// Every unit along both axes, against a 400 x 1000 reference at 320 DPI (1 dp = 2 px).
TEST(LayoutUnits, TurnsEveryUnitAlongBothAxesIntoPixels) {
  const LayoutUnits units(400, 1000, 320);
  struct Case {
    const char* text;
    int horizontal;
    int vertical;
  };
  const Case lengths[] = {
      {"12", 12, 12},         {"12px", 12, 12},     {"10dp", 20, 20},     {"1.5dp", 3, 3},
      {"25%", 100, 250},      {"25%w", 100, 100},   {"25%h", 250, 250},   {"-5", -5, -5},
      {"100% - 16dp + 2px", 370, 970},              {"50%h-50%w", 300, 300},
  };
  for (const Case& c : lengths) {
    int pixels = 0;
    ASSERT_TRUE(units.Parse(c.text, &pixels, false)) << c.text;
    EXPECT_EQ(pixels, c.horizontal) << c.text;
    ASSERT_TRUE(units.Parse(c.text, &pixels, true)) << c.text;
    EXPECT_EQ(pixels, c.vertical) << c.text;
  }
  for (const char* text : {"12pt", "12mm", "%", "", "1e400", "10dp-", "5%x"}) {
    int pixels = 7;
    EXPECT_FALSE(units.Parse(text, &pixels)) << text;
    EXPECT_EQ(pixels, 7) << text;
  }
  EXPECT_EQ(units.FromDp(10), 20);
}

class LayoutLoading : public ::testing::Test {
 protected:
  LayoutLoading() : root_(600, 800, 320) { frame_.Create(0, 0, 600, 760, 1); }
  void WriteLayout(const std::string& key, const std::string& json) {
    root_.Root().Write("/ebrmain/layouts/" + key + ".json", json);
  }
  int Load(const std::string& key, const std::string& name, MWWindow* window) {
    LayoutManager manager;
    manager.SetLayout(Layout::fromKey(key));
    return manager.LoadLayout(name, window);
  }

  WindowTestRoot root_;
  marrowleaf::test::RecordingFrame frame_;
};

TEST_F(LayoutLoading, PlacesChildrenInTheParentsClientAreaWithScaledUnits) {
  WriteLayout("desktop", R"({"layouts": {"Main": {
    "margins": ["10px", "20px", "10px", "20px"],
    "children": [
      {"class": "MWLabel", "name": "title", "x": 8, "y": 0, "w": "100%-16dp", "h": 20,
       "attributes": {"text": "Hello", "align": "center"}},
      {"name": "corner", "right": 4, "bottom": 4, "w": 10, "h": 10},
      {"name": "middle", "x": "center", "y": "center", "w": "50%", "h": "50%"},
      {"name": "rest", "y": "50%"}
    ]}}})");
  auto* view = frame_.MakeChild<MWDialog>(0, 0, 600, 760, MWS_VISIBLE);
  ASSERT_EQ(Load("desktop", "Main", view), 0);
  auto* title = view->GetChildByName<MWLabel>("title");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->GetText(), "Hello");
  EXPECT_EQ(title->GetRect(), (MWRect{10 + 16, 20, 580 - 32, 40}));
  EXPECT_EQ(view->GetChildByName("corner")->GetRect(),
            (MWRect{590 - 8 - 20, 740 - 8 - 20, 20, 20}));
  EXPECT_EQ(view->GetChildByName("middle")->GetRect(), (MWRect{10 + 145, 20 + 180, 290, 360}));
  EXPECT_EQ(view->GetChildByName("rest")->GetRect(), (MWRect{10, 20 + 360, 580, 360}));
  EXPECT_TRUE(title->IsVisible());
}

TEST_F(LayoutLoading, ApplicationClassesGetTheirAttributesThenChildrenThenOnCreate) {
  WriteLayout("desktop", R"({"layouts": {"Main": {"children": [
      {"class": "CountingView", "name": "page", "attributes": {"col_count": 3, "min_padding": "8dp"},
       "children": [{"name": "a"}, {"name": "b"}]}]}}})");
  MWDialog view;
  view.Create(&frame_, 0, 0, 600, 760, MWS_VISIBLE);
  ASSERT_EQ(Load("desktop", "Main", &view), 0);
  auto* page = view.GetChildByName<CountingView>("page");
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->GetClassName(), "CountingView");
  EXPECT_EQ(page->columns, 3);
  EXPECT_EQ(page->padding, 16);
  EXPECT_EQ(page->children_at_attributes, 0);
  EXPECT_EQ(page->children_at_loaded, 2);
  EXPECT_EQ(page->creates, 1);
}

TEST_F(LayoutLoading, PrototypesGiveDefaultsThatAWindowOverrides) {
  WriteLayout("desktop", R"({
    "prototypes": {"Button": {"class": "MWBitmapButton", "w": 100, "h": 40, "command": 9,
                              "attributes": {"text": "Base", "clip": true},
                              "children": [{"name": "badge"}]}},
    "layouts": {"Main": {"children": [
      {"prototype": "Button", "name": "ok", "attributes": {"text": "OK"}},
      {"prototype": "Button", "name": "cancel", "command": 5, "w": 50}]}}})");
  auto* view = frame_.MakeChild<MWDialog>(0, 0, 600, 760, MWS_VISIBLE);
  ASSERT_EQ(Load("desktop", "Main", view), 0);
  auto* ok = view->GetChildByName<MWBitmapButton>("ok");
  auto* cancel = view->GetChildByName<MWBitmapButton>("cancel");
  ASSERT_NE(ok, nullptr);
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(ok->GetText(), "OK");
  EXPECT_TRUE(ok->IsClipping());
  EXPECT_EQ(ok->GetCommandID(), 9);
  EXPECT_EQ(ok->Width(), 200);
  EXPECT_NE(ok->GetChildByName("badge"), nullptr);
  EXPECT_EQ(cancel->GetText(), "Base");
  EXPECT_EQ(cancel->GetCommandID(), 5);
  EXPECT_EQ(cancel->Width(), 100);
}

TEST_F(LayoutLoading, ABadWindowLoadsWhatItCanAndTheRestStillLoads) {
  WriteLayout("desktop", R"({"layouts": {"Main": {"children": [
      {"class": "NoSuchClass", "name": "mystery", "children": [{"class": "MWLabel", "name": "inner"}]},
      {"class": 12, "name": "numbered"},
      {"name": "typo", "x": "ten", "w": [1], "visible": "yes", "attributes": {"list": [1, 2]}},
      "not a window",
      {"class": "MWLabel", "name": "last", "font": {"size": "big"}, "attributes": {"text": 5}}]}}})");
  auto* view = frame_.MakeChild<MWDialog>(0, 0, 600, 760, MWS_VISIBLE);
  ASSERT_EQ(Load("desktop", "Main", view), 0);
  MWWindow* mystery = view->GetChildByName("mystery");
  ASSERT_NE(mystery, nullptr);
  EXPECT_EQ(mystery->GetClassName(), "NoSuchClass");
  EXPECT_NE(mystery->GetChildByName<MWLabel>("inner"), nullptr);
  EXPECT_NE(view->GetChildByName("numbered"), nullptr);
  MWWindow* typo = view->GetChildByName("typo");
  ASSERT_NE(typo, nullptr);
  EXPECT_EQ(typo->GetRect(), (MWRect{0, 0, 600, 760}));
  EXPECT_TRUE(typo->IsVisible());
  auto* last = view->GetChildByName<MWLabel>("last");
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->GetText(), "5");
  EXPECT_EQ(view->Children().size(), 4u);
}

TEST_F(LayoutLoading, MissingAndDamagedFilesLoadNothing) {
  auto* view = frame_.MakeChild<MWDialog>(0, 0, 600, 760, MWS_VISIBLE);
  EXPECT_EQ(Load("desktop", "Main", view), -1);
  WriteLayout("broken", R"({"layouts": {"Main": {"children": [)");
  EXPECT_EQ(Load("broken", "Main", view), -1);
  WriteLayout("deep", std::string(200, '[') + std::string(200, ']'));
  EXPECT_EQ(Load("deep", "Main", view), -1);
  WriteLayout("desktop", R"({"layouts": {"Other": {}}})");
  EXPECT_EQ(Load("desktop", "Main", view), -1);
  EXPECT_EQ(Load("../../etc/passwd", "Main", view), -1);
  EXPECT_TRUE(view->Children().empty());
}

TEST_F(LayoutLoading, TheThemesSuffixSelectsTheLayoutVariant) {
  WriteLayout("desktop", R"({"layouts": {"Main": {"children": [{"name": "plain"}]}}})");
  WriteLayout("desktop_dark", R"({"layouts": {"Main": {"children": [{"name": "dark"}]}}})");
  auto* view = frame_.MakeChild<MWDialog>(0, 0, 600, 760, MWS_VISIBLE);
  ASSERT_EQ(Load(std::string("desktop") + "_dark", "Main", view), 0);
  EXPECT_NE(view->GetChildByName("dark"), nullptr);
  EXPECT_EQ(view->GetChildByName("plain"), nullptr);
}

TEST_F(LayoutLoading, AnEditedFileIsReadAgain) {
  WriteLayout("desktop", R"({"layouts": {"Main": {"children": [{"name": "first"}]}}})");
  EXPECT_TRUE(Layout::fromKey("desktop").HasLayout("Main"));
  WriteLayout("desktop", R"({"layouts": {"Second": {"children": [{"name": "second"}]}}})");
  const Layout layout = Layout::fromKey("desktop");
  EXPECT_FALSE(layout.HasLayout("Main"));
  EXPECT_TRUE(layout.HasLayout("Second"));
}

TEST_F(LayoutLoading, AClonedWindowCopiesLookAttributesAndChildren) {
  WriteLayout("desktop", R"({"layouts": {"Tile": {"font": {"size": 20, "bold": true},
      "command": 10, "attributes": {"size_name": "M"},
      "children": [{"class": "MWLabel", "name": "title", "h": 30, "attributes": {"text": "T"}},
                   {"class": "MWBitmapButton", "name": "hidden", "visible": false}]}}})");
  MWWindow prototype;
  prototype.Create(nullptr, 0, 0, 200, 300, 0);
  ASSERT_EQ(Load("desktop", "Tile", &prototype), 0);
  auto* tile = frame_.MakeChild<MWWindow>(10, 10, 0, 0, MWS_VISIBLE);
  tile->SetName("bookitem_1");
  tile->cloneFromPrototype(&prototype);
  EXPECT_EQ(tile->GetName(), "bookitem_1");
  EXPECT_EQ(tile->GetRect(), (MWRect{10, 10, 200, 300}));
  EXPECT_EQ(tile->GetCommandID(), 10);
  ASSERT_NE(tile->GetWindowFont(), nullptr);
  EXPECT_TRUE(tile->GetWindowFont()->bold);
  EXPECT_EQ(tile->Attributes().GetString("size_name", ""), "M");
  auto* title = tile->GetChildByName<MWLabel>("title");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->GetText(), "T");
  EXPECT_NE(title, prototype.GetChildByName("title"));
  auto* hidden = tile->GetChildByName<MWBitmapButton>("hidden");
  ASSERT_NE(hidden, nullptr);
  EXPECT_FALSE(hidden->IsVisible());
}

}  // namespace
