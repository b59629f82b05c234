// Hidden and system attributes of folders on the user's storage.
#pragma once

namespace marrowleaf::desktop {

// Sets the hidden and system attributes of a device path with the device's "/bin/mattr" tool, so a
// computer that mounts the storage does not show the folder. Waits for the tool and returns its
// exit status; 127 when the tool is missing (which is no error: the attributes are only a
// courtesy), -1 when the path is unusable or the tool can't be waited for.
int make_hidden(const char* path);

}  // namespace marrowleaf::desktop
