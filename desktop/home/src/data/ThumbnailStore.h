#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>

#include "platform/utils/AtomicFileBatch.h"
#include "platform/utils/SmartBitmap.h"

namespace marrowleaf::desktop {

// The thumbnail files of the cover cache and their index, the cache "desktop" of the cache
// controller. Thumbnails are written in batches: each waits in a temporary file until Commit
// flushes the batch, renames its files into place and only then writes the index. After a power
// cut every thumbnail is therefore complete (old or new), and the index names no thumbnail that
// is missing, since it is written after the files and only names files that exist. The one thing
// a cut can leave is a committed thumbnail that the index does not name yet, or the temporary
// files of a batch that never committed: Reconcile, run once at start, registers the first and
// deletes the second.
//
// Safe from any thread: the cover worker and the event loop both write thumbnails.
class ThumbnailStore {
 public:
  static constexpr const char* kCache = "desktop";
  static constexpr const char* kFolder = "/mnt/ext1/system/cache/desktop";
  // A batch larger than this is committed at once, so that a long run of new covers is not all
  // lost to a power cut and keeps few temporary files.
  static constexpr size_t kMaxBatch = 24;

  // The process-wide store; never destroyed.
  static ThumbnailStore& Instance();

  ThumbnailStore() = default;
  ThumbnailStore(const ThumbnailStore&) = delete;
  ThumbnailStore& operator=(const ThumbnailStore&) = delete;

  // Encodes a thumbnail as PNG and adds it to the batch; the file appears at its device path
  // with the next Commit. False when it can't be encoded or written.
  bool Write(const std::string& device_path, const SmartBitmap& bitmap);
  // Makes the batch durable, then writes the index (dropping the least recently used thumbnails
  // beyond the cache's size). 0 on success.
  int Commit();
  // Thumbnails waiting for a commit.
  size_t Pending();
  // Deletes the temporary files that no batch of this process holds and registers thumbnails
  // the index does not name as the least recently used; writes the index when it changed.
  // Returns the number of thumbnails registered.
  int Reconcile();
  // Deletes every thumbnail and temporary file of the cache, for a cache whose index is lost. The
  // folder holds other files too (the home-screen cache), which stay.
  void RemoveThumbnails();

 private:
  // Calls visit with the host path and the name inside the cache of every regular file under the
  // folder. Symbolic links are neither followed nor touched: the cache writes none.
  static void ForEachFile(
      const std::function<void(const std::filesystem::path&, const std::string&)>& visit);

  std::mutex mutex_;
  utilities::AtomicFileBatch batch_;
};

}  // namespace marrowleaf::desktop
