// Titles as the user reads them.
#pragma once

#include <string>

namespace marrowleaf::utilities {

// The text a title shows: surrounding blanks dropped, and a language key ("@Library") replaced by
// its translation in the current language. Any other text is kept as it is.
std::string HumanText(const std::string& text);

}  // namespace marrowleaf::utilities
