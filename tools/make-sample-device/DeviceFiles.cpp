#include "DeviceFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/sdk/files.h"

namespace marrowleaf::tools {

bool DeviceFiles::Write(const std::string& device_path, const std::string& content, unsigned mode,
                        std::string* error) {
  pk_buildpath(device_path.c_str());
  if (WriteFileAtomically(device_path, content) != 0) {
    *error = "can't write " + HostPath(device_path);
    return false;
  }
  if (chmod(HostPath(device_path).c_str(), static_cast<mode_t>(mode)) != 0) {
    *error = "can't set the mode of " + HostPath(device_path) + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

bool DeviceFiles::CopyFromHost(const std::string& host_source, const std::string& device_path,
                               unsigned mode, size_t max_bytes, std::string* error) {
  std::ifstream in(host_source, std::ios::binary);
  if (!in) {
    *error = "can't read " + host_source;
    return false;
  }
  std::string content;
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    content.append(buffer, static_cast<size_t>(in.gcount()));
    if (content.size() > max_bytes) {
      *error = host_source + " is larger than " + std::to_string(max_bytes) + " bytes";
      return false;
    }
  }
  if (in.bad()) {
    *error = "can't read " + host_source;
    return false;
  }
  return Write(device_path, content, mode, error);
}

bool DeviceFiles::Share(const std::string& device_source, const std::string& device_path,
                        unsigned mode, size_t max_bytes, std::string* error) {
  const std::string source = HostPath(device_source);
  const std::string target = HostPath(device_path);
  const std::string temporary = target + ".tmp-link-" + std::to_string(getpid());
  pk_buildpath(device_path.c_str());
  unlink(temporary.c_str());
  if (link(source.c_str(), temporary.c_str()) == 0) {
    if (rename(temporary.c_str(), target.c_str()) == 0)
      return true;
    unlink(temporary.c_str());
  }
  return CopyFromHost(source, device_path, mode, max_bytes, error);
}

bool DeviceFiles::Link(const std::string& host_target, const std::string& device_path,
                       std::string* error) {
  // A new link under a temporary name renamed over the old path replaces it in one step.
  const std::string link = HostPath(device_path);
  const std::string temporary = link + ".tmp-link-" + std::to_string(getpid());
  unlink(temporary.c_str());
  if (symlink(host_target.c_str(), temporary.c_str()) != 0 ||
      rename(temporary.c_str(), link.c_str()) != 0) {
    *error = "can't link " + link + " to " + host_target + ": " + std::strerror(errno);
    unlink(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace marrowleaf::tools
