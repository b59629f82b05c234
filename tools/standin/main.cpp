// Stand-in for the device's other applications (settings, readers, browser, ...). The sample device
// installs a copy of this program under each of their paths; when the home screen starts one of
// them, it appends
//   {"event":"standin","path":<the program's device path>,"args":[<its arguments>]}
// to the journal of the device root (MARROWLEAF_ROOT) and exits with status 0.
//
// Shell-script stand-ins cannot rename themselves, so they call this program as
//   marrowleaf-standin --as <their own path> <their arguments>...
// which records the script's path instead of this program's.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "Journal.h"
#include "platform/sdk/files.h"

namespace {

const char kProgramName[] = "marrowleaf-standin";

// Paths are compared with the device root, which is absolute; a relative root or program path
// (a start from a shell in some folder) is made absolute first.
void MakeRootAbsolute() {
  const char* root = std::getenv("MARROWLEAF_ROOT");
  if (root == nullptr || root[0] == '\0' || root[0] == '/')
    return;
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(root, error);
  if (error)
    return;
  setenv("MARROWLEAF_ROOT", absolute.lexically_normal().c_str(), 1);
  ReloadDeviceRoot();
}

// The device path of the program when it lies under the device root, else the path as given (the
// task starter may already pass the device path as the program name).
std::string DeviceProgramPath(const std::string& program) {
  if (program.empty())
    return program;
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(program, error);
  if (error)
    return program;
  std::string device_path = DevicePath(absolute.lexically_normal().string());
  return device_path.empty() ? program : device_path;
}

bool CalledByName(const std::string& program) {
  return std::filesystem::path(program).filename() == kProgramName;
}

}  // namespace

int main(int argc, char** argv) {
  MakeRootAbsolute();
  std::string program = argc > 0 ? argv[0] : "";
  std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  if (CalledByName(program) && arguments.size() >= 2 && arguments[0] == "--as") {
    program = arguments[1];
    arguments.erase(arguments.begin(), arguments.begin() + 2);
  }
  Json::Value fields(Json::objectValue);
  fields["path"] = DeviceProgramPath(program);
  fields["args"] = marrowleaf::platform::ToJsonArray(arguments);
  marrowleaf::platform::Journal::Append("standin", fields);
  return 0;
}
