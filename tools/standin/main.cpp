// Stand-in for the device's other applications (settings, readers, browser, ...). The sample device
// installs a copy of this program under each of their paths; when the home screen starts one of
// them, it appends
//   {"event":"standin","path":<the program's device path>,"args":[<its arguments>]}
// to the journal of the device root (MARROWLEAF_ROOT) and exits with status 0. Started as the
// reader of a book, it records the book as opened in the library, as a reader does, so the home
// screen shows it first when it comes back ("opened": true in its journal line).
//
// MARROWLEAF_STANDIN_MS (milliseconds, at most a minute) keeps it running that long before it
// exits, so that a person, or a screenshot, can see the task in front of the home screen.
//
// Shell-script stand-ins cannot rename themselves, so they call this program as
//   marrowleaf-standin --as <their own path> <their arguments>...
// which records the script's path instead of this program's.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "Journal.h"
#include "ReadingRecord.h"
#include "platform/sdk/files.h"

namespace {

const char kProgramName[] = "marrowleaf-standin";
constexpr long kMaxStayMs = 60000;

// How long the stand-in stays in front, from MARROWLEAF_STANDIN_MS.
long StayMs() {
  const char* text = std::getenv("MARROWLEAF_STANDIN_MS");
  if (text == nullptr)
    return 0;
  char* end = nullptr;
  const long ms = std::strtol(text, &end, 10);
  return end != text && *end == '\0' ? std::clamp(ms, 0L, kMaxStayMs) : 0;
}

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
  const std::string device_program = DeviceProgramPath(program);
  fields["path"] = device_program;
  fields["args"] = marrowleaf::platform::ToJsonArray(arguments);
  using marrowleaf::tools::ReadingRecord;
  if (!arguments.empty() && ReadingRecord::IsReaderOf(device_program, arguments[0]))
    fields["opened"] = ReadingRecord::MarkOpened(arguments[0]);
  marrowleaf::platform::Journal::Append("standin", fields);
  std::this_thread::sleep_for(std::chrono::milliseconds(StayMs()));
  return 0;
}
