// The self-check counter: how many starts in a row have not reached the home screen.
#pragma once

namespace marrowleaf::desktop {

// Raises the counter in "/tmp/bookshelf.self.check" by one. When ten starts in a row never reached
// the foreground, asks the device services for help, opens the settings application on its "head"
// page unless it runs already, and waits five seconds before the start goes on. Does nothing when
// the counter file can't be opened.
void RunSelfCheck();

// Sets the counter back to 0; the controller calls it the first time the home screen is in front.
void ResetSelfCheckCounter();

}  // namespace marrowleaf::desktop
