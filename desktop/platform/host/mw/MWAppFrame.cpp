#include "platform/mw/MWAppFrame.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "DialogLayer.h"
#include "EventLoop.h"
#include "FramePainter.h"
#include "Journal.h"
#include "LoopControl.h"
#include "ScreenState.h"
#include "ScriptPlayer.h"
#include "TaskScreenPainter.h"
#include "ThemeImages.h"
#include "WindowList.h"
#include "platform/mw/MWAccessibilityNavigation.h"
#include "platform/mw/MWDisplay.h"
#include "platform/mw/MWFrameBorderRenderer.h"
#include "platform/mw/MWGraphics.h"
#include "platform/sdk/dialogs.h"
#include "platform/sdk/events.h"
#include "platform/sdk/files.h"
#include "platform/sdk/log.h"
#include "platform/sdk/screen.h"

MWAppFrame* MWAppFrame::m_curFrame = nullptr;

MWAppFrame::MWAppFrame(int argc, char** argv) : argc_(argc), argv_(argv) {
  SetClassName("MWAppFrame");
  SetBackgroundColor(MW_COLOR_WHITE);
  SetWindowFont(MWFont());
  m_curFrame = this;
}

MWAppFrame::~MWAppFrame() {
  if (m_curFrame == this)
    m_curFrame = nullptr;
}

namespace {

// A message or dialog of the system closed: the frame draws what it covered again at once.
void RedrawUncovered(const MWRect& area) {
  MWAppFrame* frame = MWAppFrame::m_curFrame;
  if (frame == nullptr)
    return;
  marrowleaf::platform::FramePainter::MarkUncovered(area);
  frame->ReDraw();
}

}  // namespace

int MWAppFrame::Create(int x, int y, int width, int height, int style) {
  marrowleaf::platform::DialogLayer::Get().SetUncoverHook(&RedrawUncovered);
  return MWWindow::Create(nullptr, x, y, width, height, style | MWS_VISIBLE);
}

void MWAppFrame::ForgetWindow(const MWWindow* window) {
  if (focused_ == window)
    focused_ = nullptr;
  if (pointered_ == window)
    pointered_ = nullptr;
  if (pen_window_ == window)
    pen_window_ = nullptr;
}

int MWAppFrame::DispatchEvent(int type, int par1, int par2) {
  switch (type) {
    case EVT_SD_IN:
      return onStorageCardChanged(1);
    case EVT_SD_OUT:
      return onStorageCardChanged(0);
    case EVT_USB_IN:
    case EVT_USB_OUT:
      return onUsbStorageChanged();
    case EVT_CONFIGCHANGED:
      return onConfigChanged();
    case EVT_HOME:
      return onHomeRequest();
    case EVT_SHOW:
      // Something covered the screen: everything is drawn again.
      MarkAsChanged();
      return onShow();
    case EVT_INIT:
      return onStart();
    case EVT_EXIT:
      return onExit();
    case EVT_FOREGROUND:
      return onForeground();
    case EVT_BACKGROUND:
      return onBackground();
    case EVT_RESTART:
      return onRestart();
    case EVT_USERDEFINED:
      return onUserEvent(par1, par2);
    case EVT_LIBRARY_CHANGED:
      return onLibraryChanged();
    case EVT_FIRMWARE_FOUND:
      return onFirmwareFound();
    default:
      return 0;
  }
}

bool MWAppFrame::IsPenEvent(int type) const {
  return type == EVT_POINTERDOWN || type == EVT_POINTERUP || type == EVT_POINTERMOVE ||
         type == EVT_POINTERLONG;
}

bool MWAppFrame::IsKeyEvent(int type) const {
  return type == EVT_KEYPRESS || type == EVT_KEYRELEASE || type == EVT_KEYREPEAT;
}

// While a task of this application holds the screen it draws there; the frame keeps its changes
// for later and, when the screen comes back, draws itself whole over what the task left.
int MWAppFrame::HandleEvent(int type, int par1, int par2) {
  if (type == EVT_FOREGROUND && std::exchange(task_screen_shown_, false))
    RepaintWhole();
  int result = MainHandler(type, par1, par2);
  if (result == 0) {
    if (IsPenEvent(type)) {
      result = RoutePen(type, par1, par2);
    } else if (IsKeyEvent(type)) {
      result = RouteKey(type, par1, par2);
    } else {
      result = DispatchEvent(type, par1, par2);
    }
  }
  if (type == EVT_BACKGROUND && marrowleaf::platform::TaskScreenPainter::PaintTaskInFront())
    task_screen_shown_ = true;
  if (m_curFrame == this)
    ReDraw();
  return result;
}

void MWAppFrame::RepaintWhole() {
  {
    MWGraphics graphics(MWRect{0, 0, ScreenWidth(), ScreenHeight()});
    graphics.FillRect(MWRect{0, 0, ScreenWidth(), ScreenHeight()}, MW_COLOR_WHITE);
  }
  MarkAsChanged();
  MWGraphics::MarkDirty(MWRect{}, MW_UPDATE_FULL);
  CustomDrawPanelForce();
}

int MWAppFrame::ReceiveEvent(int type, int par1, int par2) {
  MWAppFrame* frame = m_curFrame;
  if (frame == nullptr)
    return 0;
  return frame->HandleEvent(type, par1, par2);
}

namespace {

MWWindow* DeepestAt(MWWindow* window, int x, int y) {
  const auto& children = window->Children();
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    MWWindow* child = *it;
    if (child->IsVisible() && child->ScreenRect().Contains(x, y))
      return DeepestAt(child, x, y);
  }
  return window;
}

MWWindow* LastModal(MWWindow* window) {
  const auto& children = window->Children();
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    MWWindow* child = *it;
    if (!child->IsVisible())
      continue;
    if ((child->GetStyle() & MWS_MODAL) != 0)
      return child;
    if (MWWindow* found = LastModal(child))
      return found;
  }
  return nullptr;
}

bool Usable(MWWindow* window) {
  return window != nullptr && MWWindow::IsAlive(window) && window->IsShown();
}

}  // namespace

MWWindow* MWAppFrame::WindowAt(int x, int y) {
  return DeepestAt(this, x, y);
}

MWWindow* MWAppFrame::ModalWindow() {
  return LastModal(this);
}

// An unhandled event climbs to the parent. The frame's own MainHandler already saw the event.
int MWAppFrame::Bubble(MWWindow* target, int type, int par1, int par2) {
  for (MWWindow* window = target; window != nullptr && window != this;) {
    MWWindow* parent = window->GetParent();
    if (window->MainHandler(type, par1, par2) != 0)
      return 1;
    if (!MWWindow::IsAlive(parent))
      return 1;
    window = parent;
  }
  return 0;
}

int MWAppFrame::RoutePen(int type, int x, int y) {
  MWWindow* target = nullptr;
  if (type != EVT_POINTERDOWN && Usable(pen_window_)) {
    target = pen_window_;
  } else {
    // The pointered window, else a modal one, takes the pen first; inside it the deepest window
    // under the pen gets the event.
    MWWindow* first = Usable(pointered_) ? pointered_ : ModalWindow();
    if (first != nullptr) {
      target = first->ScreenRect().Contains(x, y) ? DeepestAt(first, x, y) : first;
    } else {
      target = WindowAt(x, y);
    }
  }
  if (type == EVT_POINTERDOWN)
    pen_window_ = target;
  if (MWWindow* taker = PenInterceptor(target, type, x, y)) {
    // The press is the container's from now on; the window that had it lets go.
    pen_window_ = taker;
    if (MWWindow::IsAlive(target))
      target->MainHandler(EVT_POINTERCANCEL, x, y);
    return 1;
  }
  const int result = Bubble(target, type, x, y);
  if (type == EVT_POINTERUP)
    pen_window_ = nullptr;
  return result;
}

MWWindow* MWAppFrame::PenInterceptor(MWWindow* target, int type, int x, int y) {
  if (target == nullptr)
    return nullptr;
  for (MWWindow* window = target->GetParent(); window != nullptr && window != this;
       window = window->GetParent()) {
    if (window->InterceptPen(type, x, y))
      return window;
  }
  return nullptr;
}

int MWAppFrame::RouteKey(int type, int key, int count) {
  if (!Usable(focused_))
    return 0;
  return Bubble(focused_, type, key, count);
}

namespace {

int OfferAccessibilityCommand(MWWindow* window, int command) {
  switch (command) {
    case MW_ACCESSIBILITY_NEXT:
    case MW_ACCESSIBILITY_PREVIOUS:
      return window->AccessibilityNavigateCommandHandler(command);
    case MW_ACCESSIBILITY_OPEN:
      return window->AccessibilityOpenCommandHandler(command);
    case MW_ACCESSIBILITY_MENU:
      return window->AccessibilityOpenMenuCommandHandler(command);
    case MW_ACCESSIBILITY_SLIDE_BACK:
    case MW_ACCESSIBILITY_SLIDE_FORWARD:
      return window->AccessibilitySliderCommandHandler(command);
    default:
      return 0;
  }
}

}  // namespace

int MWAppFrame::DispatchAccessibilityCommand(int command) {
  MWWindow* start = Usable(focused_) ? focused_ : nullptr;
  if (start == nullptr && !Children().empty())
    start = Children().back();
  for (MWWindow* window = start; window != nullptr;) {
    MWWindow* parent = window->GetParent();
    const int result = OfferAccessibilityCommand(window, command);
    if (result != 0) {
      ReDraw();
      return result;
    }
    if (!IsAlive(parent))
      return 0;
    window = parent;
  }
  return 0;
}

void MWAppFrame::SetFocusedWindow(MWWindow* window, int key) {
  if (window == focused_)
    return;
  MWWindow* previous = focused_;
  focused_ = window;
  if (previous != nullptr && IsAlive(previous)) {
    previous->MarkAsChanged();
    previous->OnFocusLost();
  }
  if (window != nullptr) {
    window->MarkAsChanged();
    for (MWWindow* ancestor = window->GetParent(); ancestor != nullptr;
         ancestor = ancestor->GetParent()) {
      ancestor->OnDescendantFocused(window);
    }
    window->OnFocusSet(previous, key);
  }
}

void MWAppFrame::ReDraw() {
  if (!IsCreated() || marrowleaf::platform::TaskScreenPainter::TaskInFront())
    return;
  marrowleaf::platform::FramePainter::PaintChanged(*this);
  CustomDrawPanel();
  // The simulator draws the panel the device would: again whenever its content changed.
  if (marrowleaf::platform::FramePainter::PanelChanged())
    CustomDrawPanelForce();
  MWGraphics::FlushUpdates();
  CustomScreenUpdate();
}

void MWAppFrame::CustomDrawPanelForce() {
  const int height = PanelHeight();
  if (height <= 0)
    return;
  const MWRect panel{0, ScreenHeight() - height, ScreenWidth(), height};
  marrowleaf::platform::FramePainter::PaintPanel(panel);
  MWGraphics::MarkDirty(panel, MW_UPDATE_CLEAN);
}

MWBorderRenderer* MWAppFrame::GetRendererByType(int type) {
  auto found = renderers_.find(type);
  if (found != renderers_.end())
    return found->second.get();
  std::unique_ptr<MWBorderRenderer> renderer;
  switch (type) {
    case 1:
      renderer = std::make_unique<MWFrameBorderRenderer>(-1, 0, MW_COLOR_BLACK);
      break;
    case 2:
      renderer = std::make_unique<MWFrameBorderRenderer>(-2, 8, MW_COLOR_BLACK);
      break;
    case 3:
      renderer = std::make_unique<MWFrameBorderRenderer>(-3, 0, MW_COLOR_BLACK);
      break;
    case 4:
      renderer = std::make_unique<MWFrameBorderRenderer>(-2, 0, MW_COLOR_BLACK, true);
      break;
    default:
      return nullptr;
  }
  MWBorderRenderer* raw = renderer.get();
  renderers_[type] = std::move(renderer);
  return raw;
}

void MWAppFrame::ShowDialog(int icon, const char* title, const char* text, const char* button1,
                            const char* button2, const char* button3, int command_id) {
  const int answer = DialogSynchro(icon, title, text, button1, button2, button3);
  // The answer arrives as a command on the next loop turn, as if a window had raised it, so the
  // caller's state is settled before it is handled.
  static int dialogs = 0;
  marrowleaf::platform::EventLoop::Get().ArmTimer(
      "mw-dialog-answer-" + std::to_string(++dialogs), nullptr,
      [this, command_id, answer]() {
        if (m_curFrame != this)
          return;
        MWCommand command(command_id, answer);
        command.sender = this;
        OnCommand(command);
        ReDraw();
      },
      0);
}

namespace {

// A run follows its script. Without one, a person at the simulator's window drives it; a headless
// run settles, takes a screenshot and closes. Returns false for a script that can't be used.
bool MakeScript(marrowleaf::platform::ScriptPlayer** player, std::string* error) {
  using marrowleaf::platform::ScriptPlayer;
  static std::unique_ptr<ScriptPlayer> headless;
  *player = ScriptPlayer::FromEnvironment(error);
  if (*player == nullptr && !error->empty())
    return false;
  if (*player == nullptr && !DisplayIsInteractive()) {
    headless = ScriptPlayer::DefaultHeadless(HostPath("/.sim/screen.png"));
    *player = headless.get();
  }
  if (*player) {
    (*player)->SetScreenshotHook(&SaveDisplayScreenshot);
    (*player)->SetWindowsHook([](const std::string& file) {
      MWAppFrame* frame = MWAppFrame::m_curFrame;
      return frame != nullptr &&
             SaveSimulatorFile(file, marrowleaf::platform::WindowList::Describe(*frame));
    });
  }
  return true;
}

}  // namespace

int MWAppFrame::Run() {
  using marrowleaf::platform::EventLoop;
  InstallDisplay();
  std::string error;
  marrowleaf::platform::ScriptPlayer* script = nullptr;
  if (!MakeScript(&script, &error)) {
    // A broken script is the simulator user's mistake, not the device's: stop before anything runs.
    std::fprintf(stderr, "%s\n", error.c_str());
    std::exit(2);
  }
  m_curFrame = this;
  EventLoop& loop = EventLoop::Get();
  loop.SetHandler(&MWAppFrame::ReceiveEvent);
  marrowleaf::platform::PostStartEvents();
  loop.Run(script);
  // The theme images drawn in a short run are kept for the next start as well.
  marrowleaf::platform::ThemeImages::Get().Save();
  marrowleaf::platform::Journal::Append("loop-ended");
  CloseDisplay();
  return 0;
}
