#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace marrowleaf::utilities {

// Named caches of files on the internal storage. Cache `name` keeps its files under
// "/mnt/ext1/system/cache/<name>/" and its index, the names in use with the order of their last
// use, in "/mnt/ext1/system/cache/<name>.index" (beside the folder, so that clearing the folder
// leaves the index alone). The index holds at most the cache's maximum size of names: when it is
// saved, the least recently used names beyond that size are dropped and their files deleted.
//
// Every operation may be called from any thread; the lock is held only for the index in memory.
class CacheController {
 public:
  static CacheController& Instance();

  CacheController() = default;
  CacheController(const CacheController&) = delete;
  CacheController& operator=(const CacheController&) = delete;

  // True when the cache's index was found (and read) or the cache was created in this run.
  bool IsCacheExists(const std::string& cache);
  // Deletes every file under the cache's folder (the index is kept). 0 on success.
  int RemoveCacheFiles(const std::string& cache);
  // Sets the maximum number of items the cache keeps (at least 1). 0 on success.
  int SetCacheMaxSize(const std::string& cache, int max_items);
  // Registers `item` (a relative name inside the cache) as just used. With save_now the index is
  // written at once. 0 on success, -1 for a name that can't be a file inside the cache.
  int Push(const std::string& item, const std::string& cache, bool save_now);
  // Registers an item found in the cache's folder that the index does not name, as the least
  // recently used one. True when it was added; false when it is known or not a valid name.
  bool Adopt(const std::string& item, const std::string& cache);
  // The device path of an item ("" for a name that can't be a file inside the cache).
  static std::string GetCacheItemPath(const std::string& item, const std::string& cache);
  // Drops the least recently used items beyond the maximum size and writes the index atomically,
  // naming only items whose files exist; then deletes the files of the dropped items. So the
  // index never names a missing file, even when the writing is cut short. 0 on success.
  int OptimizeAndSave(const std::string& cache);
  // Number of names in the index.
  size_t ItemCount(const std::string& cache);
  // Forgets every cache in memory; the next use reads the indexes again (for tests and restarts).
  void Reset();

  // A name is accepted when it is relative, has no "." or ".." part, no control character and is
  // not longer than kMaxNameLength.
  static bool IsValidItemName(const std::string& item);
  static bool IsValidCacheName(const std::string& cache);

  static constexpr size_t kMaxNameLength = 1024;
  static constexpr size_t kMaxIndexBytes = 4u * 1024 * 1024;
  static constexpr int kDefaultMaxItems = 100;

 private:
  struct Cache {
    bool loaded_from_file = false;
    int max_items = kDefaultMaxItems;
    uint64_t clock = 0;
    std::map<std::string, uint64_t> last_use;
  };

  // The cache's entry, reading its index the first time. Called with mutex_ held.
  Cache& Find(const std::string& cache);
  static std::string IndexPath(const std::string& cache);
  static bool ParseIndex(const std::string& text, Cache* cache);
  static std::string FormatIndex(const Cache& cache);
  // Removes the oldest names beyond the maximum; returns the device paths of their files.
  static std::vector<std::string> Evict(const std::string& name, Cache* cache);
  int Save(const std::string& cache_name, const Cache& cache);

  std::mutex mutex_;
  std::map<std::string, Cache> caches_;
};

}  // namespace marrowleaf::utilities
