#include "GalleryDevice.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/sdk/files.h"

extern char** environ;

namespace marrowleaf::tools {
namespace {

namespace fs = std::filesystem;

constexpr size_t kMaxSourceFileBytes = 4 * 1024 * 1024;

// Runs a program with an argument vector and waits for it; true when it exits with status 0.
bool RunProgram(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
    return false;
  int status = 0;
  if (waitpid(child, &status, 0) != child)
    return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Copies a file of the source tree to a device path of the gallery's device.
bool CopyIn(const fs::path& source, const std::string& device_path) {
  std::string content;
  bool truncated = false;
  // The source tree is outside the device root: read it by its relative path from the working
  // folder, which the file layer leaves as it is.
  const fs::path relative = fs::absolute(source).lexically_relative(fs::current_path());
  if (!ReadFileCapped(relative.string(), kMaxSourceFileBytes, &content, &truncated) || truncated) {
    return false;
  }
  pk_buildpath(device_path.c_str());
  return WriteFileAtomically(device_path, content) == 0;
}

}  // namespace

GalleryDevice::GalleryDevice(std::string profile, std::string out_folder)
    : profile_(std::move(profile)), out_(std::move(out_folder)) {
  root_ = (fs::absolute(out_) / (profile_ + "-device")).string();
}

bool GalleryDevice::Prepare(bool window, std::string* error) {
  if (!MakeSampleDevice(error))
    return false;
  setenv("MARROWLEAF_ROOT", root_.c_str(), 1);
  ReloadDeviceRoot();
  if (!InstallTheme(error) || !InstallLayout(error))
    return false;
  if (window) {
    setenv("MARROWLEAF_DISPLAY", "sdl", 1);
    unsetenv("MARROWLEAF_SCRIPT");
    return true;
  }
  // Headless unless the caller asked to watch the run (MARROWLEAF_DISPLAY=sdl).
  setenv("MARROWLEAF_DISPLAY", "headless", 0);
  return WriteScript(error);
}

bool GalleryDevice::MakeSampleDevice(std::string* error) const {
  const std::string program = std::string(MARROWLEAF_BIN_DIR) + "/make-sample-device";
  if (RunProgram({program, "--root", root_, "--profile", profile_, "--books", "0", "--force"})) {
    return true;
  }
  *error = "make-sample-device failed for profile " + profile_;
  return false;
}

bool GalleryDevice::InstallTheme(std::string* error) const {
  const fs::path source = fs::path(MARROWLEAF_SOURCE_DIR) / "desktop/res/themes/Contrast";
  std::error_code failure;
  for (const auto& entry : fs::recursive_directory_iterator(source, failure)) {
    if (!entry.is_regular_file())
      continue;
    const std::string target =
        "/ebrmain/themes/Contrast/" + entry.path().lexically_relative(source).string();
    if (!CopyIn(entry.path(), target)) {
      *error = "can't install " + entry.path().string();
      return false;
    }
  }
  if (failure)
    *error = "can't read the theme: " + failure.message();
  return !failure;
}

bool GalleryDevice::InstallLayout(std::string* error) const {
  const fs::path source = fs::path(MARROWLEAF_SOURCE_DIR) / "tools/gallery/gallery.json";
  if (CopyIn(source, "/ebrmain/layouts/gallery.json"))
    return true;
  *error = "can't install " + source.string();
  return false;
}

bool GalleryDevice::WriteScript(std::string* error) const {
  const std::string shot = (fs::absolute(out_) / profile_).string();
  // The first picture as the gallery opens; the second after the keys moved the focus and a tap
  // selected a grid element, so focused and selected looks are seen too.
  const std::string script = "idle\nscreenshot " + shot + ".png\nkey down\nkey right\nidle\n" +
                             "screenshot " + shot + "-focus.png\nquit\n";
  if (WriteFileAtomically("/.sim/gallery.script", script) != 0) {
    *error = "can't write the script";
    return false;
  }
  setenv("MARROWLEAF_SCRIPT", HostPath("/.sim/gallery.script").c_str(), 1);
  return true;
}

}  // namespace marrowleaf::tools
