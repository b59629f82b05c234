#include "platform/mw/MWDisplay.h"

#include "Display.h"

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

void CloseDisplay() {
  Display::Get().Close();
}
