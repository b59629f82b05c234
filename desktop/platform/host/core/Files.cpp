// The file functions of the SDK; each takes a device path and works on its host path.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/sdk/files.h"
#include "platform/sdk/log.h"

namespace {

// Copies are made in memory and written whole; nothing the home screen copies comes near this.
constexpr size_t kMaxCopyBytes = 256u * 1024 * 1024;

bool MakeFolder(const std::string& device_path) {
  const std::string host_path = HostPathForChange(device_path);
  if (mkdir(host_path.c_str(), 0777) == 0)
    return true;
  struct stat info {};
  return errno == EEXIST && stat(host_path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

int pk_access(const char* path, int mode) {
  if (path == nullptr)
    return -1;
  return access(HostPath(path).c_str(), mode) == 0 ? 0 : -1;
}

int pk_buildpath(const char* path) {
  if (path == nullptr)
    return -1;
  const std::string device_path = path;
  // Every slash after the first character ends a folder name; the text after the last one is
  // the file name and is left alone.
  for (size_t slash = device_path.find('/', 1); slash != std::string::npos;
       slash = device_path.find('/', slash + 1)) {
    if (device_path[slash - 1] == '/')
      continue;
    if (!MakeFolder(device_path.substr(0, slash))) {
      MW_LOG(MW_LOG_WARNING, "Can't create folder for [%s]\n", path);
      return -1;
    }
  }
  return 0;
}

int pk_unlink(const char* path) {
  if (path == nullptr)
    return -1;
  return unlink(HostPathForChange(path).c_str()) == 0 ? 0 : -1;
}

int copy_file(const char* source, const char* target) {
  if (source == nullptr || target == nullptr)
    return -1;
  std::string content;
  bool truncated = false;
  if (!ReadFileCapped(source, kMaxCopyBytes, &content, &truncated) || truncated) {
    MW_LOG(MW_LOG_WARNING, "Can't copy [%s]: unreadable or too large\n", source);
    return -1;
  }
  return WriteFileAtomically(target, content);
}

int CopyFile(const char* source, const char* target) {
  return copy_file(source, target);
}
