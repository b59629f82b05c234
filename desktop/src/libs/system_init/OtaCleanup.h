// The clean-up after an over-the-air update.
#pragma once

#include <string>

namespace marrowleaf::desktop {

// What the OTA flag "/mnt/secure/ota_flag" announces: "image=<path>" ended by a space or a line
// feed (or the end of the text), and after it "md5=<32 hex digits>". Missing parts are empty.
struct OtaFlagContents {
  std::string image;
  std::string md5;
};

OtaFlagContents ParseOtaFlag(const std::string& text);

// When the flag exists: deletes the downloaded image once its firmware is the one the device runs
// and its digest is the announced one, then deletes the flag in every case.
void ClearFinishedOtaUpdate();

}  // namespace marrowleaf::desktop
