#include "platform/mw/MWAppFrame.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "EventLoop.h"
#include "Journal.h"
#include "ScriptPlayer.h"
#include "platform/sdk/events.h"
#include "platform/sdk/files.h"
#include "platform/sdk/log.h"

MWAppFrame* MWAppFrame::m_curFrame = nullptr;

MWAppFrame::MWAppFrame(int argc, char** argv) : argc_(argc), argv_(argv) {}

MWAppFrame::~MWAppFrame() {
  if (m_curFrame == this) m_curFrame = nullptr;
}

int MWAppFrame::Create(int x, int y, int width, int height, int style) {
  x_ = x;
  y_ = y;
  width_ = width;
  height_ = height;
  style_ = style;
  created_ = true;
  changed_ = true;
  return OnCreate();
}

void MWAppFrame::ChangeWindowStyle(int add, int remove) { style_ = (style_ | add) & ~remove; }

int MWAppFrame::MainHandler(int, int, int) { return 0; }
int MWAppFrame::OnCommand(MWCommand&) { return 0; }
int MWAppFrame::OnCreate() { return 0; }
void MWAppFrame::ReDraw() { changed_ = false; }

int MWAppFrame::DispatchEvent(int type, int par1, int par2) {
  switch (type) {
    case EVT_SD_IN: return onStorageCardChanged(1);
    case EVT_SD_OUT: return onStorageCardChanged(0);
    case EVT_USB_IN:
    case EVT_USB_OUT: return onUsbStorageChanged();
    case EVT_CONFIGCHANGED: return onConfigChanged();
    case EVT_HOME: return onHomeRequest();
    case EVT_SHOW: return onShow();
    case EVT_INIT: return onStart();
    case EVT_EXIT: return onExit();
    case EVT_FOREGROUND: return onForeground();
    case EVT_BACKGROUND: return onBackground();
    case EVT_RESTART: return onRestart();
    case EVT_USERDEFINED: return onUserEvent(par1, par2);
    case EVT_LIBRARY_CHANGED: return onLibraryChanged();
    case EVT_FIRMWARE_FOUND: return onFirmwareFound();
    default: return 0;
  }
}

int MWAppFrame::ReceiveEvent(int type, int par1, int par2) {
  MWAppFrame* frame = m_curFrame;
  if (frame == nullptr) return 0;
  if (frame->MainHandler(type, par1, par2) != 0) return 1;
  return frame->DispatchEvent(type, par1, par2);
}

namespace {

// Headless runs (no display back-end in this build) follow the script, or settle, take a
// screenshot and close when there is none.
std::unique_ptr<marrowleaf::platform::ScriptPlayer> MakeScript(std::string* error) {
  using marrowleaf::platform::ScriptPlayer;
  const char* script = std::getenv("MARROWLEAF_SCRIPT");
  if (script && *script) return ScriptPlayer::FromFile(script, error);
  const char* display = std::getenv("MARROWLEAF_DISPLAY");
  if (display && *display && std::string(display) != "headless") {
    MW_LOG(MW_LOG_WARNING, "display back-end '%s' is not part of this build; running headless",
           display);
  }
  return ScriptPlayer::DefaultHeadless(HostPath("/.sim/screen.png"));
}

}  // namespace

int MWAppFrame::Run() {
  using marrowleaf::platform::EventLoop;
  std::string error;
  auto script = MakeScript(&error);
  if (!script) {
    // A broken script is the simulator user's mistake, not the device's: stop before anything runs.
    std::fprintf(stderr, "%s\n", error.c_str());
    std::exit(2);
  }
  m_curFrame = this;
  EventLoop& loop = EventLoop::Get();
  loop.SetHandler(&MWAppFrame::ReceiveEvent);
  loop.Post(nullptr, EVT_INIT, 0, 0);
  loop.Run(script.get());
  marrowleaf::platform::Journal::Append("loop-ended");
  return 0;
}
