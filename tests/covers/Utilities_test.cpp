#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "platform/sdk/files.h"
#include "platform/utils/CacheController.h"
#include "platform/utils/MessageQueue.h"
#include "platform/utils/TaskWrapper.h"
#include "platform/utils/WorkingThread.h"
#include "support/TempDeviceRoot.h"

namespace marrowleaf::utilities {
namespace {

using namespace std::chrono_literals;

TEST(MessageQueue, PopOnAnEmptyQueueReturnsAtOnceAndFrontInsertionComesFirst) {
  MessageQueue<int> queue;
  ASSERT_EQ(0, queue.Init());
  int value = 0;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(-1, queue.Pop(&value));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 50ms);
  EXPECT_TRUE(queue.IsEmpty());
  queue.Push(1);
  queue.Push(2);
  queue.PushFront(3);
  std::vector<int> order;
  while (queue.Pop(&value) == 0) order.push_back(value);
  EXPECT_EQ((std::vector<int>{3, 1, 2}), order);
}

TEST(MessageQueue, RefusesEveryOperationBeforeInitAndASecondInitAfter) {
  MessageQueue<int> queue;
  int value = 0;
  EXPECT_EQ(MW_NOT_IMPEMENTED, queue.Push(1));
  EXPECT_EQ(MW_NOT_IMPEMENTED, queue.PushFront(1));
  EXPECT_EQ(MW_NOT_IMPEMENTED, queue.Pop(&value));
  EXPECT_TRUE(queue.IsEmpty());
  ASSERT_EQ(0, queue.Init());
  queue.Push(7);
  EXPECT_EQ(MW_WRONG_STATE, queue.Init());
  EXPECT_EQ(0, queue.Pop(&value)) << "the queue stays usable";
  EXPECT_EQ(7, value);
}

TEST(MessageQueue, ReleasesQueuedElementsWhenDestroyed) {
  auto element = std::make_shared<int>(5);
  {
    MessageQueue<std::shared_ptr<int>> queue;
    queue.Init();
    queue.Push(element);
    EXPECT_EQ(2, element.use_count());
  }
  EXPECT_EQ(1, element.use_count());
}

TEST(MessageQueue, WaitPopWakesForAnElementPushedByAnotherThread) {
  MessageQueue<int> queue;
  queue.Init();
  std::thread producer([&] {
    std::this_thread::sleep_for(20ms);
    queue.Push(42);
  });
  int value = 0;
  EXPECT_EQ(0, queue.WaitPop(&value, 5000));
  EXPECT_EQ(42, value);
  producer.join();
  EXPECT_EQ(-1, queue.WaitPop(&value, 10));
}

TEST(WorkingThread, RunsTheNewestFrontTaskFirstAndReportsIdleOnlyWhenAllAreDone) {
  WorkingThread worker;
  std::atomic<bool> release{false};
  std::vector<int> order;
  std::mutex order_mutex;
  auto record = [&](int n) {
    return WrapTask([&, n] {
      std::lock_guard<std::mutex> lock(order_mutex);
      order.push_back(n);
    });
  };
  ASSERT_EQ(0, worker.Run());
  EXPECT_EQ(MW_WRONG_STATE, worker.Run());
  EXPECT_TRUE(worker.isIdle());
  worker.EnqueueTask(WrapTask([&] {
    while (!release) std::this_thread::sleep_for(1ms);
  }));
  worker.EnqueueTaskFront(record(1));
  worker.EnqueueTaskFront(record(2));
  worker.EnqueueTask(record(3));
  EXPECT_FALSE(worker.isIdle());
  // The blocking task may or may not have started; either way it runs before or after 2 and 1.
  release = true;
  for (int i = 0; i < 500 && !worker.isIdle(); ++i) std::this_thread::sleep_for(2ms);
  EXPECT_TRUE(worker.isIdle());
  std::lock_guard<std::mutex> lock(order_mutex);
  EXPECT_EQ((std::vector<int>{2, 1, 3}), order);
}

TEST(WorkingThread, StopLetsTheRunningTaskFinishAndDropsTheQueuedOnes) {
  WorkingThread worker;
  std::atomic<bool> started{false};
  std::atomic<bool> finished{false};
  std::atomic<int> later{0};
  worker.Run();
  worker.EnqueueTask(WrapTask([&] {
    started = true;
    std::this_thread::sleep_for(50ms);
    finished = true;
  }));
  for (int i = 0; i < 10; ++i) worker.EnqueueTask(WrapTask([&] { ++later; }));
  while (!started) std::this_thread::sleep_for(1ms);
  worker.Stop();
  EXPECT_TRUE(finished);
  EXPECT_EQ(0, later);
  EXPECT_TRUE(worker.isIdle());
}

class CacheControllerTest : public ::testing::Test {
 protected:
  void SetUp() override { cache_.Reset(); }
  void Touch(const std::string& name) {
    root_.Write(CacheController::GetCacheItemPath(name, "c"), "x");
  }
  bool Has(const std::string& name) {
    return root_.Exists(CacheController::GetCacheItemPath(name, "c"));
  }

  test::TempDeviceRoot root_;
  CacheController cache_;
};

TEST_F(CacheControllerTest, EvictsTheLeastRecentlyUsedNamesAndTheirFilesWhenSaving) {
  EXPECT_FALSE(cache_.IsCacheExists("c"));
  cache_.SetCacheMaxSize("c", 2);
  for (const char* name : {"1/a.png", "1/b.png", "1/c.png"}) {
    Touch(name);
    cache_.Push(name, "c", false);
  }
  cache_.Push("1/a.png", "c", false);  // used again: now b is the oldest
  EXPECT_TRUE(Has("1/b.png"));
  ASSERT_EQ(0, cache_.OptimizeAndSave("c"));
  EXPECT_FALSE(Has("1/b.png"));
  EXPECT_TRUE(Has("1/a.png"));
  EXPECT_TRUE(Has("1/c.png"));
  // A new run reads the index back: same names, same limit.
  CacheController next;
  EXPECT_TRUE(next.IsCacheExists("c"));
  EXPECT_EQ(2u, next.ItemCount("c"));
  next.Push("1/d.png", "c", true);
  EXPECT_FALSE(Has("1/a.png") && Has("1/c.png"));
  EXPECT_EQ(2u, next.ItemCount("c"));
}

TEST_F(CacheControllerTest, ADamagedIndexIsTreatedAsMissing) {
  root_.Write("/mnt/ext1/system/cache/c.index", "cache-index 1\nmax 5\n3 ../../escape\n");
  EXPECT_FALSE(cache_.IsCacheExists("c"));
  EXPECT_EQ(0u, cache_.ItemCount("c"));
}

TEST_F(CacheControllerTest, RefusesNamesThatLeaveTheCacheFolder) {
  for (const char* bad : {"", "/abs.png", "../x.png", "a/../../x", "a//b", "a\nb", "dir/"})
    EXPECT_NE(0, cache_.Push(bad, "c", false)) << bad;
  EXPECT_EQ("", CacheController::GetCacheItemPath("x.png", "../c"));
  EXPECT_EQ("/mnt/ext1/system/cache/desktop/1/Books/a.epub_300x400.png",
            CacheController::GetCacheItemPath("1/Books/a.epub_300x400.png", "desktop"));
}

TEST_F(CacheControllerTest, RemovesTheFilesOfTheCacheButKeepsItsIndex) {
  Touch("1/a.png");
  cache_.Push("1/a.png", "c", true);
  ASSERT_EQ(0, cache_.RemoveCacheFiles("c"));
  EXPECT_FALSE(Has("1/a.png"));
  EXPECT_TRUE(root_.Exists("/mnt/ext1/system/cache/c.index"));
}

TEST_F(CacheControllerTest, LinksInsideACacheNeverLetEvictionOrClearingDeleteOutsideIt) {
  root_.Write("/mnt/ext1/books/keep.epub", "book");
  root_.MakeFolder("/mnt/ext1/system/cache/c");
  std::filesystem::create_directory_symlink(root_.Host("/mnt/ext1/books"),
                                            root_.Host("/mnt/ext1/system/cache/c/1"));
  cache_.SetCacheMaxSize("c", 1);
  cache_.Push("1/keep.epub", "c", false);
  Touch("2/new.png");
  cache_.Push("2/new.png", "c", false);
  ASSERT_EQ(0, cache_.OptimizeAndSave("c"));
  EXPECT_EQ(1u, cache_.ItemCount("c")) << "the linked item is forgotten";
  EXPECT_TRUE(root_.Exists("/mnt/ext1/books/keep.epub"));
  // A cache folder that is itself a link to elsewhere is not emptied.
  std::filesystem::create_directory_symlink(root_.Host("/mnt/ext1/books"),
                                            root_.Host("/mnt/ext1/system/cache/d"));
  EXPECT_NE(0, cache_.RemoveCacheFiles("d"));
  EXPECT_TRUE(root_.Exists("/mnt/ext1/books/keep.epub"));
}

}  // namespace
}  // namespace marrowleaf::utilities
