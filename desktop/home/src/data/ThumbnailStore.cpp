#include "data/ThumbnailStore.h"

#include <filesystem>
#include <system_error>

#include "platform/sdk/files.h"
#include "platform/sdk/log.h"
#include "platform/utils/CacheController.h"

namespace marrowleaf::desktop {
namespace {

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

ThumbnailStore& ThumbnailStore::Instance() {
  static ThumbnailStore* instance = new ThumbnailStore();
  return *instance;
}

bool ThumbnailStore::Write(const std::string& device_path, const SmartBitmap& bitmap) {
  const std::string png = bitmap.EncodePNG();
  if (png.empty())
    return false;
  std::lock_guard<std::mutex> lock(mutex_);
  if (batch_.Add(device_path, png) != 0)
    return false;
  if (batch_.size() >= kMaxBatch)
    batch_.Commit();
  return true;
}

int ThumbnailStore::Commit() {
  std::lock_guard<std::mutex> lock(mutex_);
  // The index is written under the same lock, after the files: a name it lists has a durable
  // file behind it.
  const int failed = batch_.Commit();
  if (failed > 0)
    MW_LOG(MW_LOG_WARNING, "%d thumbnails could not be written", failed);
  return utilities::CacheController::Instance().OptimizeAndSave(kCache);
}

size_t ThumbnailStore::Pending() {
  std::lock_guard<std::mutex> lock(mutex_);
  return batch_.size();
}

void ThumbnailStore::ForEachFile(
    const std::function<void(const std::filesystem::path&, const std::string&)>& visit) {
  namespace fs = std::filesystem;
  const fs::path folder = HostPath(kFolder);
  std::error_code error;
  for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    std::error_code ignored;
    if (it->is_symlink(ignored) || !it->is_regular_file(ignored))
      continue;
    visit(it->path(), it->path().lexically_relative(folder).generic_string());
  }
}

int ThumbnailStore::Reconcile() {
  std::lock_guard<std::mutex> lock(mutex_);
  utilities::CacheController& cache = utilities::CacheController::Instance();
  int adopted = 0;
  ForEachFile([&](const std::filesystem::path& host, const std::string& name) {
    std::error_code ignored;
    if (name.find(utilities::AtomicFileBatch::kPartMarker) != std::string::npos) {
      if (!batch_.HoldsTemporary(host.string()))
        std::filesystem::remove(host, ignored);
    } else if (EndsWith(name, ".png") && cache.Adopt(name, kCache)) {
      ++adopted;
    }
  });
  if (adopted > 0)
    cache.OptimizeAndSave(kCache);
  return adopted;
}

void ThumbnailStore::RemoveThumbnails() {
  std::lock_guard<std::mutex> lock(mutex_);
  ForEachFile([&](const std::filesystem::path& host, const std::string& name) {
    std::error_code ignored;
    const bool part = name.find(utilities::AtomicFileBatch::kPartMarker) != std::string::npos;
    if ((part && !batch_.HoldsTemporary(host.string())) || (!part && EndsWith(name, ".png")))
      std::filesystem::remove(host, ignored);
  });
}

}  // namespace marrowleaf::desktop
