#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace marrowleaf::platform {

// Starts programs of the device. A program is named by its device path; the file under the device
// root is executed with argv[0] = the device path, so a program sees the name it would see on the
// device. Arguments always travel as a vector, never through a shell, so no text from a book name
// or a configuration file can become a command. The environment is inherited, which carries
// MARROWLEAF_ROOT to the child.
class ProcessLauncher {
 public:
  // Limits on what a start may carry; larger requests are refused.
  static constexpr size_t kMaxArguments = 256;
  static constexpr size_t kMaxArgumentBytes = 64 * 1024;

  // True when the device path names a regular, executable file under the device root.
  static bool CanRun(const std::string& device_path);
  // Starts the program as a child process. Returns its pid, or -1.
  static pid_t Spawn(const std::string& device_path, const std::vector<std::string>& arguments);
  // Replaces this process by the program. Returns only on failure.
  static void Replace(const std::string& device_path, const std::vector<std::string>& arguments);

 private:
  static bool ArgumentsAcceptable(const std::vector<std::string>& arguments);
  // Checks a start and fills strings with the program's argv: the device path, then the arguments.
  // False (logged) when the start is refused.
  static bool Prepare(const std::string& device_path, const std::vector<std::string>& arguments,
                      std::vector<std::string>* strings);
  // The argv pointers, ending with nullptr; they point into strings, which must outlive them.
  static std::vector<char*> ArgumentVector(std::vector<std::string>& strings);
};

}  // namespace marrowleaf::platform
