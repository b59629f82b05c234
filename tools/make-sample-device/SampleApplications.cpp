#include "SampleApplications.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

#include "DeviceFiles.h"
#include "Standins.h"
#include "platform/sdk/device.h"
#include "platform/sdk/files.h"
#include "platform/utils/SmartBitmap.h"

namespace marrowleaf::tools {

namespace {

constexpr unsigned kDataMode = 0644;
constexpr unsigned kProgramMode = 0755;
// The catalogue's files are a few kilobytes; the stand-in may be a sanitizer build.
constexpr size_t kMaxResourceBytes = 4 * 1024 * 1024;
constexpr size_t kMaxProgramBytes = 256 * 1024 * 1024;
const char kResourceFolder[] = "/desktop/res/config/desktop";
const char kStandinName[] = "marrowleaf-standin";
// A bundle the user copied to the storage: shown in the "@Users" group of the applications screen.
const char kUserBundle[] = "/mnt/ext1/applications/Sudoku.app";

struct Resource {
  const char* source;  // relative to the resource folder
  const char* target;  // device path
};

const Resource kResources[] = {
    {"apps_db.json", "/ebrmain/config/desktop/apps_db.json"},
    {"view.json", "/ebrmain/config/desktop/view.json"},
    {"user/view.json", "/mnt/ext1/system/config/desktop/view.json"},
};
const char kDefaultListsSource[] = "apps";
const char kDefaultListsTarget[] = "/ebrmain/config/desktop/apps/";
// Pictures the catalogue names by file (a path object, under /mnt/ext1) instead of by theme name:
// drawn from the theme's picture of the same application at the device's resolution.
struct IconFile {
  const char* theme_name;
  const char* device_path;
};
const IconFile kIconFiles[] = {
    {"desktop_app_solitaire", "/mnt/ext1/system/themes/icons/solitaire.png"},
    {"desktop_app_solitaire_f", "/mnt/ext1/system/themes/icons/solitaire_f.png"},
};
// The files that name application paths.
const char* const kCatalogueFiles[] = {"apps_db.json", "view.json", "user/view.json"};

std::string ProgramFolder() {
  std::error_code failure;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", failure);
  return failure ? "" : self.parent_path().string();
}

// The stand-in program beside this program, else in the build's program folder.
std::string FindStandin() {
  std::vector<std::string> folders = {ProgramFolder()};
#ifdef MARROWLEAF_BIN_DIR
  folders.push_back(MARROWLEAF_BIN_DIR);
#endif
  for (const std::string& folder : folders) {
    const std::string candidate = folder + "/" + kStandinName;
    if (!folder.empty() && access(candidate.c_str(), X_OK) == 0)
      return candidate;
  }
  return "";
}

bool ReadHostFile(const std::string& path, std::string* content, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in.is_open()) {
    *error = "can't read " + path;
    return false;
  }
  content->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad() || content->size() > kMaxResourceBytes) {
    *error = "can't read " + path + " (unreadable or larger than " +
             std::to_string(kMaxResourceBytes) + " bytes)";
    return false;
  }
  return true;
}

// The strings of a JSON text that are application paths: absolute paths of ".app" programs. The
// catalogue's other strings (titles, icon names, relative icon paths, parameters) never are.
void CollectApplicationPaths(const std::string& text, std::set<std::string>* paths) {
  const std::string suffix = ".app";
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '"')
      continue;
    std::string value;
    for (++i; i < text.size() && text[i] != '"'; ++i) {
      if (text[i] == '\\' && i + 1 < text.size())
        ++i;
      value += text[i];
    }
    if (value.size() > suffix.size() && value[0] == '/' &&
        value.compare(value.size() - suffix.size(), suffix.size(), suffix) == 0) {
      paths->insert(value);
    }
  }
}

bool CopyResources(const std::string& resources, std::string* error) {
  for (const Resource& resource : kResources) {
    pk_buildpath(resource.target);
    if (!DeviceFiles::CopyFromHost(resources + "/" + resource.source, resource.target, kDataMode,
                                   kMaxResourceBytes, error)) {
      return false;
    }
  }
  std::error_code failure;
  std::filesystem::directory_iterator lists(resources + "/" + kDefaultListsSource, failure);
  if (failure) {
    *error = "no default shortcut lists in " + resources;
    return false;
  }
  for (const auto& entry : lists) {
    if (!entry.is_regular_file(failure))
      continue;
    const std::string target = kDefaultListsTarget + entry.path().filename().string();
    pk_buildpath(target.c_str());
    if (!DeviceFiles::CopyFromHost(entry.path().string(), target, kDataMode, kMaxResourceBytes,
                                   error)) {
      return false;
    }
  }
  return true;
}

bool InstallStandins(const std::string& resources, std::string* error) {
  const std::string standin = FindStandin();
  if (standin.empty()) {
    *error = std::string("can't find ") + kStandinName;
    return false;
  }
  std::set<std::string> paths = {kUserBundle};
  for (const char* file : kCatalogueFiles) {
    std::string text;
    if (!ReadHostFile(resources + "/" + file, &text, error))
      return false;
    CollectApplicationPaths(text, &paths);
  }
  // One copy of the stand-in on the device, shared by every application path.
  if (!DeviceFiles::CopyFromHost(standin, Standins::kDevicePath, kProgramMode, kMaxProgramBytes,
                                 error))
    return false;
  for (const std::string& path : paths) {
    if (!DeviceFiles::Share(Standins::kDevicePath, path, kProgramMode, kMaxProgramBytes, error))
      return false;
  }
  return true;
}

// A device without the theme (a test's catalogue alone) gets no icon files: the home screen then
// shows those applications by their titles.
bool WriteIconFiles(std::string* error) {
#ifdef MARROWLEAF_SAMPLE_COVERS
  if (pk_access("/ebrmain/themes/Contrast/images", 0) != 0)
    return true;
  ReloadDeviceProfile();  // the screen resolution of this device
  for (const IconFile& icon : kIconFiles) {
    const std::string png = SmartBitmap::LoadFromTheme(icon.theme_name).EncodePNG();
    pk_buildpath(icon.device_path);
    if (png.empty() || !DeviceFiles::Write(icon.device_path, png, kDataMode, error)) {
      if (error->empty())
        *error = std::string("can't draw ") + icon.device_path;
      return false;
    }
  }
#else
  (void)error;
#endif
  return true;
}

// The device paths of the file layer map under MARROWLEAF_ROOT; it names host_root while the files
// are written and is put back afterwards.
class DeviceRootSwitch {
 public:
  explicit DeviceRootSwitch(const std::string& host_root) {
    const char* previous = std::getenv("MARROWLEAF_ROOT");
    had_previous_ = previous != nullptr;
    if (had_previous_)
      previous_ = previous;
    setenv("MARROWLEAF_ROOT", host_root.c_str(), 1);
    ReloadDeviceRoot();
  }
  ~DeviceRootSwitch() {
    if (had_previous_) {
      setenv("MARROWLEAF_ROOT", previous_.c_str(), 1);
    } else {
      unsetenv("MARROWLEAF_ROOT");
    }
    ReloadDeviceRoot();
  }
  DeviceRootSwitch(const DeviceRootSwitch&) = delete;
  DeviceRootSwitch& operator=(const DeviceRootSwitch&) = delete;

 private:
  bool had_previous_ = false;
  std::string previous_;
};

}  // namespace

bool WriteSampleApplications(const std::string& host_root, std::string* error) {
  if (host_root.empty() || host_root == "/") {
    *error = "the sample applications need a device folder other than /";
    return false;
  }
  const DeviceRootSwitch root(host_root);
  const std::string resources = std::string(MARROWLEAF_SOURCE_DIR) + kResourceFolder;
  return CopyResources(resources, error) && InstallStandins(resources, error) &&
         WriteIconFiles(error);
}

}  // namespace marrowleaf::tools
