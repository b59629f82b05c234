#include "support/SampleDeviceCache.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <ctime>
#include <filesystem>

namespace marrowleaf::test {

namespace fs = std::filesystem;

namespace {

constexpr time_t kWindowSeconds = 600;
// Devices of earlier windows are removed once no test of this run can still be copying them.
constexpr auto kKeptFor = std::chrono::hours(1);

const std::string& Folder() {
  static const std::string folder = std::string(MARROWLEAF_BIN_DIR) + "/../sample-devices";
  return folder;
}

// The build time of a program, so that a rebuilt generator or stand-in makes new devices.
long long BuildTime(const char* program) {
  struct stat info {};
  if (stat((std::string(MARROWLEAF_BIN_DIR) + "/" + program).c_str(), &info) != 0)
    return 0;
  return static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
}

// The newest change among the resources a device is made from (layouts, themes, language files,
// the catalogue): a device made before an edit of one of them must not be copied after it.
long long ResourcesTime() {
  long long newest = 0;
  std::error_code failure;
  for (fs::recursive_directory_iterator it(std::string(MARROWLEAF_SOURCE_DIR) + "/desktop/res",
                                           failure),
       end;
       !failure && it != end; it.increment(failure)) {
    struct stat info {};
    if (stat(it->path().c_str(), &info) == 0) {
      newest = std::max(newest, static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL +
                                    info.st_mtim.tv_nsec);
    }
  }
  return newest;
}

bool IsProgram(const fs::directory_entry& entry) {
  return (entry.status().permissions() & fs::perms::owner_exec) != fs::perms::none;
}

bool CopyOne(const fs::directory_entry& entry, const fs::path& target, std::error_code* failure) {
  if (entry.is_symlink()) {
    fs::remove(target, *failure);
    fs::create_symlink(fs::read_symlink(entry.path(), *failure), target, *failure);
  } else if (entry.is_directory()) {
    fs::create_directories(target, *failure);
  } else if (IsProgram(entry)) {
    fs::remove(target, *failure);
    if (link(entry.path().c_str(), target.c_str()) != 0)
      fs::copy_file(entry.path(), target, fs::copy_options::overwrite_existing, *failure);
  } else {
    fs::copy_file(entry.path(), target, fs::copy_options::overwrite_existing, *failure);
    if (!*failure)
      fs::last_write_time(target, entry.last_write_time(), *failure);
  }
  return !*failure;
}

}  // namespace

ProgramResult SampleDeviceCache::Make(const std::string& host_root,
                                      const std::vector<std::string>& options) {
  ProgramResult result;
  const std::string device = CachedDevice(options, &result);
  if (device.empty())
    return result;
  std::string error;
  if (!Copy(device, host_root, &error)) {
    result.exit_status = 1;
    result.output += error + "\n";
    return result;
  }
  result.exit_status = 0;
  return result;
}

std::string SampleDeviceCache::CachedDevice(const std::vector<std::string>& options,
                                            ProgramResult* made) {
  const std::string device = Folder() + "/" + Key(options);
  if (access(device.c_str(), F_OK) == 0) {
    made->output = "copied from " + device + "\n";
    return device;
  }
  std::error_code ignored;
  fs::create_directories(Folder(), ignored);
  RemoveOldDevices(Folder());
  const std::string temporary = device + ".making-" + std::to_string(getpid());
  std::vector<std::string> arguments = {"--root", temporary, "--force"};
  arguments.insert(arguments.end(), options.begin(), options.end());
  *made = RunProgram("make-sample-device", arguments, {});
  if (made->exit_status != 0) {
    fs::remove_all(temporary, ignored);
    return "";
  }
  // A test beside this one may have put the same device in place first: then its copy is used.
  if (rename(temporary.c_str(), device.c_str()) != 0)
    fs::remove_all(temporary, ignored);
  return device;
}

std::string SampleDeviceCache::Key(const std::vector<std::string>& options) {
  std::string key = "device_";
  for (const std::string& option : options) {
    for (char c : option) key += std::isalnum(static_cast<unsigned char>(c)) ? c : '-';
    key += '_';
  }
  const long long builds = BuildTime("make-sample-device") ^ (BuildTime("marrowleaf-standin") << 1) ^
                           (ResourcesTime() << 2);
  return key + std::to_string(time(nullptr) / kWindowSeconds) + "_" + std::to_string(builds);
}

bool SampleDeviceCache::Copy(const std::string& from, const std::string& to, std::string* error) {
  std::error_code failure;
  fs::create_directories(to, failure);
  for (fs::recursive_directory_iterator it(from, failure), end; !failure && it != end;
       it.increment(failure)) {
    const fs::path target = fs::path(to) / it->path().lexically_relative(from);
    if (!CopyOne(*it, target, &failure)) {
      *error = "can't copy " + it->path().string() + " to " + target.string() + ": " +
               failure.message();
      return false;
    }
  }
  if (failure) {
    *error = "can't read " + from + ": " + failure.message();
    return false;
  }
  return true;
}

void SampleDeviceCache::RemoveOldDevices(const std::string& folder) {
  std::error_code ignored;
  const auto now = fs::file_time_type::clock::now();
  for (fs::directory_iterator it(folder, ignored), end; !ignored && it != end;
       it.increment(ignored)) {
    std::error_code failure;
    const auto written = it->last_write_time(failure);
    if (!failure && now - written > kKeptFor)
      fs::remove_all(it->path(), failure);
  }
}

}  // namespace marrowleaf::test
