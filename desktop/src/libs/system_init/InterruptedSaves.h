// The temporary files that a save cut short leaves behind.
#pragma once

namespace marrowleaf::desktop {

// Deletes the temporary files of saves that never finished (the program killed between writing a
// file and renaming it into place) from every folder the program saves files in. Run at a normal
// start, before any thread of this process saves anything. Returns the number deleted.
int RemoveInterruptedSaves();

}  // namespace marrowleaf::desktop
