#include "platform/mw/MWDisplay.h"

#include "Display.h"
#include "ScreenshotFile.h"
#include "platform/sdk/files.h"

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
  const std::string path = marrowleaf::platform::ScreenshotFile::FileLayerPath(host_file);
  if (path.empty())
    return false;
  pk_buildpath(path.c_str());
  return WriteFileAtomically(path, content) == 0;
}

void CloseDisplay() {
  Display::Get().Close();
}
