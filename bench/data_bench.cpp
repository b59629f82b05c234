// Speed of the home-screen data layer on sample libraries of 1 000, 10 000 and 100 000 books:
//   cmake --build <build> --target data_bench && <build>/bin/data_bench   (or
//   build/bench/data_bench)
// Libraries are generated once per size into temporary device roots (make-sample-device's
// generator). Two library shapes are measured: "reading" (the generated library, where at least 20
// books have been opened, so the added-books queries start at the oldest of them) and "fresh" (no
// book ever opened, so they cover every added book).
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
#include "data/HomeCache.h"
#include "platform/sdk/files.h"

// The generator reads the schema from the source tree, found from this file's own path.
static std::string BenchSourceDir() {
  const std::string file = __FILE__;
  return file.substr(0, file.rfind("/bench/"));
}
#define MARROWLEAF_SOURCE_DIR BenchSourceDir()
#include "SampleLibrary.h"

namespace {

using marrowleaf::desktop::Book;
using marrowleaf::desktop::BookSettings;
using marrowleaf::desktop::DataManager;
using marrowleaf::desktop::DBManager;
using marrowleaf::desktop::HomeCache;
using marrowleaf::desktop::Item;
using marrowleaf::desktop::Items;

// Makes (once) the device root of a library size and shape and points the SDK at it.
void UseLibrary(int books, bool fresh) {
  static std::map<std::pair<int, bool>, std::string> roots;
  std::string& root = roots[{books, fresh}];
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
    if (fresh) {
      sqlite3* db = nullptr;
      sqlite3_open((root + "/mnt/ext1/system/explorer-3/explorer-3.db").c_str(), &db);
      sqlite3_exec(db, "UPDATE books_settings SET opentime = 0; ANALYZE;", nullptr, nullptr,
                   nullptr);
      sqlite3_close(db);
    }
  }
  setenv("MARROWLEAF_ROOT", root.c_str(), 1);
  ReloadDeviceRoot();
}

void BM_GetBookItems(benchmark::State& state) {
  UseLibrary(static_cast<int>(state.range(0)), state.range(1) != 0);
  DBManager db;
  db.init();
  for (auto _ : state) benchmark::DoNotOptimize(db.getBookItems(20));
  state.SetLabel(state.range(1) ? "fresh" : "reading");
}
BENCHMARK(BM_GetBookItems)
    ->ArgsProduct({{1000, 10000, 100000}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_GetBooksByTimestamp(benchmark::State& state) {
  UseLibrary(static_cast<int>(state.range(0)), false);
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
  UseLibrary(1000, false);
  const Items items = FiftyItems();
  for (auto _ : state) benchmark::DoNotOptimize(HomeCache::Save(items));
}
BENCHMARK(BM_SaveToCache50)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_LoadFromCache50(benchmark::State& state) {
  UseLibrary(1000, false);
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
// back: how long one request and one apply call take at most (each holds the data manager's lock).
void BM_LockHoldDuring100kQueries(benchmark::State& state) {
  UseLibrary(100000, state.range(0) != 0);
  DBManager db;
  db.init();
  std::atomic<int> done{0};
  DataManager data(&db, [&done](int) { done.fetch_add(1); });
  data.init();
  double max_request_us = 0;
  double max_apply_us = 0;
  for (auto _ : state) {
    const int target = done.load() + 1;
    auto start = std::chrono::steady_clock::now();
    data.requestBookItems(20);
    max_request_us =
        std::max(max_request_us,
                 std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                     .count());
    while (done.load() < target) {
      start = std::chrono::steady_clock::now();
      data.applyBookItems();
      data.getItem(1, 0);
      max_apply_us = std::max(max_apply_us, std::chrono::duration<double, std::micro>(
                                                std::chrono::steady_clock::now() - start)
                                                .count());
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  }
  state.counters["max_request_us"] = max_request_us;
  state.counters["max_apply_us"] = max_apply_us;
  state.SetLabel(state.range(0) ? "fresh" : "reading");
}
BENCHMARK(BM_LockHoldDuring100kQueries)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(50);

}  // namespace
