#include "data/CoverCacheManager.h"

#include <algorithm>
#include <cctype>

#include "data/CoverKey.h"
#include "data/ThumbnailNames.h"
#include "data/ThumbnailStore.h"
#include "platform/sdk/activity.h"
#include "platform/sdk/covers.h"
#include "platform/sdk/device.h"
#include "platform/sdk/events.h"
#include "platform/sdk/files.h"
#include "platform/sdk/log.h"
#include "platform/sdk/timers.h"
#include "platform/utils/BitmapUtils.h"
#include "platform/utils/CacheController.h"
#include "platform/utils/CoverLoader.h"
#include "platform/utils/TaskWrapper.h"
#include "system_init/Checkpoint.h"

namespace marrowleaf::desktop {
namespace {

const char kModule[] = "CoverCacheManager";
const char* const kCache = ThumbnailStore::kCache;
constexpr int kCacheMaxItems = 100;
constexpr int kCoverReadyEvent = 46122;
constexpr int kBanSleepMs = 2000;
// Band depth, in percent of the cover, of the average background colours.
constexpr int kColorBandPercent = 7;

#define COVER_LOG(level, ...) MW_LOGM(kModule, level, __VA_ARGS__)

bool EndsWithNoCase(const std::string& text, const char* tail) {
  const std::string end(tail);
  return text.size() >= end.size() &&
         std::equal(end.rbegin(), end.rend(), text.rbegin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) ==
                  std::tolower(static_cast<unsigned char>(b));
         });
}

bool IsRenderedFormat(const std::string& path) {
  for (const char* extension : {".pdf", ".djvu", ".djv", ".cbr", ".cbz"}) {
    if (EndsWithNoCase(path, extension))
      return true;
  }
  return false;
}

int DisplayFormat() {
  return device_display_colormask() != 0 ? SMART_BITMAP_COLOR : SMART_BITMAP_GREY;
}

// The start-up checkpoint names the file being read, so that a crash inside a decoder can be
// traced to the file at the next start.
void SetCheckPoint(const std::string& text) {
  WriteCheckpoint(text);
  COVER_LOG(MW_LOG_DETAIL, "SetCheckPoint checkpoint [%s]", text.c_str());
}

SmartBitmap Adjusted(SmartBitmap bitmap) {
  adjustBitmapDefault(bitmap);
  return bitmap;
}

SmartBitmap LoadPngFile(const std::string& path, int width, int height) {
  SetCheckPoint("cache.png:" + path);
  SmartBitmap bitmap = SmartBitmap::LoadPNGToFormat(path, DisplayFormat());
  COVER_LOG(MW_LOG_DETAIL, "thumb_path [%s] img [%p]", path.c_str(),
            static_cast<const void*>(bitmap.Data()));
  SetCheckPoint("");
  return Adjusted(CoverCacheManager::ScaleBitmap(bitmap, width, height));
}

SmartBitmap LoadJpegFile(const std::string& path, int width, int height) {
  SetCheckPoint("cache.jpg:" + path);
  SetLoadImageFlags(LOAD_IMAGE_REDUCED_SCALE);
  SmartBitmap bitmap = SmartBitmap::LoadJPEGToFormat(path, DisplayFormat(), width, height);
  COVER_LOG(MW_LOG_DETAIL, "cover_path [%s] img [%p]", path.c_str(),
            static_cast<const void*>(bitmap.Data()));
  SetCheckPoint("");
  return Adjusted(CoverCacheManager::ScaleBitmap(bitmap, width, height));
}

bool StartsLikePng(const std::string& path) {
  static const char kSignature[] = "\x89PNG\r\n\x1a\n";
  std::string head;
  return ReadFileCapped(path, sizeof kSignature - 1, &head) &&
         head.compare(0, std::string::npos, kSignature, sizeof kSignature - 1) == 0;
}

// A picture file of any of the two formats (store covers come as either, whatever their name says).
// The first bytes choose the decoder: trying PNG first cost a failed decode and a warning for every
// JPEG cover.
SmartBitmap LoadPictureFile(const std::string& path, int width, int height) {
  return StartsLikePng(path) ? LoadPngFile(path, width, height) : LoadJpegFile(path, width, height);
}

SmartBitmap LoadByHashOrResourceId(const std::string& fast_hash, const std::string& resource_id,
                                   int width, int height) {
  SmartBitmap bitmap;
  LoadCoverByHashOrResourceId(fast_hash, 1, resource_id, width, height, 0, bitmap, false);
  return bitmap;
}

std::string ThumbnailPath(const std::string& path, const std::string& fast_hash, int width,
                          int height) {
  const std::string name = ThumbnailNames::Make(path, fast_hash, width, height);
  return name.empty() ? std::string() : utilities::CacheController::GetCacheItemPath(name, kCache);
}

const char* TrueFalse(bool value) {
  return value ? "true" : "false";
}

}  // namespace

CoverCacheManager& CoverCacheManager::Instance() {
  static CoverCacheManager* instance = new CoverCacheManager();
  return *instance;
}

CoverCacheManager::CoverCacheManager() {
  init();
}

CoverCacheManager::~CoverCacheManager() {
  StopWorker();
}

void CoverCacheManager::init() {
  worker_ = std::make_unique<utilities::WorkingThread>();
  int err = worker_->Run();
  if (err != 0) {
    COVER_LOG(MW_LOG_ERROR, "err:[%d] Error create thread", err);
    return;
  }
  err = results_.Init();
  if (err != 0) {
    COVER_LOG(MW_LOG_ERROR, "err:[%d] Error init result queue", err);
    return;
  }
  asynchronous_ = true;
  utilities::CacheController& cache = utilities::CacheController::Instance();
  // Thumbnails without an index are of unknown age and size: they are not trusted. The folder
  // also holds the home-screen cache, which has nothing to do with the index.
  if (!cache.IsCacheExists(kCache))
    ThumbnailStore::Instance().RemoveThumbnails();
  cache.SetCacheMaxSize(kCache, kCacheMaxItems);
  // What a power cut may have left of the last batch of thumbnails is tidied behind the first
  // screen's covers, which go to the front of the queue.
  ReportBackgroundWork(+1);
  worker_->EnqueueTask(utilities::WrapTask([] {
    ThumbnailStore::Instance().Reconcile();
    ReportBackgroundWork(-1);
  }));
}

void CoverCacheManager::ScheduleCommit() {
  if (ThumbnailStore::Instance().Pending() == 0)
    return;
  if (!asynchronous_) {
    ThumbnailStore::Instance().Commit();
    return;
  }
  if (commit_queued_.exchange(true))
    return;
  // At the back of the queue: the batch is committed once the covers asked for meanwhile, which
  // go to the front, are made.
  ReportBackgroundWork(+1);
  worker_->EnqueueTask(utilities::WrapTask([this] {
    commit_queued_ = false;
    ThumbnailStore::Instance().Commit();
    ReportBackgroundWork(-1);
  }));
}

void CoverCacheManager::StopWorker() {
  if (worker_)
    worker_->Stop();
}

SmartBitmap CoverCacheManager::ScaleBitmap(const SmartBitmap& bitmap, int width, int height) {
  if (bitmap.IsEmpty() || width == -1 || height == -1 || bitmap.Width() < 1 ||
      bitmap.Height() < 1 || (bitmap.Width() == width && bitmap.Height() == height)) {
    return bitmap;
  }
  return CoverLoader::stretchBitmapOpenCv(bitmap, width, height, 1);
}

SmartBitmap CoverCacheManager::LoadCachedBookCoverOrMakeCache(const std::string& path,
                                                              const std::string& fast_hash, int drm,
                                                              int width, int height) {
  const std::string thumb_path = ThumbnailPath(path, fast_hash, width, height);
  if (!thumb_path.empty() && pk_access(thumb_path.c_str(), 0) == 0)
    return LoadPngFile(thumb_path, width, height);
  SetLoadImageFlags(LOAD_IMAGE_REDUCED_SCALE);
  SetCheckPoint("cover:" + path);
  // The tile's size lets a large JPEG be decoded at a reduced scale; the result is at least that
  // large and is scaled exactly below.
  SmartBitmap bitmap =
      GetBookCoverEx(path.c_str(), width, height, device_display_colormask() != 0, drm);
  if (bitmap.IsEmpty() && path.size() > 5 && EndsWithNoCase(path, ".epub"))
    bitmap = RenderBookFirstPage(path.c_str(), width, height);
  SetCheckPoint("");
  if (bitmap.IsEmpty())
    return bitmap;
  // Adjusted for the panel before it is stored (the bitmap is this call's own): the thumbnail
  // carries the adjustment and says so, and loading it later skips a pass over its pixels.
  bitmap = Adjusted(ScaleBitmap(bitmap, width, height));
  if (!thumb_path.empty()) {
    pk_buildpath(thumb_path.c_str());
    // The file appears with the store's next commit, which the caller schedules.
    if (!ThumbnailStore::Instance().Write(thumb_path, bitmap))
      COVER_LOG(MW_LOG_WARNING, "can't write the thumbnail [%s]", thumb_path.c_str());
  }
  return bitmap;
}

void CoverCacheManager::Enqueue(std::function<void()> work) {
  if (!asynchronous_)
    return;
  ReportBackgroundWork(+1);
  // The newest request goes first: it is the one on screen now.
  worker_->EnqueueTaskFront(utilities::WrapTask(std::move(work)));
  SetHardTimerEx("banSleepTimer", &CoverCacheManager::BanSleepTimer, this, kBanSleepMs);
}

void CoverCacheManager::Deliver(const CoverCallback& callback, bool ok, const SmartBitmap& bitmap) {
  results_.Push(utilities::WrapTask([callback, ok, bitmap] {
    if (callback)
      callback(ok, bitmap);
    ReportBackgroundWork(-1);
  }));
  SendEvent(GetEventHandler(), EVT_USERDEFINED, kCoverReadyEvent, 0);
}

CoverCacheManager::CoverCallback CoverCacheManager::StoreUnder(const std::string& key,
                                                               bool forget_failure) {
  return [this, key, forget_failure](bool, const SmartBitmap& bitmap) {
    if (!bitmap.IsEmpty()) {
      covers_[key] = bitmap;
    } else if (forget_failure) {
      covers_.erase(key);
    }
  };
}

void CoverCacheManager::ProcessResults() {
  for (;;) {
    if (results_.IsEmpty())
      return;
    std::shared_ptr<utilities::IRunnable> task;
    if (results_.Pop(&task) != 0)
      return;
    // Run outside the queue's lock: the worker may push the next result meanwhile.
    task->Run();
  }
}

void CoverCacheManager::SaveCache() {
  // Thumbnails still waiting in a batch are committed first, so that the index can name them.
  ThumbnailStore::Instance().Commit();
}

void CoverCacheManager::BanSleepTimer(void* context) {
  auto* self = static_cast<CoverCacheManager*>(context);
  const bool idle = self->IsWorkerIdle();
  COVER_LOG(MW_LOG_VERBOSE, "banSleepTimer render thread is idle [%s]", TrueFalse(idle));
  if (!idle)
    SetHardTimerEx("banSleepTimer", &CoverCacheManager::BanSleepTimer, self, kBanSleepMs);
}

void CoverCacheManager::RegisterThumbnail(const std::string& path, const std::string& fast_hash,
                                          int width, int height) {
  const std::string name = ThumbnailNames::Make(path, fast_hash, width, height);
  if (!name.empty())
    utilities::CacheController::Instance().Push(name, kCache, false);
}

SmartBitmap CoverCacheManager::GetCover(const std::string& path, int width, int height, int drm,
                                        const std::string& fast_hash,
                                        const std::string& resource_id, bool load_now) {
  COVER_LOG(MW_LOG_DETAIL, "GetCover path [%s] width [%d] height [%d] drm [%d]", path.c_str(),
            width, height, drm);
  const std::string key = CoverKey::Make(path, fast_hash, resource_id, width, height);
  if (!path.empty())
    RegisterThumbnail(path, fast_hash, width, height);
  auto found = covers_.find(key);
  if (found != covers_.end())
    return found->second;
  covers_[key] = SmartBitmap();
  if (path.empty()) {
    if (!fast_hash.empty() || !resource_id.empty())
      RequestByHashOrResourceId(key, fast_hash, resource_id, width, height, load_now);
  } else if (drm != 0 || IsRenderedFormat(path)) {
    renderBookCoverUsingAdobe(path, ThumbnailPath(path, fast_hash, width, height), width, height,
                              key, !load_now);
  } else if (EndsWithNoCase(path, ".pn")) {
    RequestPushNotificationCover(key, path, width, height, load_now);
  } else {
    // Loan-licence files (".acsm", ".lcpdf", ".lcpl") take the thumbnail route like any book: the
    // fulfilled book replaces them, and until then their thumbnail is whatever the file gives.
    RequestBookCover(key, path, width, height, fast_hash, resource_id, load_now);
  }
  return covers_[key];
}

void CoverCacheManager::RequestByHashOrResourceId(const std::string& key,
                                                  const std::string& fast_hash,
                                                  const std::string& resource_id, int width,
                                                  int height, bool load_now) {
  if (load_now) {
    covers_[key] = LoadByHashOrResourceId(fast_hash, resource_id, width, height);
    return;
  }
  COVER_LOG(MW_LOG_VERBOSE, "Add book cover by fast hash or resource id in load thread book [%s]",
            key.c_str());
  const CoverCallback callback = StoreUnder(key, false);
  Enqueue([this, callback, fast_hash, resource_id, width, height] {
    const SmartBitmap bitmap = LoadByHashOrResourceId(fast_hash, resource_id, width, height);
    COVER_LOG(MW_LOG_VERBOSE, "Loaded cover by fast hash or resource id cover [%s]",
              TrueFalse(!bitmap.IsEmpty()));
    Deliver(callback, !bitmap.IsEmpty(), bitmap);
  });
}

void CoverCacheManager::RequestPushNotificationCover(const std::string& key,
                                                     const std::string& path, int width, int height,
                                                     bool load_now) {
  const std::string jpeg = path.substr(0, path.size() - 3) + ".jpg";
  if (load_now) {
    covers_[key] = LoadJpegFile(jpeg, width, height);
    return;
  }
  COVER_LOG(MW_LOG_VERBOSE, "Add book cover push notifications in load thread book [%s]",
            path.c_str());
  const CoverCallback callback = StoreUnder(key, false);
  Enqueue([this, callback, jpeg, width, height] {
    const SmartBitmap bitmap = LoadJpegFile(jpeg, width, height);
    if (!bitmap.IsEmpty())
      COVER_LOG(MW_LOG_VERBOSE, "Loaded jpeg cover cover_path [%s]", jpeg.c_str());
    Deliver(callback, !bitmap.IsEmpty(), bitmap);
  });
}

void CoverCacheManager::RequestBookCover(const std::string& key, const std::string& path, int width,
                                         int height, const std::string& fast_hash,
                                         const std::string& resource_id, bool load_now) {
  if (load_now) {
    SmartBitmap bitmap = LoadCachedBookCoverOrMakeCache(path, fast_hash, 0, width, height);
    if (bitmap.IsEmpty() && !resource_id.empty())
      bitmap = LoadByHashOrResourceId(std::string(), resource_id, width, height);
    covers_[key] = bitmap;
    ScheduleCommit();
    return;
  }
  std::set<std::string>& queued = resource_id.empty() ? queued_ : queued_with_resource_;
  if (!queued.insert(key).second) {
    // Asked again after the first try gave nothing: an EPUB still has a first page.
    if (EndsWithNoCase(path, ".epub"))
      renderBookCoverUsingAdobe(path, ThumbnailPath(path, fast_hash, width, height), width, height,
                                key, true);
    return;
  }
  COVER_LOG(MW_LOG_VERBOSE, "Add book cover in load thread book [%s]", path.c_str());
  const CoverCallback callback = StoreUnder(key, true);
  Enqueue([this, callback, path, fast_hash, resource_id, width, height] {
    SmartBitmap bitmap = LoadCachedBookCoverOrMakeCache(path, fast_hash, 0, width, height);
    if (bitmap.IsEmpty() && !resource_id.empty())
      bitmap = LoadByHashOrResourceId(std::string(), resource_id, width, height);
    COVER_LOG(MW_LOG_VERBOSE, "Loaded book cover path [%s] cover [%s]", path.c_str(),
              TrueFalse(!bitmap.IsEmpty()));
    Deliver(callback, !bitmap.IsEmpty(), bitmap);
    ScheduleCommit();
  });
}

void CoverCacheManager::renderBookCoverUsingAdobe(const std::string& path,
                                                  const std::string& thumb_path, int width,
                                                  int height, const std::string& key, bool async) {
  COVER_LOG(MW_LOG_DETAIL, "path [%s] width [%d] height [%d]", path.c_str(), width, height);
  COVER_LOG(MW_LOG_DETAIL, "thumbPath = %s", thumb_path.c_str());
  auto render = [path, thumb_path, width, height]() -> SmartBitmap {
    SmartBitmap bitmap;
    if (thumb_path.empty()) {
      // A book outside the three storages has no thumbnail file: the page is kept in memory only.
      bitmap =
          Adjusted(ScaleBitmap(RenderBookFirstPage(path.c_str(), width, height), width, height));
    } else {
      if (pk_access(thumb_path.c_str(), 0) != 0)
        RunAdobeScanner(path.c_str(), thumb_path.c_str(), width, height, 0);
      bitmap = LoadPngFile(thumb_path, width, height);
    }
    COVER_LOG(MW_LOG_DETAIL, "thumbPath [%s] img [%p]", thumb_path.c_str(),
              static_cast<const void*>(bitmap.Data()));
    return bitmap;
  };
  if (!async) {
    covers_[key] = render();
    return;
  }
  COVER_LOG(MW_LOG_VERBOSE,
            "Add rendered cover using adobe in load thread book [%s] thumbPath [%s]", path.c_str(),
            thumb_path.c_str());
  const CoverCallback callback = StoreUnder(key, false);
  Enqueue([this, callback, render, thumb_path] {
    const SmartBitmap bitmap = render();
    if (!bitmap.IsEmpty())
      COVER_LOG(MW_LOG_VERBOSE, "Loaded png cover thumb_path [%s]", thumb_path.c_str());
    Deliver(callback, !bitmap.IsEmpty(), bitmap);
  });
}

SmartBitmap CoverCacheManager::GetStoreCover(const std::string& cover_path, const std::string& id,
                                             int width, int height, bool /*load_now*/) {
  // A picture file is small: it is read at once whatever the caller asked.
  const std::string key = CoverKey::Make(cover_path, std::string(), id, width, height);
  auto found = covers_.find(key);
  if (found != covers_.end())
    return found->second;
  const bool exists = cover_path.size() >= 5 && pk_access(cover_path.c_str(), 0) == 0;
  COVER_LOG(MW_LOG_DETAIL, "GetStoreCover cover_path [%s] is [%s]", cover_path.c_str(),
            exists ? "exists" : "missing");
  covers_[key] = SmartBitmap();
  if (exists) {
    SetLoadImageFlags(LOAD_IMAGE_REDUCED_SCALE);
    covers_[key] = LoadPictureFile(cover_path, width, height);
    return covers_[key];
  }
  if (cover_path.size() < 5)
    return covers_[key];
  // The picture may still be on its way from the store: look again on the worker.
  COVER_LOG(MW_LOG_VERBOSE, "Add store cover in load thread [%s]", cover_path.c_str());
  const CoverCallback callback = StoreUnder(key, false);
  Enqueue([this, callback, cover_path, width, height] {
    const SmartBitmap bitmap = pk_access(cover_path.c_str(), 0) == 0
                                   ? LoadPictureFile(cover_path, width, height)
                                   : SmartBitmap();
    Deliver(callback, !bitmap.IsEmpty(), bitmap);
  });
  return covers_[key];
}

int CoverCacheManager::AverageColor(const std::string& key, int band) {
  const std::string color_key = CoverKey::ForColor(key, band);
  auto known = colors_.find(color_key);
  if (known != colors_.end())
    return known->second;
  auto cover = covers_.find(key);
  if (cover == covers_.end() || cover->second.IsEmpty())
    return -1;
  const int color = FindAverageBitmapColor(cover->second, band, kColorBandPercent);
  colors_[color_key] = color;
  return color;
}

int CoverCacheManager::GetAverageColor(const std::string& path, int width, int height, int /*drm*/,
                                       const std::string& fast_hash, const std::string& resource_id,
                                       int band) {
  return AverageColor(CoverKey::Make(path, fast_hash, resource_id, width, height), band);
}

int CoverCacheManager::GetStoreAverageColor(const std::string& cover_path, const std::string& id,
                                            int width, int height, int band) {
  return AverageColor(CoverKey::Make(cover_path, std::string(), id, width, height), band);
}

}  // namespace marrowleaf::desktop
