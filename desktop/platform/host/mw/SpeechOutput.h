#pragma once

#include <sys/types.h>

#include <string>

namespace marrowleaf::platform {

// Speaks a text with the speech program of the PC ("espeak-ng" found on PATH), one utterance at a
// time: a new one stops the one before. The text is passed as one argument after "--" in an
// argument vector, never through a shell. Event-loop thread only.
class SpeechOutput {
 public:
  static SpeechOutput& Get();

  // False when no speech program is installed or it could not be started.
  bool Speak(const std::string& text);
  void Stop();

 private:
  SpeechOutput() = default;
  std::string FindProgram() const;

  pid_t speaking_ = -1;
};

}  // namespace marrowleaf::platform
