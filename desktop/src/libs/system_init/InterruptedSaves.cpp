#include "system_init/InterruptedSaves.h"

#include <cstdio>

#include "platform/sdk/files.h"

namespace marrowleaf::desktop {
namespace {

// Every folder the home screen saves a file in with WriteFileAtomically or a configuration handle.
// Thumbnail batches clean up after themselves (the cover cache at its start).
constexpr const char* kSavedFolders[] = {
    "/mnt/ext1/system",
    "/mnt/ext1/system/config",
    "/mnt/ext1/system/config/desktop",
    "/mnt/ext1/system/cache",
    "/mnt/ext1/system/cache/desktop",
    "/mnt/ext1/system/state",
    "/var/run",
    "/tmp",
};

}  // namespace

int RemoveInterruptedSaves() {
  int removed = 0;
  for (const char* folder : kSavedFolders) removed += RemoveStaleTemporaryFiles(folder);
  if (removed > 0)
    std::fprintf(stderr, "Removed %d files of interrupted saves\n", removed);
  return removed;
}

}  // namespace marrowleaf::desktop
