// Firmware update files: does a downloaded update carry the firmware the device already runs?
#pragma once

namespace marrowleaf::desktop {

// Reads the version of the firmware in the update file at a device path (a gzip stream, or plain
// data) and compares it with the device's software version. 1 when they are equal, 0 otherwise and
// for every failure. A file that is too short, has the wrong magic or whose 'a' section can't be
// reached is no update file and is deleted; a missing file is only reported.
int check_swupdate_file(const char* path);

}  // namespace marrowleaf::desktop
