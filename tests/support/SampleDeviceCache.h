#pragma once

#include <string>
#include <vector>

#include "support/ProgramRunner.h"

namespace marrowleaf::test {

// Sample devices made once and copied for each journey. Making one draws dozens of covers, which
// takes seconds under the sanitizers, and nearly every journey starts with a fresh device.
//
// A made device is kept in the build folder under a name built from the generator's options, the
// generator's and stand-in's build times, the newest change of the resources it copies and a
// ten-minute window: the sample library dates its
// books from the moment it was made, so a copy is never more than ten minutes older than a device
// made on the spot. Concurrent tests each make the device into a folder of their own and rename it
// into place; the loser of that race throws its copy away.
class SampleDeviceCache {
 public:
  // Like `make-sample-device --root host_root --force <options>`.
  static ProgramResult Make(const std::string& host_root, const std::vector<std::string>& options);

 private:
  static std::string CachedDevice(const std::vector<std::string>& options, ProgramResult* made);
  static std::string Key(const std::vector<std::string>& options);
  // Copies a device tree over host_root: folders and links as they are, programs as hard links
  // (no journey writes a program file), every other file as a copy with its times kept.
  static bool Copy(const std::string& from, const std::string& to, std::string* error);
  static void RemoveOldDevices(const std::string& folder);
};

}  // namespace marrowleaf::test
