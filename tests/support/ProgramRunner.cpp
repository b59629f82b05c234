#include "support/ProgramRunner.h"

#include "support/SampleDeviceCache.h"

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

namespace {

// Starts a program with its standard output and error on a pipe; false when it could not start.
bool Spawn(const std::string& program, const std::vector<std::string>& arguments,
           const std::vector<std::string>& environment, pid_t* pid, int* output_fd,
           std::string* error) {
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
    return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], 1);
  posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], 2);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  int spawned = posix_spawn(pid, path.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_fds[1]);
  if (spawned != 0) {
    close(pipe_fds[0]);
    *error = "spawn failed: " + std::string(std::strerror(spawned));
    return false;
  }
  *output_fd = pipe_fds[0];
  return true;
}

void ReadAll(int fd, std::string* output) {
  char buffer[4096];
  ssize_t got;
  while ((got = read(fd, buffer, sizeof buffer)) > 0) output->append(buffer, got);
}

// Waits for the program's end until the deadline; kills it then. Returns the exit status, -1 when
// it was killed or timed out.
int WaitUntil(pid_t pid, std::chrono::steady_clock::time_point deadline, bool* timed_out) {
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      *timed_out = true;
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment, int timeout_ms) {
  ProgramResult result;
  pid_t pid = -1;
  int fd = -1;
  if (!Spawn(program, arguments, environment, &pid, &fd, &result.output))
    return result;
  std::thread reader([&] { ReadAll(fd, &result.output); });
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  result.exit_status = WaitUntil(pid, deadline, &result.timed_out);
  reader.join();
  close(fd);
  return result;
}

BackgroundProgram::BackgroundProgram(const std::string& program,
                                     const std::vector<std::string>& arguments,
                                     const std::vector<std::string>& environment) {
  if (Spawn(program, arguments, environment, &pid_, &fd_, &result_.output))
    reader_ = std::thread([this] { ReadAll(fd_, &result_.output); });
}

BackgroundProgram::~BackgroundProgram() {
  Stop();
}

bool BackgroundProgram::Running() const {
  return pid_ > 0 && !finished_ && kill(pid_, 0) == 0;
}

ProgramResult BackgroundProgram::Wait(int timeout_ms) {
  if (pid_ > 0 && !finished_) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    result_.exit_status = WaitUntil(pid_, deadline, &result_.timed_out);
    finished_ = true;
    if (reader_.joinable())
      reader_.join();
    close(fd_);
  }
  return result_;
}

void BackgroundProgram::Stop() {
  if (pid_ > 0 && !finished_)
    kill(pid_, SIGTERM);
  Wait(5000);
}

ProgramResult MakeSampleDevice(const std::string& host_root, const std::string& profile,
                               const std::vector<std::string>& options) {
  std::vector<std::string> all = {"--profile", profile};
  all.insert(all.end(), options.begin(), options.end());
  return SampleDeviceCache::Make(host_root, all);
}

}  // namespace marrowleaf::test
