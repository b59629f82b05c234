#pragma once

#include <string>
#include <vector>

#include "EventLoop.h"
#include "platform/mw/MWAppFrame.h"
#include "platform/mw/MWGraphics.h"
#include "platform/sdk/device.h"
#include "support/TempDeviceRoot.h"

namespace marrowleaf::test {

// A device root with a small screen profile, a clean event loop and nothing pending for the
// screen: what every window test starts from.
class WindowTestRoot {
 public:
  explicit WindowTestRoot(int width = 600, int height = 800, int dpi = 160) {
    root_.Write("/.sim/device.cfg", "screen_width=" + std::to_string(width) + "\nscreen_height=" +
                                        std::to_string(height) + "\ndpi=" + std::to_string(dpi) +
                                        "\npanel_height=40\ntouch=1\n");
    ReloadDeviceProfile();
    marrowleaf::platform::EventLoop::Get().Reset();
    MWGraphics::DiscardUpdates();
  }
  ~WindowTestRoot() {
    marrowleaf::platform::EventLoop::Get().Reset();
    MWGraphics::DiscardUpdates();
  }
  const TempDeviceRoot& Root() const { return root_; }

 private:
  TempDeviceRoot root_;
};

// A frame that keeps every command that reaches it.
class RecordingFrame : public MWAppFrame {
 public:
  RecordingFrame() : MWAppFrame(0, nullptr) {}
  int OnCommand(MWCommand& command) override {
    commands.push_back(command);
    return 1;
  }
  std::vector<MWCommand> commands;
};

// A window that records what reaches it and answers events with a fixed result.
class RecordingWindow : public MWWindow {
 public:
  explicit RecordingWindow(int handled = 0) : handled_(handled) {}
  int MainHandler(int type, int par1, int par2) override {
    events.push_back({type, par1, par2});
    if (handled_ != 0)
      return handled_;
    return MWWindow::MainHandler(type, par1, par2);
  }
  int OnFocusSet(MWWindow* from, int key) override {
    focus_from.push_back(from);
    focus_keys.push_back(key);
    return MWWindow::OnFocusSet(from, key);
  }
  int OnDraw(MWGraphics& graphics) override {
    ++draws;
    if (fill >= 0)
      graphics.FillRect(MWRect{0, 0, Width(), Height()}, fill);
    return 0;
  }
  struct Event {
    int type;
    int par1;
    int par2;
  };
  std::vector<Event> events;
  std::vector<MWWindow*> focus_from;
  std::vector<int> focus_keys;
  int draws = 0;
  int fill = -1;

 private:
  int handled_;
};

}  // namespace marrowleaf::test
