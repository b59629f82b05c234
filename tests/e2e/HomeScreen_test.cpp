// The home screen as a reader meets it: the real program on a generated sample device, driven by
// scripts of taps, swipes and keys, read back through the windows it showed and the journal of
// the screen updates it sent.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "e2e/Journey.h"

namespace marrowleaf::test {
namespace {

struct Rect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  bool Inside(const Rect& outer) const {
    return x >= outer.x && y >= outer.y && x + w <= outer.x + outer.w && y + h <= outer.y + outer.h;
  }
};

Rect RectOf(const Json::Value& update) {
  return {update["x"].asInt(), update["y"].asInt(), update["w"].asInt(), update["h"].asInt()};
}

Rect RectOf(const ScreenReader::Window& window) {
  return {window.x, window.y, window.w, window.h};
}

// Scripts run as written (RunScript): the updates are counted by the script's line numbers.
class HomeScreenTest : public Journey {
 protected:
  // The screen right after the start, to find where things are.
  ScreenReader FirstScreen() {
    RunScript("idle\n" + Windows("first"));
    return Screen("first");
  }
  // The screen updates that the script's command on line `from` caused, up to the command on
  // line `to`.
  std::vector<Json::Value> UpdatesBetween(int from, int to) const {
    std::vector<Json::Value> updates;
    int line = -1;
    for (const Json::Value& entry : JournalReader(root_.HostRoot()).All()) {
      if (entry["event"].asString() == "script")
        line = entry["line"].asInt();
      if (entry["event"].asString() == "update" && line >= from && line < to)
        updates.push_back(entry);
    }
    return updates;
  }
};

TEST_F(HomeScreenTest, TheFirstScreenComesFromTheCacheFileThenFromTheLibrary) {
  MakeDevice();
  RunScript("idle\n");  // leaves the cache file of the home screen
  // Another program renames a book and then holds the library longer than the home screen waits
  // for it (2 s): the home screen shows what it saved, its own read gives up, and when the other
  // program lets go and announces its change, the home screen reads the library again.
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(root_.Host("/mnt/ext1/system/explorer-3/explorer-3.db").c_str(), &db),
            SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db,
                         "UPDATE books_impl SET title = 'Renamed Elsewhere' "
                         "WHERE title = 'Pending Download'; BEGIN EXCLUSIVE",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  const std::string cached = root_.Host("/.sim/cached.json");
  std::thread writer([db, cached] {
    for (int i = 0; i < 6000 && !std::filesystem::exists(cached); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  });
  RunScript(Windows("cached") + "wait 5000\nevent library-changed\nidle\n" + Windows("fresh"));
  writer.join();
  sqlite3_close(db);
  const std::string title = "DeviceBlockPage1/bookitem_1/NoCover/title";
  EXPECT_EQ(Screen("cached").Text(title), "Pending Download");
  EXPECT_EQ(Screen("fresh").Text(title), "Renamed Elsewhere");
}

TEST_F(HomeScreenTest, PagesTurnOnSwipesLongerThan100PixelsAndOnThePageKeysWithWrapAround) {
  MakeDevice();
  const ScreenReader first = FirstScreen();
  ASSERT_EQ(first.CurrentPage(), 1);
  const ScreenReader::Window page = first.Find("DeviceBlockPage1");
  const ScreenReader::Window second = first.Find("DeviceBlockPage1/bookitem_2");
  const ScreenReader::Window third = first.Find("DeviceBlockPage1/bookitem_3");
  // Swipes start in the gap between two tiles (where the page itself takes the finger) or on a
  // tile, which leaves a travelling finger to its page.
  const int gap = (second.x + second.w + third.x) / 2;
  const int x = third.CentreX();
  const int y = page.CentreY();
  auto swipe = [&](int from, int to) {
    return "swipe " + std::to_string(from) + " " + std::to_string(y) + " " + std::to_string(to) +
           " " + std::to_string(y) + "\n";
  };
  RunScript(swipe(gap, gap - 100) + Windows("a") + swipe(x, x - 101) + Windows("b") +
      swipe(gap - 101, gap) + Windows("c") + "key prev\n" + Windows("d") +
      swipe(x, x - 101) + Windows("e") + "key next\n" + Windows("f") + "key next2\n" +
      Windows("g"));
  EXPECT_EQ(Screen("a").CurrentPage(), 1) << "100 px is no swipe";
  EXPECT_EQ(Screen("b").CurrentPage(), 2) << "101 px turns to the next page";
  EXPECT_EQ(Screen("c").CurrentPage(), 1) << "a swipe to the right turns back";
  EXPECT_EQ(Screen("d").CurrentPage(), 3) << "Prev on the first page wraps to the last";
  EXPECT_EQ(Screen("e").CurrentPage(), 3) << "a swipe on the last page goes nowhere";
  EXPECT_EQ(Screen("f").CurrentPage(), 1) << "Next on the last page wraps to the first";
  EXPECT_EQ(Screen("g").CurrentPage(), 2) << "the second pair of page keys";
}

TEST_F(HomeScreenTest, EveryFifthPageTurnFlashesAndTheOthersUpdateOnlyThePage) {
  MakeDevice();
  const ScreenReader first = FirstScreen();
  const Rect page = RectOf(first.Find("DeviceBlockPage1"));
  const Rect points = RectOf(first.Find("Points"));
  // The update policy may send the page and the marks under it as one rectangle.
  const Rect page_and_points{page.x, page.y, page.w, points.y + points.h - page.y};
  std::string script;
  for (int turn = 1; turn <= 10; ++turn) script += "key next\n";
  RunScript(script + Windows("end"));
  for (int turn = 1; turn <= 10; ++turn) {
    const std::vector<Json::Value> updates = UpdatesBetween(turn, turn + 1);
    ASSERT_FALSE(updates.empty()) << "turn " << turn;
    int flashes = 0;
    for (const Json::Value& update : updates) {
      if (update["kind"].asString() == "full") {
        ++flashes;
        continue;
      }
      const Rect rect = RectOf(update);
      EXPECT_TRUE(rect.Inside(page) || rect.Inside(points) || rect.Inside(page_and_points))
          << "turn " << turn << " updated " << rect.x << "," << rect.y << " " << rect.w << "x"
          << rect.h;
    }
    EXPECT_EQ(flashes, turn % 5 == 0 ? 1 : 0) << "turn " << turn;
  }
  EXPECT_EQ(Screen("end").CurrentPage(), 2);
}

TEST_F(HomeScreenTest, TheStoreHeaderStepsThroughTheBlocksAndUpdatesOnlyTheStoreArea) {
  MakeDevice();
  const ScreenReader first = FirstScreen();
  EXPECT_EQ(first.Text("StoreHeaderBlock/header"), "Weekly picks");
  for (int tile = 1; tile <= 4; ++tile)
    EXPECT_TRUE(first.Shows("StoreBlock/bookitem_" + std::to_string(tile))) << tile;
  const ScreenReader::Window next = first.Find("StoreHeaderBlock/next_page");
  const ScreenReader::Window previous = first.Find("StoreHeaderBlock/prev_page");
  const ScreenReader::Window header = first.Find("StoreHeaderBlock");
  const ScreenReader::Window block = first.Find("StoreBlock");
  const Rect store{block.x, header.y, block.w, block.y + block.h - header.y};
  auto tap = [](const ScreenReader::Window& button) {
    return "tap " + std::to_string(button.CentreX()) + " " + std::to_string(button.CentreY()) +
           "\n";
  };
  // The next arrow follows the title, so it moves with each block; the previous arrow stays.
  RunScript(tap(next) + Windows("1") + tap(previous) + Windows("2") + tap(previous) +
      Windows("3") + tap(previous) + Windows("4"));

  const ScreenReader detailed = Screen("1");
  EXPECT_EQ(detailed.Text("StoreHeaderBlock/header"), "Book of the day");
  EXPECT_FALSE(detailed.Shows("StoreBlock/bookitem_1"));
  EXPECT_EQ(detailed.Text("detailed_bookitem/title_label"), "Northern Lights Over Ice");
  EXPECT_EQ(detailed.Text("detailed_bookitem/old_price_label"), "8.99 EUR");
  const ScreenReader::Window old_price = detailed.Find("detailed_bookitem/old_price_label");
  const ScreenReader::Window cross = detailed.Find("detailed_bookitem/cross_line");
  ASSERT_GT(cross.w, 0) << "the old price is struck through";
  EXPECT_EQ(cross.x, old_price.x);
  EXPECT_NEAR(cross.CentreY(), old_price.CentreY(), 2);
  EXPECT_TRUE(detailed.Find("detailed_bookitem/Cover/cover").picture);

  EXPECT_EQ(Screen("2").Text("StoreHeaderBlock/header"), "Weekly picks") << "and back";
  const ScreenReader news = Screen("3");
  EXPECT_EQ(news.Text("StoreHeaderBlock/header"), "News") << "wraps around to the last block";
  EXPECT_EQ(news.Text("newsitem/title_label"), "Summer reading festival");
  EXPECT_FALSE(news.Shows("newsitem/offset_block/button")) << "only a settings entry has a button";
  EXPECT_EQ(Screen("4").Text("StoreHeaderBlock/header"), "Book of the day");

  for (int step = 1; step <= 7; step += 2) {
    for (const Json::Value& update : UpdatesBetween(step, step + 1)) {
      const Rect rect = RectOf(update);
      EXPECT_TRUE(rect.Inside(store)) << "step " << step << " updated " << rect.x << "," << rect.y
                                      << " " << rect.w << "x" << rect.h;
    }
  }
}

TEST_F(HomeScreenTest, ACoverThatArrivesLaterRedrawsOnlyItsOwnTile) {
  MakeDevice();
  // The first page's covers are made while the first screen is drawn; the second page's on the
  // worker, after the page turned.
  RunScript("key next\n" + Windows("turned") + "idle\n" + Windows("covers"));
  const ScreenReader turned = Screen("turned");
  const ScreenReader covers = Screen("covers");
  ASSERT_EQ(covers.CurrentPage(), 2);
  std::vector<Rect> arrived;
  for (int tile = 1; tile <= 3; ++tile) {
    const std::string cover = "DeviceBlockPage2/bookitem_" + std::to_string(tile) + "/Cover/cover";
    if (!turned.Find(cover).picture && covers.Find(cover).picture)
      arrived.push_back(RectOf(covers.Find(cover)));
  }
  ASSERT_FALSE(arrived.empty()) << "no cover of the second page came later";
  const std::vector<Json::Value> updates = UpdatesBetween(2, 4);
  ASSERT_FALSE(updates.empty());
  for (const Json::Value& update : updates) {
    const Rect rect = RectOf(update);
    bool inside_a_new_cover = false;
    for (const Rect& cover : arrived) inside_a_new_cover = inside_a_new_cover || rect.Inside(cover);
    EXPECT_TRUE(inside_a_new_cover) << update["kind"].asString() << " update " << rect.x << ","
                                    << rect.y << " " << rect.w << "x" << rect.h;
  }
}

TEST_F(HomeScreenTest, KeysMoveTheFocusAcrossRowsPagesTheShortcutRowAndThePanel) {
  MakeDevice("6in-keys");
  RunScript(Windows("0") + "key right\n" + Windows("1") + "key right\nkey right\n" +
      Windows("2") + "key left\n" + Windows("3") + "key down\n" + Windows("4") +
      "key down\n" + Windows("5") + "key down\n" + Windows("6") + "key up\n" +
      Windows("7") + "key up\n" + Windows("8") + "key down long\n" + Windows("9") +
      "key next\n" + Windows("10"));
  EXPECT_EQ(Screen("0").FocusedPath(), "View/DeviceBlockPage1/bookitem_1");
  EXPECT_EQ(Screen("1").FocusedPath(), "View/DeviceBlockPage1/bookitem_2");
  EXPECT_EQ(Screen("2").FocusedPath(), "View/DeviceBlockPage2/bookitem_1")
      << "right from the last column turns the page";
  EXPECT_EQ(Screen("3").FocusedPath(), "View/DeviceBlockPage1/bookitem_3")
      << "left from the first column turns back to the row's last tile";
  EXPECT_EQ(Screen("4").FocusedPath(), "View/DeviceBlockPage1/bookitem_6");
  EXPECT_EQ(Screen("5").Find("ApplicationModule").name, "ApplicationModule");
  EXPECT_NE(Screen("5").FocusedPath().find("View/ApplicationModule/app_"), std::string::npos);
  EXPECT_EQ(Screen("6").FocusedPath(), "panel") << "down from the row goes to the panel";
  EXPECT_EQ(Screen("7").FocusedPath(), "View/ApplicationModule/app_1")
      << "up from the panel lands on the row";
  EXPECT_NE(Screen("8").FocusedPath().find("View/DeviceBlockPage1/bookitem_"),
            std::string::npos);
  EXPECT_NE(Screen("9").FocusedPath().find("View/ApplicationModule/app_"), std::string::npos)
      << "holding down jumps to the row";
  EXPECT_EQ(Screen("10").CurrentPage(), 2);
}

}  // namespace
}  // namespace marrowleaf::test

namespace marrowleaf::test {
namespace {

TEST_F(HomeScreenTest, AStoreFileThatIsMissingEmptyOrBrokenGivesThePlainLayout) {
  MakeDevice();
  const std::string store = "/mnt/ext1/system/config/desktop_data.cfg";
  const std::vector<std::pair<const char*, std::string>> cases = {
      {"empty", ""},
      {"binary", std::string("promotion_0=a\0\x01\x02\xff\n", 18)},
      {"blocks without offers", "promotion_0=picks\npromotion_type_0=books\nconfig_version=3\n"}};
  for (const auto& [what, content] : cases) {
    root_.Write(store, content);
    RunScript(Windows("plain"));
    const ScreenReader screen = Screen("plain");
    EXPECT_TRUE(screen.Shows("View/DeviceBlockPage1/bookitem_6")) << what;
    EXPECT_FALSE(screen.Shows("StoreBlock")) << what;
  }
  std::remove(root_.Host(store).c_str());
  RunScript(Windows("missing"));
  EXPECT_TRUE(Screen("missing").Shows("View/DeviceBlockPage1/bookitem_6"));
}

TEST_F(HomeScreenTest, AnEmptyLibraryShowsOnceWhereBooksWillAppear) {
  MakeDevice();
  std::remove(root_.Host("/mnt/ext1/system/explorer-3/explorer-3.db").c_str());
  std::remove(root_.Host("/mnt/ext1/system/cache/desktop/cache.dat").c_str());
  RunScript(Windows("none"));
  const ScreenReader none = Screen("none");
  EXPECT_TRUE(none.Shows("DeviceBlockPage1/bookitem_1/Empty/EmptyText"));
  EXPECT_FALSE(none.Shows("DeviceBlockPage1/bookitem_2/Empty/EmptyText"))
      << "the hint is said once";
  EXPECT_TRUE(none.Shows("DeviceBlockPage1/bookitem_2/Empty"));
}

TEST_F(HomeScreenTest, ALayoutWithoutSomeNamedWindowsStillStarts) {
  MakeDevice();
  // The store header, the page marks and the shortcut row are gone from the layout.
  std::string layout = root_.Read("/ebrmain/layouts/desktop.json");
  for (const char* name : {"\"StoreHeaderBlock\"", "\"Points\"", "\"ApplicationModule\""}) {
    for (size_t at = layout.find(name); at != std::string::npos; at = layout.find(name, at))
      layout.replace(at, std::string(name).size(), "\"Renamed\"");
  }
  root_.Write("/ebrmain/layouts/desktop.json", layout);
  RunScript(Windows("start") + "key next\n" + Windows("turned"));
  EXPECT_EQ(Screen("start").CurrentPage(), 1);
  EXPECT_EQ(Screen("turned").CurrentPage(), 2);
  EXPECT_FALSE(Screen("start").Shows("Points"));
}

TEST_F(HomeScreenTest, TheScreenReaderSaysEachTileOnceWhenItTakesTheFocus) {
  MakeDevice("6in-keys");
  RunScript("idle\n");  // leaves the cache file: the next start draws from it, then from fresh data
  root_.Write("/var/run/device_state", std::string("\x01", 1) + std::string(15, '\0'));
  RunScript("idle\nkey right\nidle\nkey right\nidle\n");
  std::vector<std::string> said;
  for (const Json::Value& entry : JournalReader(root_.HostRoot()).All()) {
    if (entry["event"].asString() == "speech")
      said.push_back(entry["text"].asString());
  }
  // The focused tile is drawn again as data and covers arrive: each drawing is no new news.
  ASSERT_GE(said.size(), 3u) << "the first tile and the two the focus moved to";
  for (size_t i = 0; i < said.size(); ++i) {
    for (size_t j = i + 1; j < said.size(); ++j)
      EXPECT_NE(said[i], said[j]) << "said twice: " << said[i];
  }
}

}  // namespace
}  // namespace marrowleaf::test
