// The folders of the user's storage that the device's programs expect.
#pragma once

namespace marrowleaf::desktop {

// Creates the default folders of the internal storage (mode 0777; existing ones are no error),
// hides "/mnt/ext1/system", creates the marker file "/mnt/ext1/system/.marrowleaf", and replaces a
// damaged reader style file ("/mnt/ext1/system/config/styles.xml" without its closing
// "</DefaultStyles>" tag in the first 65535 bytes) by the firmware's default copy.
void CreateDefaultDirectories();

}  // namespace marrowleaf::desktop
