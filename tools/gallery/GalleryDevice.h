#pragma once

#include <string>

namespace marrowleaf::tools {

// The device folder of one profile of the gallery: a sample device (made by make-sample-device,
// without books) with the source tree's theme and the gallery's own layout file installed, and a
// script that shows the gallery, takes its screenshots and closes.
class GalleryDevice {
 public:
  GalleryDevice(std::string profile, std::string out_folder);

  // Makes the folder and points the simulator at it: the device root, and either a script with a
  // headless screen (unless MARROWLEAF_DISPLAY says otherwise) or, for `window`, a window to use
  // with the mouse and keyboard until it is closed.
  bool Prepare(bool window, std::string* error);
  const std::string& Root() const { return root_; }

 private:
  bool MakeSampleDevice(std::string* error) const;
  bool InstallTheme(std::string* error) const;
  bool InstallLayout(std::string* error) const;
  bool WriteScript(std::string* error) const;

  std::string profile_;
  std::string out_;
  std::string root_;
};

}  // namespace marrowleaf::tools
