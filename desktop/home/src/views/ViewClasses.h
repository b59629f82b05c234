#pragma once

namespace marrowleaf::desktop {

// Registers every window class the home screen's layouts name with the WindowFactory. Call it once
// before the first layout is loaded; calling it again does no harm.
void RegisterViewClasses();

}  // namespace marrowleaf::desktop
