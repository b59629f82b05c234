#include "platform/utils/CacheController.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <sstream>
#include <utility>
#include <vector>

#include "platform/sdk/files.h"
#include "platform/sdk/log.h"

namespace marrowleaf::utilities {
namespace {

const char kCacheRoot[] = "/mnt/ext1/system/cache/";
const char kIndexHeader[] = "cache-index 1";

bool HasControlCharacter(const std::string& text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}

}  // namespace

CacheController& CacheController::Instance() {
  static CacheController* instance = new CacheController();
  return *instance;
}

bool CacheController::IsValidCacheName(const std::string& cache) {
  return !cache.empty() && cache.size() <= 64 && cache.find('/') == std::string::npos &&
         cache != "." && cache != ".." && !HasControlCharacter(cache);
}

bool CacheController::IsValidItemName(const std::string& item) {
  if (item.empty() || item.size() > kMaxNameLength || item.front() == '/' ||
      HasControlCharacter(item)) {
    return false;
  }
  std::stringstream parts(item);
  std::string part;
  while (std::getline(parts, part, '/')) {
    if (part.empty() || part == "." || part == "..")
      return false;
  }
  return item.back() != '/';
}

std::string CacheController::GetCacheItemPath(const std::string& item, const std::string& cache) {
  if (!IsValidCacheName(cache) || !IsValidItemName(item))
    return std::string();
  return std::string(kCacheRoot) + cache + "/" + item;
}

std::string CacheController::IndexPath(const std::string& cache) {
  return std::string(kCacheRoot) + cache + ".index";
}

bool CacheController::ParseIndex(const std::string& text, Cache* cache) {
  std::istringstream lines(text);
  std::string line;
  if (!std::getline(lines, line) || line != kIndexHeader)
    return false;
  if (!std::getline(lines, line) || line.rfind("max ", 0) != 0)
    return false;
  const int max_items = std::atoi(line.c_str() + 4);
  if (max_items < 1)
    return false;
  cache->max_items = max_items;
  while (std::getline(lines, line)) {
    const size_t space = line.find(' ');
    if (space == std::string::npos || space == 0)
      return false;
    const std::string name = line.substr(space + 1);
    if (!IsValidItemName(name))
      return false;
    const uint64_t use = std::strtoull(line.substr(0, space).c_str(), nullptr, 10);
    cache->last_use[name] = use;
    cache->clock = std::max(cache->clock, use);
  }
  return true;
}

std::string CacheController::FormatIndex(const Cache& cache) {
  std::string text = std::string(kIndexHeader) + "\nmax " + std::to_string(cache.max_items) + "\n";
  for (const auto& [name, use] : cache.last_use) text += std::to_string(use) + " " + name + "\n";
  return text;
}

CacheController::Cache& CacheController::Find(const std::string& cache) {
  auto found = caches_.find(cache);
  if (found != caches_.end())
    return found->second;
  Cache& entry = caches_[cache];
  std::string text;
  bool truncated = false;
  // A damaged or oversized index is treated like a missing one.
  if (ReadFileCapped(IndexPath(cache), kMaxIndexBytes, &text, &truncated) && !truncated) {
    Cache parsed;
    if (ParseIndex(text, &parsed)) {
      parsed.loaded_from_file = true;
      entry = std::move(parsed);
    } else {
      MW_LOG(MW_LOG_WARNING, "cache index of [%s] is damaged; starting empty", cache.c_str());
    }
  }
  return entry;
}

bool CacheController::IsCacheExists(const std::string& cache) {
  if (!IsValidCacheName(cache))
    return false;
  std::lock_guard<std::mutex> lock(mutex_);
  return Find(cache).loaded_from_file;
}

int CacheController::RemoveCacheFiles(const std::string& cache) {
  if (!IsValidCacheName(cache))
    return -1;
  const std::string device_folder = std::string(kCacheRoot) + cache;
  // The folder itself may be a link: what it holds is emptied only when it lies in the caches.
  if (!ResolvesInside(device_folder + "/entry", kCacheRoot))
    return -1;
  const std::filesystem::path folder = HostPath(device_folder);
  std::error_code error;
  if (!std::filesystem::exists(folder, error))
    return 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error))
    std::filesystem::remove_all(entry.path(), error);
  return error ? -1 : 0;
}

int CacheController::SetCacheMaxSize(const std::string& cache, int max_items) {
  if (!IsValidCacheName(cache) || max_items < 1)
    return -1;
  std::lock_guard<std::mutex> lock(mutex_);
  Find(cache).max_items = max_items;
  return 0;
}

int CacheController::Push(const std::string& item, const std::string& cache, bool save_now) {
  if (!IsValidCacheName(cache) || !IsValidItemName(item))
    return -1;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    Cache& entry = Find(cache);
    entry.last_use[item] = ++entry.clock;
    if (!save_now)
      return 0;
  }
  return OptimizeAndSave(cache);
}

bool CacheController::Adopt(const std::string& item, const std::string& cache) {
  if (!IsValidCacheName(cache) || !IsValidItemName(item))
    return false;
  std::lock_guard<std::mutex> lock(mutex_);
  // Use 0 is older than every use the clock has given.
  return Find(cache).last_use.emplace(item, 0).second;
}

size_t CacheController::ItemCount(const std::string& cache) {
  std::lock_guard<std::mutex> lock(mutex_);
  return Find(cache).last_use.size();
}

std::vector<std::string> CacheController::Evict(const std::string& name, Cache* cache) {
  std::vector<std::string> files;
  if (cache->last_use.size() <= static_cast<size_t>(cache->max_items))
    return files;
  std::vector<std::pair<uint64_t, std::string>> by_age;
  for (const auto& [item, use] : cache->last_use) by_age.emplace_back(use, item);
  std::sort(by_age.begin(), by_age.end());
  const size_t excess = by_age.size() - static_cast<size_t>(cache->max_items);
  for (size_t i = 0; i < excess; ++i) {
    cache->last_use.erase(by_age[i].second);
    files.push_back(GetCacheItemPath(by_age[i].second, name));
  }
  return files;
}

int CacheController::OptimizeAndSave(const std::string& cache) {
  if (!IsValidCacheName(cache))
    return -1;
  std::vector<std::string> evicted;
  Cache snapshot;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    Cache& entry = Find(cache);
    evicted = Evict(cache, &entry);
    entry.loaded_from_file = true;
    snapshot = entry;
  }
  // The index is written and files deleted outside the lock: other threads keep registering. The
  // files go after the index that no longer names them. An item whose folder is a link to
  // elsewhere is forgotten but nothing there is deleted.
  const int saved = Save(cache, snapshot);
  const std::string folder = std::string(kCacheRoot) + cache;
  for (const std::string& path : evicted) {
    if (ResolvesInside(path, folder)) {
      pk_unlink(path.c_str());
    } else {
      MW_LOG(MW_LOG_WARNING, "cache item [%s] lies outside its cache; not deleted", path.c_str());
    }
  }
  return saved;
}

int CacheController::Save(const std::string& cache_name, const Cache& cache) {
  const std::string path = IndexPath(cache_name);
  // Names are registered when they are asked for, before their files are made (and some never
  // are): the file names only those whose files exist now.
  Cache present = cache;
  for (auto item = present.last_use.begin(); item != present.last_use.end();) {
    const std::string file = GetCacheItemPath(item->first, cache_name);
    item = pk_access(file.c_str(), 0) == 0 ? std::next(item) : present.last_use.erase(item);
  }
  if (pk_buildpath(path.c_str()) != 0 || WriteFileAtomically(path, FormatIndex(present)) != 0) {
    MW_LOG(MW_LOG_ERROR, "can't write the cache index [%s]", path.c_str());
    return -1;
  }
  return 0;
}

void CacheController::Reset() {
  std::lock_guard<std::mutex> lock(mutex_);
  caches_.clear();
}

}  // namespace marrowleaf::utilities
