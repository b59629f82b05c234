// The reading state of the readers, moved between the internal storage and the temporary file
// system.
#pragma once

namespace marrowleaf::desktop {

// "/mnt/ext1/system/state/.bsstate" holds both temporary files, at most 16384 bytes in all:
//
//   0   4 bytes   n, signed 32-bit little-endian: 4 + the length of the saved "/tmp/.current"
//   4   n - 4     the content of "/tmp/.current" (the reader's current book)
//   n   the rest  the content of "/tmp/.bsstate"
//
// Other programs read and write this layout, so it must stay exactly as it is.

// Puts the saved files back into /tmp (owned by user and group 101, the readers' user), then
// deletes the saved file. A missing saved file leaves /tmp as it is.
void RestoreStateFiles();

// Saves the two temporary files into the internal storage so they survive a power cycle.
void SaveStateFiles();

}  // namespace marrowleaf::desktop
