#pragma once

#include <string>
#include <vector>

// Speech for users of the screen reader. Every group spoken is written to the simulator's journal
// as event "speech" (with the text); when the screen reader is on (the device state shared by all
// tasks) and a speech program ("espeak-ng") is installed, it is also spoken aloud. A new group cuts
// the one still being spoken.
class MWAccessibilityAudio {
 public:
  // Longest text spoken; the rest is cut.
  static constexpr size_t kMaxTextBytes = 4096;

  // Speaks the parts joined by ", " (empty parts are left out). Returns the text spoken.
  static std::string PlayGroup(const std::vector<std::string>& parts);
  static std::string PlayGroup(const std::string& text);
  // Stops what is being spoken.
  static void Stop();
};
