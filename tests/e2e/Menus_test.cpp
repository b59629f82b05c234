// Journeys through the context menus, the add-books grid and the Wi-Fi prompt: the real program on
// the sample device, read back through its screen, its journal, the files and the library database.
// A journey first looks where things are on the screen (a probe run), then acts on them.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/Journey.h"

namespace marrowleaf::test {
namespace {

constexpr const char* kLibraryDb = "/mnt/ext1/system/explorer-3/explorer-3.db";
constexpr const char* kPride = "/mnt/ext1/Books/Classics/Pride and Prejudice.fb2";
constexpr const char* kGlobal = "/mnt/ext1/system/config/global.cfg";

using Window = ScreenReader::Window;

std::string At(const Window& window, const char* verb = "tap") {
  return std::string(verb) + " " + std::to_string(window.CentreX()) + " " +
         std::to_string(window.CentreY()) + "\n";
}

bool Overlap(const Window& a, const Window& b) {
  return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

class MenuJourney : public Journey {
 protected:
  void SetUp() override { MakeDevice(); }

  // The screen as the script leaves it after `script`.
  ScreenReader Probe(const std::string& script) {
    Run(script + Windows("probe"));
    return Screen("probe");
  }

  // The tile of the first page that shows a book or group, by a text it shows or its index.
  Window Tile(const ScreenReader& screen, int index) const {
    return screen.Find("DeviceBlockPage1/bookitem_" + std::to_string(index));
  }
  // The tile of a group of `count` books on a page.
  Window GroupTile(const ScreenReader& screen, const std::string& count, int page = 1) const {
    const std::string tiles = "DeviceBlockPage" + std::to_string(page) + "/bookitem_";
    for (const Window& w : screen.Windows()) {
      if (w.path.find(tiles) != std::string::npos &&
          w.path.size() >= 16 && w.path.compare(w.path.size() - 16, 16, "/AddedInfo/count") == 0 &&
          w.text == count)
        return screen.Find(w.path.substr(0, w.path.size() - 16));
    }
    return Window();
  }
  // The rows of the innermost menu shown (each menu level lists its own "List").
  static std::vector<Window> Rows(const ScreenReader& screen) {
    std::vector<Window> rows;
    for (const Window& w : screen.Windows()) {
      if (w.class_name == "PopupMenuList")
        rows.clear();
      if (w.path == "List/Item/Title")
        rows.push_back(w);
    }
    return rows;
  }
  static Window InnermostList(const ScreenReader& screen) {
    Window list;
    for (const Window& w : screen.Windows()) {
      if (w.class_name == "PopupMenuList")
        list = w;
    }
    return list;
  }
  static Window Entry(const ScreenReader& screen, const std::string& text) {
    for (const Window& row : Rows(screen)) {
      if (row.text == text)
        return row;
    }
    return Window();
  }
  static std::vector<std::string> Entries(const ScreenReader& screen) {
    std::vector<std::string> texts;
    for (const Window& row : Rows(screen)) texts.push_back(row.text);
    return texts;
  }
  // The script that chooses an entry of the menu `script` opens: a tap on its row, after the list
  // was dragged up when a short menu scrolls the row out of sight.
  std::string Choose(const std::string& script, const std::string& text) {
    ScreenReader menu = Probe(script);
    const Window list = menu.Find("List");
    Window row = Entry(menu, text);
    EXPECT_GT(row.w, 0) << "no entry " << text;
    if (row.CentreY() < list.y + list.h)
      return script + At(row);
    const std::string drag = "swipe " + std::to_string(list.CentreX()) + " " +
                             std::to_string(list.y + list.h - 8) + " " +
                             std::to_string(list.CentreX()) + " " + std::to_string(list.y + 8) + "\n";
    menu = Probe(script + drag);
    row = Entry(menu, text);
    EXPECT_LT(row.CentreY(), list.y + list.h) << text << " is still out of sight";
    return script + drag + At(row);
  }

  // One number from the library database.
  long long Query(const std::string& sql) const {
    sqlite3* db = nullptr;
    long long value = -1;
    if (sqlite3_open_v2(root_.Host(kLibraryDb).c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) ==
        SQLITE_OK) {
      sqlite3_stmt* st = nullptr;
      if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK &&
          sqlite3_step(st) == SQLITE_ROW)
        value = sqlite3_column_int64(st, 0);
      sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return value;
  }
  void Edit(const std::string& sql) const {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(root_.Host(kLibraryDb).c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
        << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
  }
  long long PrideCompleted() const {
    return Query(
        "SELECT completed FROM books_settings s JOIN books_impl b ON b.id = s.bookid "
        "WHERE b.title = 'Pride and Prejudice'");
  }

};

TEST_F(MenuJourney, AHeldBookGetsItsMenuBesideItTheReadMarkGoesOnAndOffAndItLeavesTheHomeScreen) {
  const ScreenReader home = Probe("");
  const Window pride = Tile(home, 2);
  const ScreenReader menu = Probe(At(pride, "hold"));
  EXPECT_EQ(Entries(menu), (std::vector<std::string>{"Remove from Home Screen", "Open with",
                                                    "Book Info", "Mark as Read", "Upload to Cloud",
                                                    "Delete Book"}));
  const Window list = menu.Find("List");
  ASSERT_GT(list.w, 0);
  EXPECT_FALSE(Overlap(list, pride)) << "the menu leaves the held book in sight";
  EXPECT_TRUE(list.x >= 0 && list.y >= 0 && list.x + list.w <= 1072 && list.y + list.h <= 1448);
  EXPECT_EQ(menu.Find("arrow_bitmap").picture, true);
  ASSERT_EQ(PrideCompleted(), 0);

  Run(Choose(At(pride, "hold"), "Mark as Read") + Windows("after"));
  EXPECT_EQ(PrideCompleted(), 1);
  EXPECT_FALSE(Screen("after").Shows("List")) << "the menu closed";

  Run(Choose(At(pride, "hold"), "Mark as Unread"));
  EXPECT_EQ(PrideCompleted(), 0);

  // Removed from the home screen, it stays in the library.
  Run(Choose(At(pride, "hold"), "Remove from Home Screen"));
  EXPECT_EQ(Query("SELECT opentime FROM books_settings s JOIN books_impl b ON b.id = s.bookid "
                  "WHERE b.title = 'Pride and Prejudice'"),
            0);
  EXPECT_EQ(Query("SELECT ts_added FROM books_impl WHERE title = 'Pride and Prejudice'"), 0);
  EXPECT_TRUE(root_.Exists(kPride));
  EXPECT_EQ(Query("SELECT count(*) FROM files f JOIN books_impl b ON b.id = f.book_id "
                  "WHERE b.title = 'Pride and Prejudice'"),
            1);
}

TEST_F(MenuJourney, DeletingABookAsksFirstAndOnlyYesDeletesItsFileAndItsRows) {
  const long long files = Query("SELECT count(*) FROM files");
  const ScreenReader home = Probe("");
  const Window pride = Tile(home, 2);
  const std::string ask = Choose(At(pride, "hold"), "Delete Book");

  Run(ask + Windows("question") + "answer 1\n");
  const Window question = Screen("question").Find("dialog");
  EXPECT_EQ(Screen("question").Find("dialog").class_name, "Dialog");
  EXPECT_NE(question.text.find("Pride and Prejudice"), std::string::npos) << question.text;
  EXPECT_TRUE(root_.Exists(kPride));
  EXPECT_EQ(Query("SELECT count(*) FROM files"), files) << "No changes nothing";

  Run(ask + "answer 2\nidle\n" + Windows("after"));
  EXPECT_FALSE(root_.Exists(kPride));
  EXPECT_EQ(Query("SELECT count(*) FROM files"), files - 1) << "its row, and no other";
  EXPECT_EQ(Query("SELECT count(*) FROM files f JOIN books_impl b ON b.id = f.book_id "
                  "WHERE b.title = 'Pride and Prejudice'"),
            0);
  EXPECT_TRUE(root_.Exists("/mnt/ext1/Books/Classics/Dubliners.epub") ||
              Query("SELECT count(*) FROM books_impl WHERE title = 'Dubliners'") == 1);
}

TEST_F(MenuJourney, OpenWithRecordsTheChosenReaderWhichStartsWithTheBook) {
  const ScreenReader home = Probe("");
  const Window pride = Tile(home, 2);
  const std::string open_with = Choose(At(pride, "hold"), "Open with");
  const ScreenReader readers = Probe(open_with);
  EXPECT_EQ(Entries(readers), (std::vector<std::string>{"FBReader", "Reader"}));
  EXPECT_EQ(readers.Text("back_title"), "Open with");
  // Readers have no icons: their names start where the icons of the book's menu do.
  const ScreenReader menu = Probe(At(pride, "hold"));
  EXPECT_EQ(Entry(readers, "Reader").x - InnermostList(readers).x,
            menu.Find("List/Item/Icon").x - InnermostList(menu).x);

  Run(open_with + At(Entry(readers, "Reader")) + Windows("after"));
  const auto handlers = Journal("handler");
  ASSERT_EQ(handlers.size(), 1u);
  EXPECT_EQ(handlers[0]["path"].asString(), kPride);
  EXPECT_EQ(handlers[0]["handler"].asString(), "Reader");
  const auto started = Journal("standin");
  ASSERT_FALSE(started.empty());
  EXPECT_EQ(started.back()["path"].asString(), "/ebrmain/bin/reader.app");
  EXPECT_EQ(started.back()["args"][0].asString(), kPride);
  EXPECT_FALSE(Screen("after").Shows("List")) << "both levels closed";
}

TEST_F(MenuJourney, ASubmenusBackButtonReturnsToItsMenuAndATapOutsideClosesItCleanly) {
  const ScreenReader home = Probe("");
  const Window pride = Tile(home, 2);
  const ScreenReader menu = Probe(At(pride, "hold"));
  const std::string open_with = Choose(At(pride, "hold"), "Open with");
  const ScreenReader readers = Probe(open_with);
  const Window back = readers.Find("back_btn");
  ASSERT_GT(back.w, 0);

  Run(open_with + At(back) + Windows("parent") + "tap 20 1300\n" + Windows("home"));
  const int tap_outside = static_cast<int>(std::count(open_with.begin(), open_with.end(), '\n')) + 4;
  EXPECT_EQ(Entries(Screen("parent")), Entries(menu)) << "the book's menu again";
  EXPECT_FALSE(Screen("home").Shows("List"));
  EXPECT_TRUE(Screen("home").Shows("DeviceBlockPage1"));
  // The menu dimmed the whole screen: leaving it flashes the screen clean.
  int line = 0;
  bool cleaned = false;
  for (const Json::Value& entry : JournalReader(root_.HostRoot()).All()) {
    if (entry["event"].asString() == "script")
      line = entry["line"].asInt();
    if (entry["event"].asString() == "update" && line == tap_outside)
      cleaned = cleaned || (entry["kind"].asString() == "full");
  }
  EXPECT_TRUE(cleaned);
}

TEST_F(MenuJourney, AGroupsFilesAreDeletedAfterYesAndItsTileIsGone) {
  const ScreenReader home = Probe("");
  const Window group = GroupTile(home, "2");
  ASSERT_GT(group.w, 0);
  const ScreenReader menu = Probe(At(group, "hold"));
  EXPECT_EQ(Entries(menu), (std::vector<std::string>{"Remove from Home Screen", "Book Info",
                                                    "Mark as Read", "Delete Book"}));
  Run(Choose(At(group, "hold"), "Delete Book") + Windows("question") + "answer 2\nidle\n" +
      Windows("after"));
  EXPECT_NE(Screen("question").Find("dialog").text.find("2 books"), std::string::npos);
  EXPECT_FALSE(root_.Exists("/mnt/ext1/Download/Two Tales/Two Tales 1.fb2"));
  EXPECT_FALSE(root_.Exists("/mnt/ext1/Download/Two Tales/Two Tales 2.fb2"));
  EXPECT_EQ(Query("SELECT count(*) FROM files WHERE filename LIKE 'Two Tales%'"), 0);
  EXPECT_EQ(GroupTile(Screen("after"), "2").w, 0);
  EXPECT_TRUE(root_.Exists(kPride));
}

TEST_F(MenuJourney, WithKeysTheMenuOpensOnTheFocusedTileAndTheFocusComesBack) {
  MakeDevice("6in-keys");
  const ScreenReader home = Probe("");
  const std::string focused = home.FocusedPath();
  ASSERT_NE(focused.find("bookitem_1"), std::string::npos) << focused;
  Run("key ok long\n" + Windows("menu") + "key down\nkey down\n" + Windows("moved") +
      "key back\n" + Windows("back"));
  EXPECT_EQ(Screen("menu").FocusedPath(), "List");
  EXPECT_TRUE(Screen("menu").Shows("List/Item"));
  EXPECT_EQ(Screen("back").FocusedPath(), focused) << "the focus returns to the tile";
  EXPECT_FALSE(Screen("back").Shows("List"));

  // The third entry of the pending download's menu marks it as read.
  const std::vector<std::string> entries = Entries(Screen("menu"));
  ASSERT_GE(entries.size(), 3u);
  ASSERT_EQ(entries[2], "Mark as Read");
  Run("key ok long\nkey down\nkey down\nkey ok\n");
  EXPECT_EQ(Query("SELECT completed FROM books_settings s JOIN books_impl b ON b.id = s.bookid "
                  "WHERE b.title = 'Pending Download'"),
            1);
}

TEST_F(MenuJourney, TheGridOfAGroupLaysItsBooksOutByTheirNumberAndShowsAtMostTwentyOne) {
  const long long now = static_cast<long long>(std::time(nullptr));
  Edit("UPDATE books_impl SET ts_added = " + std::to_string(now - 60) +
       " WHERE title LIKE 'Four Seasons%';"
       "UPDATE books_impl SET ts_added = " + std::to_string(now - 120) +
       " WHERE title LIKE 'Thirty Stories%';");
  // Each group is opened from its page (reached by the page key) and closed again.
  auto open_each = [&](const std::vector<std::string>& counts) {
    Run(Windows("page1") + "key next\nidle\n" + Windows("page2") + "key next\nidle\n" +
        Windows("page3"));
    std::string script;
    for (const std::string& count : counts) {
      bool found = false;
      for (int page = 1; page <= 3 && !found; ++page) {
        const Window group = GroupTile(Screen("page" + std::to_string(page)), count, page);
        if (group.w == 0)
          continue;
        found = true;
        for (int turn = 1; turn < page; ++turn) script += "key next\nidle\n";
        script += At(group) + "idle\n" + Windows("grid" + count) + "key back\nidle\n";
        for (int turn = 1; turn < page; ++turn) script += "key prev\nidle\n";
      }
      EXPECT_TRUE(found) << "no group of " << count;
    }
    Run(script);
  };
  open_each({"2", "4", "30"});
  Edit("UPDATE books_impl SET hidden = 1 WHERE title IN ('Four Seasons 4') OR "
       "(title LIKE 'Thirty Stories%' AND CAST(substr(title, 16) AS INTEGER) > 5)");
  open_each({"3", "5"});

  struct Expected {
    std::string count;
    size_t tiles;
    size_t columns;
    size_t rows_shown;  // the grid's height in rows; 0 for a scrolling grid
    const char* tile;
  };
  const Expected expected[] = {{"2", 2, 2, 1, "book_item_XL"}, {"3", 3, 3, 1, "book_item_M"},
                               {"4", 4, 2, 2, "book_item_M"},  {"5", 5, 3, 0, "book_item_M"},
                               {"30", 21, 3, 0, "book_item_M"}};
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.count + " books");
    const ScreenReader grid = Screen("grid" + e.count);
    EXPECT_EQ(grid.Text("header/title_label"), e.count + " new books");
    std::vector<Window> tiles;
    std::vector<int> columns;
    for (const Window& w : grid.Windows()) {
      if (w.path == "container/List/Item/" + std::string(e.tile)) {
        tiles.push_back(w);
        if (std::find(columns.begin(), columns.end(), w.x) == columns.end())
          columns.push_back(w.x);
      }
    }
    ASSERT_EQ(tiles.size(), e.tiles);
    EXPECT_EQ(columns.size(), e.columns);
    const Window list = grid.Find("container/List");
    const Window item = grid.Find("container/List/Item");
    if (e.rows_shown > 0)
      EXPECT_EQ(list.h, static_cast<int>(e.rows_shown) * item.h) << "as tall as its rows";
    else
      EXPECT_GT(list.h, 2 * item.h) << "a scrolling grid of the view's height";
    // The columns are centred on the screen.
    const int left = *std::min_element(columns.begin(), columns.end());
    const int right = *std::max_element(columns.begin(), columns.end()) + tiles.front().w;
    EXPECT_NEAR(left, 1072 - right, 4);
  }
  EXPECT_EQ(Screen("grid30").Text("Item/book_item_M/MoreBooks/more"), "+10")
      << "the last tile stands for the nine books not shown";
}

TEST_F(MenuJourney, ShortcutsMoveAreRemovedReplacedAndAddedFromTheHomeScreen) {
  const std::string apps_json = "/mnt/ext1/system/config/desktop/apps.json";
  const ScreenReader home = Probe("");
  const Window store = home.Find("ApplicationModule/app_2");
  ASSERT_EQ(store.text, "Book Store");
  const Window first = home.Find("ApplicationModule/app_1");
  EXPECT_EQ(Entries(Probe(At(first, "hold"))),
            (std::vector<std::string>{"Replace Application", "Move Right", "Remove from Home Screen"}))
      << "the first place can't move left";

  Run(Choose(At(store, "hold"), "Move Right") + "idle\n" + Windows("moved"));
  EXPECT_EQ(Screen("moved").Text("ApplicationModule/app_3"), "Book Store");
  EXPECT_EQ(Screen("moved").Text("ApplicationModule/app_2"), "Audiobooks");
  EXPECT_LT(root_.Read(apps_json).find("MW_AudioBooks"), root_.Read(apps_json).find("MW_Bookstore"));

  const Window moved_store = Screen("moved").Find("ApplicationModule/app_3");
  Run(Choose(At(moved_store, "hold"), "Remove from Home Screen") + "idle\n" + Windows("removed"));
  EXPECT_EQ(root_.Read(apps_json).find("MW_Bookstore"), std::string::npos);
  EXPECT_EQ(Screen("removed").Text("ApplicationModule/app_3"), "Notes");

  const std::string replace = Choose(At(first, "hold"), "Replace Application");
  const ScreenReader choices = Probe(replace);
  ASSERT_GT(Entry(choices, "Calculator").w, 0);
  Run(Choose(replace, "Calculator") + "idle\n" + Windows("replaced"));
  EXPECT_EQ(Screen("replaced").Text("ApplicationModule/app_1"), "Calculator");
  EXPECT_EQ(root_.Read(apps_json).find("MW_Library"), std::string::npos);

  // Beside the shortcuts of a row with room, a long press adds an application there.
  const ScreenReader before = Probe("");
  const Window row = before.Find("ApplicationModule");
  ASSERT_GT(row.w, 0);
  Window place;
  place.x = row.x + row.w - 16;
  place.y = before.Find("ApplicationModule/app_1").y;
  place.h = 32;
  const std::string add = Choose(At(place, "hold"), "Add to Home Screen");
  Run(Choose(add, "Calendar") + "idle\n" + Windows("added"));
  EXPECT_NE(root_.Read(apps_json).find("MW_Calendar"), std::string::npos);
}

TEST_F(MenuJourney, AnApplicationIsAddedFromTheApplicationsScreenAtTheEndOrInAPlaceOfAFullRow) {
  const std::string apps_json = "/mnt/ext1/system/config/desktop/apps.json";
  const ScreenReader home = Probe("");
  const std::string open_screen = At(home.Find("ApplicationModule/app_5")) + "idle\n";
  auto application = [](const ScreenReader& screen, const std::string& title) {
    for (const Window& w : screen.Windows()) {
      if (w.class_name == "AppItem" && w.text == title && w.path.rfind("List", 0) == 0)
        return w;
    }
    return Window();
  };
  const ScreenReader apps = Probe(open_screen);
  const Window dictionary = application(apps, "Dictionary");
  ASSERT_GT(dictionary.w, 0);

  // The row is full: the menu lists its places, and the chosen one takes the application.
  const std::string add = Choose(open_screen + At(dictionary, "hold"), "Add to Home Screen");
  const ScreenReader places = Probe(add);
  EXPECT_EQ(Entries(places), (std::vector<std::string>{"Library", "Book Store", "Audiobooks",
                                                      "Notes", "Applications"}));
  Run(Choose(add, "Audiobooks") + "idle\n" + Windows("placed"));
  EXPECT_EQ(Screen("placed").Text("ApplicationModule/app_3"), "Dictionary");
  EXPECT_EQ(root_.Read(apps_json).find("MW_AudioBooks"), std::string::npos);

  // With room in the row the application goes to its end.
  Run(Choose(At(home.Find("ApplicationModule/app_2"), "hold"), "Remove from Home Screen"));
  const ScreenReader apps_again = Probe(open_screen);
  const Window podcasts = application(apps_again, "Podcasts");
  ASSERT_GT(podcasts.w, 0);
  Run(Choose(open_screen + At(podcasts, "hold"), "Add to Home Screen") + "idle\n" +
      Windows("appended"));
  const std::string row = root_.Read(apps_json);
  EXPECT_NE(row.find("Podcasts"), std::string::npos) << row;
  EXPECT_TRUE(Screen("appended").Shows("ApplicationModule"));
}

TEST_F(MenuJourney, WithKeysAGroupOpensInItsGridWhoseBooksHaveTheirMenu) {
  MakeDevice("6in-keys");
  // The sample's first page: the pending download, a book and the group of two.
  Run("key right\nkey right\n" + Windows("focus") + "key ok\nidle\n" + Windows("grid") +
      "key ok long\n" + Windows("menu") + "key back\n" + Windows("grid_again") + "key back\nidle\n" +
      Windows("home"));
  ASSERT_NE(Screen("focus").FocusedPath().find("bookitem_3"), std::string::npos);
  EXPECT_EQ(Screen("grid").Text("header/title_label"), "2 new books");
  EXPECT_EQ(Screen("grid").FocusedPath(), "container/List");
  EXPECT_GT(Entry(Screen("menu"), "Delete Book").w, 0) << "the menu of the group's first book";
  EXPECT_EQ(Screen("grid_again").FocusedPath(), "container/List");
  EXPECT_FALSE(Screen("home").Shows("container/List"));
  EXPECT_NE(Screen("home").FocusedPath().find("bookitem_3"), std::string::npos);
}

// A group of 10 000 books, added a minute ago (so it is the newest tile): its grid shows 21 tiles
// under the full count, and deleting it shows the hourglass and takes every file and row of the
// group, and nothing else.
TEST_F(MenuJourney, AGroupOfTenThousandBooksOpensItsGridAndIsDeletedWhole) {
  constexpr int kBooks = 10000;
  const long long files_before = Query("SELECT count(*) FROM files");
  const std::string added = std::to_string(static_cast<long long>(std::time(nullptr)) - 60);
  Edit("INSERT OR IGNORE INTO folders (name) VALUES ('/mnt/ext1/Big');"
       "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
       std::to_string(kBooks) +
       ") INSERT INTO books_impl (id, title, author, ts_added, sort_title) "
       "SELECT 900000 + i, 'Big ' || i, 'Author', " + added + ", 'Big ' || i FROM n;"
       "INSERT INTO files (book_id, folder_id, storageid, filename, ext) "
       "SELECT id, (SELECT id FROM folders WHERE name = '/mnt/ext1/Big'), "
       "(SELECT id FROM storages WHERE path = '/mnt/ext1'), title || '.fb2', 'fb2' "
       "FROM books_impl WHERE id > 900000;");
  root_.MakeFolder("/mnt/ext1/Big");
  for (int i = 1; i <= kBooks; ++i) {
    std::ofstream(root_.Host("/mnt/ext1/Big/Big " + std::to_string(i) + ".fb2")) << "book";
  }
  ASSERT_TRUE(root_.Exists("/mnt/ext1/Big/Big 10000.fb2"));
  const ScreenReader home = Probe("");
  const Window group = GroupTile(home, "10000");
  ASSERT_GT(group.w, 0) << "the group's tile is on the first page";

  Run(At(group) + "idle\n" + Windows("grid") + "key back\nidle\n" +
      Choose(At(group, "hold"), "Delete Book") + Windows("question") + "answer 2\nidle\n" +
      Windows("after"));
  const ScreenReader grid = Screen("grid");
  EXPECT_EQ(grid.Text("header/title_label"), "10000 new books");
  int tiles = 0;
  for (const Window& w : grid.Windows()) tiles += w.path == "container/List/Item/book_item_M";
  EXPECT_EQ(tiles, 21);
  EXPECT_NE(Screen("question").Find("dialog").text.find("10000 books"), std::string::npos)
      << Screen("question").Find("dialog").text;

  EXPECT_FALSE(Journal("hourglass").empty()) << "the reader sees that the delete takes time";
  int left = 0;
  for (int i = 1; i <= kBooks; ++i) left += root_.Exists("/mnt/ext1/Big/Big " + std::to_string(i) + ".fb2");
  EXPECT_EQ(left, 0);
  EXPECT_EQ(Query("SELECT count(*) FROM files f JOIN books_impl b ON b.id = f.book_id "
                  "WHERE b.id > 900000"),
            0);
  EXPECT_EQ(Query("SELECT count(*) FROM files"), files_before) << "every other book kept its row";
  EXPECT_TRUE(root_.Exists(kPride));
  EXPECT_EQ(GroupTile(Screen("after"), "10000").w, 0);
}

class WiFiJourney : public MenuJourney {
 protected:
  // A device that has not fetched its store parameters, last asked `days` ago.
  void LastAsked(int days) {
    std::remove(root_.Host("/mnt/secure/download_device_param.cfg").c_str());
    asked_ = static_cast<long long>(std::time(nullptr)) - days * 86400LL;
    std::string global;
    std::istringstream lines(root_.Read(kGlobal));
    for (std::string line; std::getline(lines, line);) {
      if (line.rfind("ask_connect_ts=", 0) != 0)
        global += line + "\n";
    }
    root_.Write(kGlobal, global + "ask_connect_ts=" + std::to_string(asked_) + "\n");
  }
  long long asked_ = 0;
};

TEST_F(WiFiJourney, ThePromptStaysAwayThirteenDaysAfterTheLastAppearsAfterFifteenAndConnects) {
  LastAsked(13);
  Run("wait 1700\nidle\n" + Windows("home"));
  EXPECT_FALSE(Screen("home").Shows("wifi_dialog"));
  EXPECT_NE(root_.Read(kGlobal).find("ask_connect_ts=" + std::to_string(asked_)), std::string::npos);

  LastAsked(15);
  Run("wait 1700\nidle\n" + Windows("prompt"));
  const ScreenReader prompt = Screen("prompt");
  ASSERT_TRUE(prompt.Shows("wifi_dialog/button1"));
  EXPECT_EQ(prompt.Text("wifi_dialog/title"), "Connect to Wi-Fi");
  const std::string global = root_.Read(kGlobal);
  EXPECT_EQ(global.find("ask_connect_ts=" + std::to_string(asked_)), std::string::npos);
  EXPECT_NE(global.find("ask_connect_ts="), std::string::npos) << "the new time is stored";

  LastAsked(20);
  Run("wait 1700\nidle\n" + At(prompt.Find("wifi_dialog/button1")) + Windows("after"));
  EXPECT_FALSE(Screen("after").Shows("wifi_dialog"));
  EXPECT_FALSE(Journal("net").empty()) << "the network is asked for";
}

}  // namespace
}  // namespace marrowleaf::test
