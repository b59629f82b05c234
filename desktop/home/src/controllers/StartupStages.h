#pragma once

namespace marrowleaf::desktop {

// Marks of the start-up's stages on standard error ("start-up stage [upkeep done] at [123456] us",
// log level 5, steady-clock microseconds), each once per process, so that the time from the
// program's start to its first complete screen can be measured and broken down.
class StartupStages {
 public:
  static void Mark(const char* stage);
};

}  // namespace marrowleaf::desktop
