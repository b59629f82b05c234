// The start-up checkpoint: what the program was doing when it last stopped unexpectedly.
#pragma once

#include <string>

namespace marrowleaf::desktop {

// Replaces "/tmp/desktop.checkpoint" with bytes (an empty string leaves an empty file). True when
// the whole content is in place. Safe from any thread: the file is replaced atomically.
bool WriteCheckpoint(const std::string& bytes);

}  // namespace marrowleaf::desktop
