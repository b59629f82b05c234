#pragma once

#include <string>
#include <utility>
#include <vector>

namespace marrowleaf::platform {

// The device's table of file types and the readers that open them, "/ebrmain/config/extensions.cfg"
// (syntax in platform/sdk/filetypes.h). It is read at each use, so an edit takes effect at once.
class FileTypeTable {
 public:
  static constexpr const char* kPath = "/ebrmain/config/extensions.cfg";

  // (extension, reader names) in the file's order; extensions in lower case.
  static std::vector<std::pair<std::string, std::string>> Types();
  // The program of a reader the table names ("handler.<name>"); "" when it names none.
  static std::string ProgramOf(const std::string& reader);
};

}  // namespace marrowleaf::platform
