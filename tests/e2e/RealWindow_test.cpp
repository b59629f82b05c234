// The home screen in a real window, used as a person would: the simulator's SDL window on an X
// display (Xvfb), driven with xdotool (a click on the store header's arrow, the page key), and the
// X screen captured as a picture.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>

#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "support/ProgramRunner.h"
#include "support/ScreenReader.h"
#include "support/TempDeviceRoot.h"

namespace marrowleaf::test {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class RealWindowTest : public ::testing::Test {
 protected:
  // An X display of its own, so that parallel tests and a person's display stay apart.
  std::string Display() const { return ":" + std::to_string(100 + getpid() % 400); }
  ProgramResult XTool(const std::string& tool, const std::vector<std::string>& arguments) {
    return RunProgram("/usr/bin/" + tool, arguments, {"DISPLAY=" + Display()}, 30000);
  }

  TempDeviceRoot root_;
};

TEST_F(RealWindowTest, AClickAndAPageKeyInTheWindowChangeWhatItShows) {
  const ProgramResult made = MakeSampleDevice(root_.HostRoot(), "6in-758");
  ASSERT_EQ(made.exit_status, 0) << made.output;
  // Where the store header's next arrow is, from a headless start of the same device.
  root_.Write("/.sim/first.txt", "idle\nwindows " + root_.Host("/.sim/first.json") + "\n");
  ProgramResult headless =
      RunProgram("bookshelf.app", {},
                 {"MARROWLEAF_ROOT=" + root_.HostRoot(), "MARROWLEAF_DISPLAY=headless",
                  "MARROWLEAF_SCRIPT=" + root_.Host("/.sim/first.txt")});
  ASSERT_EQ(headless.exit_status, 0) << headless.output;
  const ScreenReader::Window arrow =
      ScreenReader(root_.Host("/.sim/first.json")).Find("StoreHeaderBlock/next_page");
  ASSERT_GT(arrow.w, 0);

  BackgroundProgram display("/usr/bin/Xvfb",
                            {Display(), "-screen", "0", "900x1150x24", "-nolisten", "tcp"}, {});
  for (int tries = 0; tries < 100 && XTool("xdotool", {"getmouselocation"}).exit_status != 0;
       ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  root_.Write("/.sim/journal.jsonl", "");  // the headless start's updates are not the window's
  // The window stays open while the person acts; the script only ends the run.
  root_.Write("/.sim/window.txt",
              "wait 20000\nwindows " + root_.Host("/.sim/end.json") + "\nquit\n");
  BackgroundProgram home(
      "bookshelf.app", {},
      {"MARROWLEAF_ROOT=" + root_.HostRoot(), "MARROWLEAF_DISPLAY=sdl",
       // The test runs keep SDL off any display; this one wants the window.
       "SDL_VIDEODRIVER=x11", "DISPLAY=" + Display(),
       // SDL's X11 path (D-Bus, GLib, the X driver) keeps memory it never
       // frees; the headless journeys check the program's own memory.
       "ASAN_OPTIONS=detect_leaks=0", "MARROWLEAF_SCRIPT=" + root_.Host("/.sim/window.txt")});
  ProgramResult found =
      XTool("xdotool", {"search", "--sync", "--onlyvisible", "--name", "Marrowleaf"});
  ASSERT_EQ(found.exit_status, 0) << found.output;
  const std::string window = found.output.substr(0, found.output.find('\n'));
  // The window opens before the home screen is on it; a person clicks what they see.
  for (int tries = 0;
       tries < 200 &&
       root_.Read("/.sim/journal.jsonl").find("\"event\":\"update\"") == std::string::npos;
       ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(XTool("xdotool", {"mousemove", "--window", window, std::to_string(arrow.CentreX()),
                              std::to_string(arrow.CentreY()), "click", "1"})
                .exit_status,
            0);
  EXPECT_EQ(XTool("xdotool", {"key", "--window", window, "Next"}).exit_status, 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(800));
  const std::string capture = root_.Host("/.sim/x-screen.png");
  EXPECT_EQ(XTool("import", {"-window", "root", capture}).exit_status, 0);

  const ProgramResult run = home.Wait(60000);
  ASSERT_EQ(run.exit_status, 0) << run.output;
  const ScreenReader end(root_.Host("/.sim/end.json"));
  EXPECT_EQ(end.Text("StoreHeaderBlock/header"), "Book of the day") << "the click";
  EXPECT_EQ(end.CurrentPage(), 2) << "the page key";
  const std::string png = ReadFile(capture);
  ASSERT_GT(png.size(), 10000u) << "the X screen was captured";
  EXPECT_EQ(png.substr(1, 3), "PNG");
}

}  // namespace
}  // namespace marrowleaf::test
