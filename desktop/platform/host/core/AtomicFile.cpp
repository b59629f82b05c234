// Whole-file reads with a cap and atomic whole-file replacement, for every file the program writes.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "DeviceProfile.h"
#include "DeviceRoot.h"
#include "FileSync.h"
#include "HostFiles.h"
#include "platform/sdk/files.h"

namespace marrowleaf::platform {

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t written = write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

void SyncFolder(const std::string& folder) {
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

namespace {

// A temporary file is the target's name, the marker and mkostemp's six letters or digits.
constexpr const char* kTemporaryMarker = ".tmp-";
constexpr size_t kTemporaryLetters = 6;

bool IsTemporaryName(const std::string& name) {
  const size_t marker = std::char_traits<char>::length(kTemporaryMarker);
  if (name.size() <= marker + kTemporaryLetters)
    return false;
  const size_t letters = name.size() - kTemporaryLetters;
  if (name.compare(letters - marker, marker, kTemporaryMarker) != 0)
    return false;
  return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(letters), name.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

}  // namespace

bool StorageIsFull(const std::string& device_path) {
  const std::string storage = "/mnt/ext1/";
  const std::string normal = DeviceRoot::Normalize(device_path);
  return normal.compare(0, storage.size(), storage) == 0 &&
         DeviceProfile::Get().Int("storage_full") != 0;
}

}  // namespace marrowleaf::platform

using marrowleaf::platform::FolderOf;
using marrowleaf::platform::StorageIsFull;
using marrowleaf::platform::SyncFolder;
using marrowleaf::platform::WriteAll;

int WriteFileAtomically(const std::string& device_path, const std::string& content) {
  const std::string target = HostPathForChange(device_path);
  if (target.empty()) return -1;
  if (StorageIsFull(device_path)) {
    errno = ENOSPC;
    return -1;
  }
  return marrowleaf::platform::WriteHostFileAtomically(target, content);
}

int marrowleaf::platform::WriteHostFileAtomically(const std::string& target,
                                                  const std::string& content) {
  std::string temp = target + marrowleaf::platform::kTemporaryMarker +
                     std::string(marrowleaf::platform::kTemporaryLetters, 'X');
  int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return -1;
  bool ok = WriteAll(fd, content.data(), content.size()) && fsync(fd) == 0;
  // mkostemp makes the file private; the device's files are readable by the other tasks.
  fchmod(fd, 0644);
  ok = (close(fd) == 0) && ok;
  if (!ok || rename(temp.c_str(), target.c_str()) != 0) {
    unlink(temp.c_str());
    return -1;
  }
  SyncFolder(FolderOf(target));
  return 0;
}

int RemoveStaleTemporaryFiles(const std::string& device_folder) {
  // The folder's own path must not lead out of the root through a link.
  const std::string folder = HostPathForChange(device_folder);
  if (folder.empty())
    return 0;
  int removed = 0;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    std::error_code ignored;
    // Only regular files that this writer names are ever deleted; a link is left alone.
    if (!entry.is_symlink(ignored) && entry.is_regular_file(ignored) &&
        marrowleaf::platform::IsTemporaryName(entry.path().filename().string()) &&
        std::filesystem::remove(entry.path(), ignored)) {
      ++removed;
    }
  }
  return removed;
}

bool ReadFileCapped(const std::string& device_path, size_t max_bytes, std::string* content,
                    bool* truncated) {
  const std::string path = HostPath(device_path);
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    close(fd);
    return false;
  }
  content->clear();
  // Room for the whole file at once: growing the text block by block copied it over and over.
  if (S_ISREG(info.st_mode) && info.st_size > 0)
    content->reserve(std::min(static_cast<size_t>(info.st_size), max_bytes) + 1);
  char buffer[16384];
  bool ok = true;
  // One byte past the cap tells a file of exactly max_bytes from a longer one.
  while (content->size() <= max_bytes) {
    ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    if (got == 0) break;
    content->append(buffer, static_cast<size_t>(got));
  }
  close(fd);
  bool longer = content->size() > max_bytes;
  if (longer) content->resize(max_bytes);
  if (truncated) *truncated = longer;
  return ok;
}
