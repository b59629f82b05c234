#include "system_init/Checkpoint.h"

#include "platform/sdk/files.h"

namespace marrowleaf::desktop {

bool WriteCheckpoint(const std::string& bytes) {
  return WriteFileAtomically("/tmp/desktop.checkpoint", bytes) == 0;
}

}  // namespace marrowleaf::desktop
