#include "platform/utils/AtomicFileBatch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <set>

#include "FileSync.h"
#include "platform/sdk/files.h"

namespace marrowleaf::utilities {

using platform::FolderOf;
using platform::StorageIsFull;
using platform::SyncFolder;
using platform::WriteAll;

AtomicFileBatch::~AtomicFileBatch() {
  Abandon();
}

int AtomicFileBatch::Add(const std::string& device_path, const std::string& content) {
  const std::string target = HostPathForChange(device_path);
  if (target.empty())
    return -1;
  if (StorageIsFull(device_path)) {
    errno = ENOSPC;
    return -1;
  }
  std::string temp = target + kPartMarker + "XXXXXX";
  const int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0)
    return -1;
  // mkostemp makes the file private; the device's files are readable by the other tasks.
  if (!WriteAll(fd, content.data(), content.size()) || fchmod(fd, 0644) != 0) {
    close(fd);
    unlink(temp.c_str());
    return -1;
  }
#ifdef SYNC_FILE_RANGE_WRITE
  // Starts writing the data out now. The flush in Commit stays what makes it durable; this only
  // lets the flushes of a batch wait for writes that are already under way, side by side,
  // instead of starting them one file at a time.
  sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
  files_.push_back(File{fd, std::move(temp), target});
  return 0;
}

int AtomicFileBatch::Commit() {
  int failed = 0;
  std::set<std::string> folders;
  // Every content is durable before any rename, so that no rename can outlive a power cut
  // without the data it points at.
  std::vector<bool> flushed(files_.size(), false);
  for (size_t i = 0; i < files_.size(); ++i) {
    flushed[i] = fsync(files_[i].fd) == 0;
    flushed[i] = close(files_[i].fd) == 0 && flushed[i];
  }
  for (size_t i = 0; i < files_.size(); ++i) {
    const File& file = files_[i];
    if (!flushed[i] || rename(file.temp.c_str(), file.target.c_str()) != 0) {
      unlink(file.temp.c_str());
      ++failed;
      continue;
    }
    folders.insert(FolderOf(file.target));
  }
  files_.clear();
  for (const std::string& folder : folders) SyncFolder(folder);
  return failed;
}

void AtomicFileBatch::Abandon() {
  for (const File& file : files_) {
    close(file.fd);
    unlink(file.temp.c_str());
  }
  files_.clear();
}

bool AtomicFileBatch::HoldsTemporary(const std::string& host_path) const {
  return std::any_of(files_.begin(), files_.end(),
                     [&](const File& file) { return file.temp == host_path; });
}

}  // namespace marrowleaf::utilities
