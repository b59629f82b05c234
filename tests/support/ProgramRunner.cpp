#include "support/ProgramRunner.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

extern char** environ;

namespace marrowleaf::test {

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment, int timeout_ms) {
  ProgramResult result;
  const std::string path = program.find('/') == std::string::npos
                               ? std::string(MARROWLEAF_BIN_DIR) + "/" + program
                               : program;
  std::vector<std::string> args = {path};
  args.insert(args.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (auto& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);

  auto name_of = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
  std::vector<std::string> env_storage;
  for (char** entry = environ; *entry; ++entry) {
    const std::string text = *entry;
    bool overridden = false;
    for (const auto& change : environment) overridden |= name_of(change) == name_of(text);
    if (!overridden)
      env_storage.push_back(text);
  }
  for (const auto& change : environment) {
    if (change.find('=') != std::string::npos)
      env_storage.push_back(change);
  }
  std::vector<char*> envp;
  for (auto& entry : env_storage) envp.push_back(entry.data());
  envp.push_back(nullptr);

  int pipe_fds[2];
  if (pipe2(pipe_fds, O_CLOEXEC) != 0)
    return result;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], 1);
  posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], 2);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  pid_t pid = -1;
  int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_fds[1]);
  if (spawned != 0) {
    close(pipe_fds[0]);
    result.output = "spawn failed: " + std::string(std::strerror(spawned));
    return result;
  }
  std::thread reader([&] {
    char buffer[4096];
    ssize_t got;
    while ((got = read(pipe_fds[0], buffer, sizeof buffer)) > 0) result.output.append(buffer, got);
  });
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      result.timed_out = true;
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  reader.join();
  close(pipe_fds[0]);
  if (!result.timed_out && WIFEXITED(status))
    result.exit_status = WEXITSTATUS(status);
  return result;
}

}  // namespace marrowleaf::test
