// gallery --out DIR [--profile NAME]...
// gallery --out DIR --window NAME
//
// Draws the gallery screen on each device profile (default: all four sample profiles) and writes
// DIR/<profile>.png and DIR/<profile>-focus.png. With --window it shows one profile's gallery in a
// window instead, to try the controls with the mouse and keyboard. Each profile runs in a process
// of its own, as the program does on a device, so nothing of one profile's screen carries over into
// the next.
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "GalleryDevice.h"
#include "GalleryFrame.h"
#include "platform/sdk/screen.h"

extern char** environ;

namespace {

const char* const kProfiles[] = {"6in-758", "6in-1072", "7.8in-color", "6in-keys"};

int Usage() {
  std::fprintf(stderr, "usage: gallery --out DIR [--profile NAME]... | --out DIR --window NAME\n");
  return 2;
}

int RunOneProfile(int argc, char** argv, const std::string& profile, const std::string& out,
                  bool window) {
  marrowleaf::tools::GalleryDevice device(profile, out);
  std::string error;
  if (!device.Prepare(window, &error)) {
    std::fprintf(stderr, "gallery: %s\n", error.c_str());
    return 1;
  }
  marrowleaf::tools::GalleryFrame frame(argc, argv);
  if (frame.Create(0, 0, ScreenWidth(), ScreenHeight() - PanelHeight(), 1) != 0) {
    std::fprintf(stderr, "gallery: the layout \"Gallery\" did not load\n");
    return 1;
  }
  return frame.Run();
}

// Runs this program again for one profile and waits for it.
bool SpawnProfile(const std::string& profile, const std::string& out) {
  std::string self = "/proc/self/exe";
  std::vector<std::string> arguments = {"gallery", "--one", profile, "--out", out};
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  if (posix_spawn(&child, self.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
    return false;
  int status = 0;
  return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string out;
  std::string one;
  std::string window;
  std::vector<std::string> profiles;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (i + 1 >= argc)
      return Usage();
    if (argument == "--out") {
      out = argv[++i];
    } else if (argument == "--profile") {
      profiles.push_back(argv[++i]);
    } else if (argument == "--one") {
      one = argv[++i];
    } else if (argument == "--window") {
      window = argv[++i];
    } else {
      return Usage();
    }
  }
  if (out.empty())
    return Usage();
  if (!window.empty())
    return RunOneProfile(argc, argv, window, out, true);
  if (!one.empty())
    return RunOneProfile(argc, argv, one, out, false);
  if (profiles.empty())
    profiles.assign(std::begin(kProfiles), std::end(kProfiles));
  int failed = 0;
  for (const std::string& profile : profiles) {
    const bool drawn = SpawnProfile(profile, out);
    std::printf("%s: %s\n", profile.c_str(), drawn ? "ok" : "FAILED");
    failed += drawn ? 0 : 1;
  }
  return failed == 0 ? 0 : 1;
}
