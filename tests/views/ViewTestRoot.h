#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "mw/MWTestSupport.h"
#include "platform/mw/Layout.h"
#include "platform/mw/LayoutManager.h"
#include "platform/sdk/clock.h"
#include "platform/sdk/lang.h"
#include "views/ViewClasses.h"

namespace marrowleaf::test {

// A device root with the home screen's real layouts, English texts and theme, a frame that keeps
// the commands that reach it, and a clock the test moves by hand.
class ViewTestRoot {
 public:
  explicit ViewTestRoot(const std::string& profile_extra = "touch=1\n")
      : root_(600, 800, 160), clock_(std::make_shared<platform::ManualClock>(100000)) {
    if (!profile_extra.empty())
      Root().Write("/.sim/device.cfg", "screen_width=600\nscreen_height=800\ndpi=160\n"
                                       "panel_height=40\n" + profile_extra);
    ReloadDeviceProfile();
    const std::filesystem::path res = std::filesystem::path(MARROWLEAF_SOURCE_DIR) / "desktop/res";
    Copy(res / "layouts/desktop.json", "/ebrmain/layouts/desktop.json");
    Copy(res / "lang/en.txt", "/ebrmain/language/en.txt");
    for (const auto& image : std::filesystem::directory_iterator(res / "themes/Contrast/images"))
      Copy(image.path(), "/ebrmain/themes/Contrast/images/" + image.path().filename().string());
    Copy(res / "themes/Contrast/theme.cfg", "/ebrmain/themes/Contrast/theme.cfg");
    LoadLanguage("en");
    platform::InstallClock(clock_);
    desktop::RegisterViewClasses();
    frame_.Create(0, 0, 600, 760, 1);
  }
  ~ViewTestRoot() { platform::InstallClock(nullptr); }

  const TempDeviceRoot& Root() const { return root_.Root(); }
  RecordingFrame& Frame() { return frame_; }
  const RecordingFrame& Frame() const { return frame_; }
  platform::ManualClock& Clock() { return *clock_; }

  // Loads a layout text (a tree named "Test") into a new full-frame window and returns it.
  MWWindow* Load(const std::string& layout_text) {
    auto* window = frame_.MakeChild<MWWindow>(0, 0, frame_.Width(), frame_.Height(), MWS_VISIBLE);
    LayoutManager(Layout::FromText(layout_text, "test")).LoadLayout("Test", window);
    return window;
  }

 private:
  void Copy(const std::filesystem::path& from, const std::string& device_path) {
    std::ifstream in(from, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    Root().Write(device_path, text.str());
  }

  WindowTestRoot root_;
  std::shared_ptr<platform::ManualClock> clock_;
  RecordingFrame frame_;
};

}  // namespace marrowleaf::test
