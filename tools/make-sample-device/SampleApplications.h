#pragma once

#include <string>

namespace marrowleaf::tools {

// Writes the applications catalogue of the sample device into the device folder host_root: the
// firmware's application database, its shipped view file and default shortcut lists, the user's
// view file, a user bundle in "/mnt/ext1/applications", and a copy of the stand-in program at every
// application path the catalogue names, so that every application is found and can be started.
// The resources come from the source tree's desktop/res/config/desktop; the stand-in program
// "marrowleaf-standin" from this program's folder or the build's program folder.
bool WriteSampleApplications(const std::string& host_root, std::string* error);

}  // namespace marrowleaf::tools
