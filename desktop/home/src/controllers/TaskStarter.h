#pragma once

#include <string>
#include <vector>

#include "platform/sdk/tasks.h"

namespace marrowleaf::desktop {

// Starts the device's other programs for the controller's actions. The screen reader is told what
// opens before the task takes the screen; arguments travel as a vector, never through a shell, so
// paths with spaces, quotes or "$()" reach the program as they are. A program that can't be
// started (missing, not executable) gives the reader a message instead of nothing.
class TaskStarter {
 public:
  // The flags of an ordinary start: the task comes to the front.
  static constexpr int kFlags = TASK_FLAG_SWITCH;

  // Starts the program with the arguments after announcing `what` (a language key such as
  // "@Library", or a title as it stands). Returns the task id, or -1.
  static int Start(const std::string& path, const std::vector<std::string>& arguments,
                   const std::string& what, int flags = kFlags);
  // Opens a book in its reader after announcing its title. Returns the task id, or -1.
  static int OpenBook(const std::string& path, const std::string& title, const char* parameters,
                      int flags);
  // The message of a start that failed.
  static void ReportFailedStart(const std::string& what);
};

}  // namespace marrowleaf::desktop
