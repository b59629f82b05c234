#include "ProcessLauncher.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/sdk/files.h"
#include "platform/sdk/log.h"

extern char** environ;

namespace marrowleaf::platform {

namespace {

// Undoes what the calling thread may have changed: the child starts with no blocked signals and
// default handlers, like a program the device's task manager starts. It also gets its own process
// group, so an interrupt of the home screen doesn't end the tasks, which outlive it on the device.
class SpawnAttributes {
 public:
  SpawnAttributes() {
    posix_spawnattr_init(&attributes_);
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes_, &none);
    posix_spawnattr_setsigdefault(&attributes_, &all);
    posix_spawnattr_setpgroup(&attributes_, 0);
    posix_spawnattr_setflags(
        &attributes_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
  }
  ~SpawnAttributes() { posix_spawnattr_destroy(&attributes_); }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;
  const posix_spawnattr_t* Get() const { return &attributes_; }

 private:
  posix_spawnattr_t attributes_;
};

}  // namespace

bool ProcessLauncher::CanRun(const std::string& device_path) {
  if (device_path.empty() || device_path[0] != '/')
    return false;
  const std::string host_path = HostPath(device_path);
  struct stat info {};
  if (stat(host_path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
    return false;
  return access(host_path.c_str(), X_OK) == 0;
}

bool ProcessLauncher::ArgumentsAcceptable(const std::vector<std::string>& arguments) {
  if (arguments.size() > kMaxArguments)
    return false;
  for (const auto& argument : arguments) {
    // A NUL would silently cut the argument short in the child.
    if (argument.size() > kMaxArgumentBytes || argument.find('\0') != std::string::npos) {
      return false;
    }
  }
  return true;
}

std::vector<char*> ProcessLauncher::ArgumentVector(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  pointers.reserve(strings.size() + 1);
  for (auto& text : strings) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

bool ProcessLauncher::Prepare(const std::string& device_path,
                              const std::vector<std::string>& arguments,
                              std::vector<std::string>* strings) {
  MW_RETURN_IF(!ArgumentsAcceptable(arguments), false, "arguments refused for %s",
               device_path.c_str());
  MW_RETURN_IF(!CanRun(device_path), false, "no program at %s", device_path.c_str());
  strings->assign(1, device_path);
  strings->insert(strings->end(), arguments.begin(), arguments.end());
  return true;
}

pid_t ProcessLauncher::Spawn(const std::string& device_path,
                             const std::vector<std::string>& arguments) {
  std::vector<std::string> strings;
  if (!Prepare(device_path, arguments, &strings))
    return -1;
  std::vector<char*> argv = ArgumentVector(strings);
  SpawnAttributes attributes;
  pid_t pid = -1;
  const int error = posix_spawn(&pid, HostPath(device_path).c_str(), nullptr, attributes.Get(),
                                argv.data(), environ);
  MW_RETURN_IF(error != 0, -1, "%s: %s", device_path.c_str(), std::strerror(error));
  return pid;
}

void ProcessLauncher::Replace(const std::string& device_path,
                              const std::vector<std::string>& arguments) {
  std::vector<std::string> strings;
  if (!Prepare(device_path, arguments, &strings))
    return;
  std::vector<char*> argv = ArgumentVector(strings);
  execv(HostPath(device_path).c_str(), argv.data());
  MW_LOG(MW_LOG_ERROR, "execv %s: %s", device_path.c_str(), std::strerror(errno));
}

}  // namespace marrowleaf::platform
