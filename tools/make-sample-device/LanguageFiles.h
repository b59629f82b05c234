#pragma once

#include <string>

namespace marrowleaf::tools {

// Copies the language files of the source tree (desktop/res/lang/*.txt) to /ebrmain/language.
class LanguageFiles {
 public:
  // Copies every *.txt of the folder; a missing folder copies nothing. Sets copied to the count.
  static bool Copy(const std::string& source_folder, int* copied, std::string* error);
};

}  // namespace marrowleaf::tools
