#pragma once

#include <sys/types.h>

#include <string>

namespace marrowleaf::platform {

// Speaks a text with the speech program of the PC ("espeak-ng" found on PATH), one utterance at a
// time: a new one stops the one before. The text is passed as one argument after "--" in an
// argument vector, never through a shell. Event-loop thread only.
//
// With MARROWLEAF_SPEECH_WAV naming a host folder, the speech goes into WAV files there instead of
// the speakers ("speech-1.wav", "speech-2.wav", ...), each written completely before Speak
// returns, so a test can check that sound came out.
class SpeechOutput {
 public:
  static SpeechOutput& Get();

  // False when no speech program is installed or it could not be started.
  bool Speak(const std::string& text);
  void Stop();

 private:
  SpeechOutput() = default;
  std::string FindProgram() const;
  // The next WAV file to write, "" when speech goes to the speakers.
  std::string NextWavFile();

  pid_t speaking_ = -1;
  int wav_files_ = 0;
};

}  // namespace marrowleaf::platform
