#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "platform/utils/IRunnable.h"
#include "platform/utils/MessageQueue.h"
#include "platform/utils/SmartBitmap.h"
#include "platform/utils/WorkingThread.h"

namespace marrowleaf::desktop {

// Cover bitmaps for the tiles. Tiles ask on the event-loop thread while they draw; a cover that is
// not in memory yet is answered with an empty placeholder and made on the worker thread (found in
// the book, rendered, scaled and stored as a thumbnail), and the finished bitmap comes back
// through the result queue, drained on the event loop after the wake-up event 212/46122.
//
// `covers_` and the colour map are touched only on the event-loop thread; worker tasks own copies
// of everything they need and hand their results back as tasks run on the event loop.
class CoverCacheManager {
 public:
  using CoverCallback = std::function<void(bool, const SmartBitmap&)>;

  // The program's manager, created on first use and never destroyed.
  static CoverCacheManager& Instance();
  // A manager of its own (tests); starts its worker thread.
  CoverCacheManager();
  ~CoverCacheManager();
  CoverCacheManager(const CoverCacheManager&) = delete;
  CoverCacheManager& operator=(const CoverCacheManager&) = delete;

  // The cover of a book at width x height, or an empty bitmap while it is not (yet) available.
  // load_now makes it at once on this thread (the first screen).
  SmartBitmap GetCover(const std::string& path, int width, int height, int drm,
                       const std::string& fast_hash, const std::string& resource_id, bool load_now);
  // A store cover from the picture file named by the caller.
  SmartBitmap GetStoreCover(const std::string& cover_path, const std::string& id, int width,
                            int height, bool load_now);
  // The average colour of a band (BITMAP_BAND_TOP 4, BITMAP_BAND_BOTTOM 8) of a cover already in
  // memory; -1 while there is none.
  int GetAverageColor(const std::string& path, int width, int height, int drm,
                      const std::string& fast_hash, const std::string& resource_id, int band);
  int GetStoreAverageColor(const std::string& cover_path, const std::string& id, int width,
                           int height, int band);

  // Stretches a bitmap to width x height when both are given and it differs in size.
  static SmartBitmap ScaleBitmap(const SmartBitmap& bitmap, int width, int height);
  // The book's thumbnail, made from the book (and written) when it is missing.
  static SmartBitmap LoadCachedBookCoverOrMakeCache(const std::string& path,
                                                    const std::string& fast_hash, int drm,
                                                    int width, int height);

  // Runs every finished result (event-loop thread).
  void ProcessResults();
  void OnCoverReady() { ProcessResults(); }
  // Commits the thumbnails written so far and writes the index of the cache "desktop", dropping
  // the least recently used thumbnails.
  void SaveCache();

  bool IsWorkerIdle() const { return worker_ && worker_->isIdle(); }
  // Lets the running task finish and stops the worker (at exit).
  void StopWorker();

 private:
  void init();
  // Puts a task at the front of the worker's queue and arms the sleep-ban timer.
  void Enqueue(std::function<void()> work);
  // Queues a commit of the thumbnails written meanwhile behind the queued covers (once).
  void ScheduleCommit();
  // Worker side: hands a result to the event loop and wakes it.
  void Deliver(const CoverCallback& callback, bool ok, const SmartBitmap& bitmap);
  // A callback that stores a bitmap under key; with forget_failure an empty result removes the
  // placeholder, so that the next request takes the second route.
  CoverCallback StoreUnder(const std::string& key, bool forget_failure);
  void RegisterThumbnail(const std::string& path, const std::string& fast_hash, int width,
                         int height);
  void RequestBookCover(const std::string& key, const std::string& path, int width, int height,
                        const std::string& fast_hash, const std::string& resource_id,
                        bool load_now);
  void RequestPushNotificationCover(const std::string& key, const std::string& path, int width,
                                    int height, bool load_now);
  void RequestByHashOrResourceId(const std::string& key, const std::string& fast_hash,
                                 const std::string& resource_id, int width, int height,
                                 bool load_now);
  void renderBookCoverUsingAdobe(const std::string& path, const std::string& thumb_path, int width,
                                 int height, const std::string& key, bool async);
  int AverageColor(const std::string& key, int band);
  static void BanSleepTimer(void* context);

  std::map<std::string, SmartBitmap> covers_;
  std::unique_ptr<utilities::WorkingThread> worker_;
  utilities::MessageQueue<std::shared_ptr<utilities::IRunnable>> results_;
  std::map<std::string, int> colors_;
  // Keys of book covers already sent to the worker: with a resource id, and without.
  std::set<std::string> queued_with_resource_;
  std::set<std::string> queued_;
  bool asynchronous_ = false;
  std::atomic<bool> commit_queued_{false};
};

}  // namespace marrowleaf::desktop
