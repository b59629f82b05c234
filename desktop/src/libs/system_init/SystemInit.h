// The start-up upkeep that runs before the home screen's first window.
#pragma once

namespace marrowleaf::desktop {

// Runs the start-up sequence for a command line (see StartupSwitches for the switches).
// Returns 0 when the home screen is to run, -1 when a maintenance run (-s, -z) is done and the
// process should end without a window. May end the process itself during the first-run steps.
int system_init(int argc, const char* const* argv);

}  // namespace marrowleaf::desktop
