#include "platform/mw/MWDisplay.h"

#include "Display.h"
#include "ScreenshotFile.h"

using marrowleaf::platform::Display;

void InstallDisplay() {
  Display::Get().Install();
}

bool DisplayIsInteractive() {
  return Display::Get().Interactive();
}

bool SaveDisplayScreenshot(const std::string& host_file) {
  return Display::Get().SaveScreenshot(host_file);
}

bool SaveSimulatorFile(const std::string& host_file, const std::string& content) {
  return marrowleaf::platform::ScreenshotFile::WritePcFile(host_file, content);
}

void CloseDisplay() {
  Display::Get().Close();
}
