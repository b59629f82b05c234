// Speed of the home-screen data layer on sample libraries of 1 000, 10 000 and 100 000 books:
//   cmake --build <build> --target data_bench &&
//   <build>/bin/data_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
// (configure with -DCMAKE_BUILD_TYPE=Release -DMARROWLEAF_BENCH=ON). Libraries are generated once
// per size and shape into temporary device roots (make-sample-device's generator). Three shapes:
// "reading" (the generated library, where at least 20 books have been opened, so the added-books
// queries start at the oldest of them), "fresh" (no book ever opened, so they cover every added
// book) and "fresh-no-acsm" (fresh, and no acsm download pending, the common case on a device).
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <thread>

#include <sqlite3.h>

#include "data/DBManager.h"
#include "data/DataManager.h"
#include "data/DbQueries.h"
#include "data/HomeCache.h"
#include "platform/sdk/files.h"
#include "platform/utils/DbManager.h"

#include "SampleLibrary.h"

namespace {

using marrowleaf::desktop::Book;
using marrowleaf::desktop::BookSettings;
using marrowleaf::desktop::DataManager;
using marrowleaf::desktop::DBManager;
using marrowleaf::desktop::HomeCache;
using marrowleaf::desktop::Item;
using marrowleaf::desktop::Items;

enum Shape { kReading = 0, kFresh = 1, kFreshNoAcsm = 2 };

const char* ShapeName(int64_t shape) {
  return shape == kReading ? "reading" : shape == kFresh ? "fresh" : "fresh-no-acsm";
}

// The device roots made so far by size and shape, removed when the program ends: one of
// 100 000 books takes some 400 MB, and every run would leave its own behind.
struct DeviceRoots {
  std::map<std::pair<int, int64_t>, std::string> paths;
  DeviceRoots() = default;
  DeviceRoots(const DeviceRoots&) = delete;
  DeviceRoots& operator=(const DeviceRoots&) = delete;
  ~DeviceRoots() {
    for (const auto& entry : paths) {
      std::error_code ignored;
      std::filesystem::remove_all(entry.second, ignored);
    }
  }
};

// Makes (once) the device root of a library size and shape and points the SDK at it.
void UseLibrary(int books, int64_t shape) {
  static DeviceRoots roots;
  std::string& root = roots.paths[{books, shape}];
  if (root.empty()) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "marrowleaf-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
      std::abort();
    root = pattern;
    std::string error;
    if (!marrowleaf::tools::WriteSampleLibrary(root, books, &error)) {
      std::fprintf(stderr, "sample library: %s\n", error.c_str());
      std::abort();
    }
    if (shape != kReading) {
      const std::string sql =
          std::string("UPDATE books_settings SET opentime = 0;") +
          (shape == kFreshNoAcsm ? "DELETE FROM files WHERE ext = 'acsm';" : "") + "ANALYZE;";
      sqlite3* db = nullptr;
      sqlite3_open((root + "/mnt/ext1/system/explorer-3/explorer-3.db").c_str(), &db);
      if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        std::abort();
      sqlite3_close(db);
    }
  }
  setenv("MARROWLEAF_ROOT", root.c_str(), 1);
  ReloadDeviceRoot();
}

void BM_GetBookItems(benchmark::State& state) {
  UseLibrary(static_cast<int>(state.range(0)), state.range(1));
  DBManager db;
  db.init();
  for (auto _ : state) benchmark::DoNotOptimize(db.getBookItems(20));
  state.SetLabel(ShapeName(state.range(1)));
}
BENCHMARK(BM_GetBookItems)
    ->ArgsProduct({{1000, 10000, 100000}, {kReading, kFresh, kFreshNoAcsm}})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The same with the plain acsm statement from the list's bound, to show what starting it at the
// oldest acsm book and reading only the books with an acsm file save.
void BM_GetBookItemsWithoutAcsmShortcuts(benchmark::State& state) {
  UseLibrary(static_cast<int>(state.range(0)), state.range(1));
  DBManager db;
  db.init();
  db.setAcsmShortcuts(false);
  for (auto _ : state) benchmark::DoNotOptimize(db.getBookItems(20));
  state.SetLabel(ShapeName(state.range(1)));
}
BENCHMARK(BM_GetBookItemsWithoutAcsmShortcuts)
    ->ArgsProduct({{100000}, {kReading, kFresh, kFreshNoAcsm}})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The opened-books statement of getBookItems(20) alone, prepared and run to its end as the list
// does: it must visit every opened book of the profile, so no list with reading history can be
// made faster than this.
void BM_OpenedBooksStatementAlone(benchmark::State& state) {
  UseLibrary(static_cast<int>(state.range(0)), kReading);
  DBManager db;
  db.init();
  const std::string sql = marrowleaf::desktop::DbQueries::openedBooks(
      marrowleaf::desktop::DbQueries::toStringNoSubquery(
          "file.storageid",
          marrowleaf::utilities::db::DbManager::Instance()->GetCurrentStorageIds()),
      db.profileId(), 20);
  sqlite3* raw = nullptr;
  sqlite3_open(HostPath("/mnt/ext1/system/explorer-3/explorer-3.db").c_str(), &raw);
  int rows = 0;
  for (auto _ : state) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(raw, sql.c_str(), -1, &st, nullptr);
    while (st != nullptr && sqlite3_step(st) == SQLITE_ROW) ++rows;
    sqlite3_finalize(st);
  }
  sqlite3_close(raw);
  if (rows == 0)
    state.SkipWithError("no opened book");
}
BENCHMARK(BM_OpenedBooksStatementAlone)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_GetBooksByTimestamp(benchmark::State& state) {
  UseLibrary(static_cast<int>(state.range(0)), kReading);
  DBManager db;
  db.init();
  // The sample's group of 30 books.
  sqlite3* raw = nullptr;
  sqlite3_open(HostPath("/mnt/ext1/system/explorer-3/explorer-3.db").c_str(), &raw);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(raw, "SELECT ts_added FROM books_impl GROUP BY ts_added HAVING count(*) = 30",
                     -1, &st, nullptr);
  const int ts = st && sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int(st, 0) : 0;
  sqlite3_finalize(st);
  sqlite3_close(raw);
  if (ts == 0)
    state.SkipWithError("no group of 30 books");
  for (auto _ : state) benchmark::DoNotOptimize(db.getBooksByTimestamp(ts));
}
BENCHMARK(BM_GetBooksByTimestamp)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

Items FiftyItems() {
  Items items;
  for (int i = 0; i < 50; ++i) {
    auto item = std::make_shared<Item>();
    item->type_ = i % 10 == 0 ? 5 : 2;
    item->books_count_ = i % 10 == 0 ? 30 : 1;
    item->timestamp_ = 1700000000 - i;
    for (int k = 0; k < (item->type_ == 5 ? 3 : 1); ++k) {
      auto book = std::make_shared<Book>();
      book->id = i * 10 + k + 1;
      book->path =
          "/mnt/ext1/Books/Some Fairly Long Folder Name/Book number " + std::to_string(i) + ".epub";
      book->title = "A title of ordinary length " + std::to_string(i);
      book->author = "Firstname Lastname";
      book->settings = std::make_shared<BookSettings>();
      book->settings->cpage = 12;
      book->settings->npage = 345;
      book->fast_hash = std::string(16, '\x7f');
      book->resource_id = "resource-" + std::to_string(i);
      item->books_.push_back(book);
    }
    items.push_back(item);
  }
  return items;
}

void BM_SaveToCache50(benchmark::State& state) {
  UseLibrary(1000, kReading);
  const Items items = FiftyItems();
  for (auto _ : state) benchmark::DoNotOptimize(HomeCache::Save(items));
}
BENCHMARK(BM_SaveToCache50)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_LoadFromCache50(benchmark::State& state) {
  UseLibrary(1000, kReading);
  HomeCache::Save(FiftyItems());
  for (auto _ : state) {
    Items items = HomeCache::Load();
    if (items.size() != 50)
      state.SkipWithError("cache lost items");
    benchmark::DoNotOptimize(items);
  }
}
BENCHMARK(BM_LoadFromCache50)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The event loop's side while the query thread runs book-item queries on 100 000 books back to
// back: the longest time one call of the event loop waits on the data manager's lock (a request, an
// apply of either kind, a read of an item), the one figure that must stay far below a query's.
// The loop plays the event loop: it adopts a list once per book-items notification and a group
// once per group notification, as the controller does. An apply re-asks for the books of every
// unchanged group, so group queries (a millisecond each) run between the book-items queries; only
// book-items notifications end an iteration, which therefore lasts one book-items query plus the
// group queries queued ahead of it.
struct EventLoopSide {
  DataManager* data = nullptr;
  int seen_groups = 0;
  double max_request_us = 0;
  double max_apply_us = 0;
  double max_read_us = 0;

  template <typename Call>
  static void Time(double& longest, Call call) {
    const auto start = std::chrono::steady_clock::now();
    call();
    longest = std::max(
        longest, std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                     .count());
  }

  // What the event loop does while a query runs: adopt finished groups, draw the device block.
  void Idle(const std::atomic<int>& groups) {
    if (groups.load() != seen_groups) {
      seen_groups = groups.load();
      Time(max_apply_us, [this] { data->applyGroupBooks(); });
    }
    Time(max_read_us, [this] {
      const size_t count = data->getItemsCount(1);
      for (size_t i = 0; i < count; ++i) benchmark::DoNotOptimize(data->getItem(1, i));
    });
  }
};

void BM_LockHoldDuring100kQueries(benchmark::State& state) {
  UseLibrary(100000, state.range(0));
  DBManager db;
  db.init();
  std::atomic<int> book_items{0};
  std::atomic<int> groups{0};
  DataManager data(&db, [&](int type) {
    if (type == marrowleaf::desktop::eQueryBookItems) {
      book_items.fetch_add(1);
    } else if (type == marrowleaf::desktop::eQueryBooksByTimestamp) {
      groups.fetch_add(1);
    }
  });
  data.init();
  EventLoopSide loop;
  loop.data = &data;
  for (auto _ : state) {
    const int target = book_items.load() + 1;
    EventLoopSide::Time(loop.max_request_us, [&] { data.requestBookItems(20); });
    while (book_items.load() < target) {
      loop.Idle(groups);
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    EventLoopSide::Time(loop.max_apply_us, [&] { data.applyBookItems(); });
  }
  state.counters["max_request_us"] = loop.max_request_us;
  state.counters["max_apply_us"] = loop.max_apply_us;
  state.counters["max_read_us"] = loop.max_read_us;
  state.SetLabel(ShapeName(state.range(0)));
}
BENCHMARK(BM_LockHoldDuring100kQueries)
    ->Arg(kReading)
    ->Arg(kFresh)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(50);

}  // namespace
