#pragma once

#include <string>

namespace marrowleaf::platform {

// WriteFileAtomically for a path of the PC itself rather than of the device: files named by the
// person running the simulator (screenshots), which may lie anywhere. 0 on success, -1 otherwise.
int WriteHostFileAtomically(const std::string& host_path, const std::string& content);

}  // namespace marrowleaf::platform
