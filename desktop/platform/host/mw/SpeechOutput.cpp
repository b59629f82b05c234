#include "SpeechOutput.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>
#include <vector>

extern char** environ;

namespace marrowleaf::platform {

SpeechOutput& SpeechOutput::Get() {
  static auto* output = new SpeechOutput();
  return *output;
}

std::string SpeechOutput::FindProgram() const {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path != nullptr ? path : "/usr/bin:/bin");
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    if (folder.empty())
      continue;
    const std::string candidate = folder + "/espeak-ng";
    if (access(candidate.c_str(), X_OK) == 0)
      return candidate;
  }
  return "";
}

void SpeechOutput::Stop() {
  if (speaking_ <= 0)
    return;
  // Only the child this object started is stopped, by its own id.
  kill(speaking_, SIGTERM);
  waitpid(speaking_, nullptr, 0);
  speaking_ = -1;
}

std::string SpeechOutput::NextWavFile() {
  const char* folder = std::getenv("MARROWLEAF_SPEECH_WAV");
  if (folder == nullptr || *folder == '\0')
    return "";
  return std::string(folder) + "/speech-" + std::to_string(++wav_files_) + ".wav";
}

bool SpeechOutput::Speak(const std::string& text) {
  Stop();
  const std::string program = FindProgram();
  if (program.empty())
    return false;
  std::vector<std::string> args = {program};
  const std::string wav_file = NextWavFile();
  if (!wav_file.empty()) {
    args.push_back("-w");
    args.push_back(wav_file);
  }
  // "--" ends the options, so a text that starts with "-" is spoken, not obeyed.
  args.push_back("--");
  args.push_back(text);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
    return false;
  if (!wav_file.empty()) {
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
  speaking_ = pid;
  return true;
}

}  // namespace marrowleaf::platform
