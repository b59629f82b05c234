#include "system_init/MakeHidden.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/sdk/files.h"

extern char** environ;

namespace marrowleaf::desktop {
namespace {

constexpr const char* kAttributeTool = "/bin/mattr";
constexpr size_t kMaxPathLength = 255;
// What a shell reports for a program it can't find; kept so the log reads the same either way.
constexpr int kToolMissing = 127;

// Starts the tool with its error output thrown away (its complaints about storages without
// attributes are expected) and returns its pid, or -1 with errno set.
pid_t SpawnAttributeTool(const std::string& tool, const char* path) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const char* const arguments[] = {kAttributeTool, "+hs", path, nullptr};
  pid_t pid = -1;
  const int error = posix_spawn(&pid, tool.c_str(), &actions, nullptr,
                                const_cast<char* const*>(arguments), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) {
    errno = error;
    return -1;
  }
  return pid;
}

int WaitForExitStatus(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR)
      return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

int make_hidden(const char* path) {
  if (path == nullptr || *path == '\0' || std::strlen(path) > kMaxPathLength)
    return -1;
  std::fprintf(stderr, "Call make_hidden [%s +hs %s]\n", kAttributeTool, path);
  const pid_t pid = SpawnAttributeTool(HostPath(kAttributeTool), path);
  const int result = pid < 0 ? kToolMissing : WaitForExitStatus(pid);
  std::fprintf(stderr, "make_hidden result [%d]\n", result);
  return result;
}

}  // namespace marrowleaf::desktop
