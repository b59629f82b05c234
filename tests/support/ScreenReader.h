#pragma once

#include <string>
#include <vector>

#include <json/value.h>

namespace marrowleaf::test {

// Reads what the screen showed, as the simulator's "windows FILE" wrote it: every shown window
// with its class, name, path of names, screen rectangle, text and focus, then the system's message
// or dialog ("message", "dialog", its buttons "dialog/button1", ...), and last the panel.
class ScreenReader {
 public:
  struct Window {
    std::string class_name;
    std::string name;
    std::string path;
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    std::string text;
    // A message's or dialog's title.
    std::string title;
    bool focused = false;
    bool picture = false;
    int CentreX() const { return x + w / 2; }
    int CentreY() const { return y + h / 2; }
  };

  // Reads the file; an unreadable file gives an empty screen.
  explicit ScreenReader(const std::string& host_file);

  bool Empty() const { return windows_.empty(); }
  const std::vector<Window>& Windows() const { return windows_; }
  // The first shown window whose path ends with `suffix` ("DeviceBlockPage2/bookitem_1"); a
  // window with no fields when there is none.
  Window Find(const std::string& suffix) const;
  bool Shows(const std::string& suffix) const;
  std::string Text(const std::string& suffix) const { return Find(suffix).text; }
  // The path of the window with the key focus, "panel" when the panel has it, "" for none.
  std::string FocusedPath() const;
  // The shown page of book tiles: 1 for "DeviceBlockPage1", ...; 0 when none shows.
  int CurrentPage() const;

 private:
  std::vector<Window> windows_;
};

}  // namespace marrowleaf::test
