#pragma once

#include <map>
#include <mutex>
#include <string>

namespace marrowleaf::platform {

// Chooses the program that opens a book. In order: the handler the user chose for this file ("open
// with"), the reader that "/ebrmain/config/readers.cfg" names for the file's extension (key: the
// extension in lower case without the dot, value: the reader's device path), an application itself
// when the "book" is a program ("*.app"), and the default reader "/ebrmain/bin/reader.app".
// The configuration is read at every choice, so an edit takes effect without a restart. Safe from
// any thread.
class ReaderRegistry {
 public:
  static ReaderRegistry& Get();

  std::string ReaderFor(const std::string& book_path) const;
  // Remembers the user's choice for one file, for the life of the process. A handler is a reader's
  // device path, a reader the file-type table names (FileTypeTable) or a program's file name under
  // "/ebrmain/bin/"; "" forgets the choice. False when refused.
  bool SetHandler(const std::string& book_path, const std::string& handler);

  // The extension of the path's file name in ASCII lower case, "" when it has none.
  static std::string Extension(const std::string& path);

 private:
  ReaderRegistry() = default;
  std::string ChosenHandler(const std::string& book_path) const;
  static std::string ConfiguredReader(const std::string& extension);

  mutable std::mutex mutex_;
  std::map<std::string, std::string> handlers_;
};

}  // namespace marrowleaf::platform
