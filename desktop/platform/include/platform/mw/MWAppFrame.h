#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/mw/MWCommand.h"
#include "platform/mw/MWIEventHandler.h"
#include "platform/mw/MWWindow.h"

#include "platform/mw/MWBorderRenderer.h"

// The application frame: the top-level window and the receiver of the device's events. Run installs
// the frame as the application's event handler and runs the event loop until the application closes
// (CloseApp).
//
// Every event first goes to MainHandler. When that returns 0:
//  - pen events (down, move, up, long press) go to the pointered window when one is set, else to
//    the window that took the pen-down (until the pen is up), else to the deepest shown window
//    under the pen; a window that doesn't handle one passes it to its parent, up to the frame's
//    children. The containers of that window see each event first and may take the press over
//    (MWWindow::InterceptPen);
//  - key events (press, release, repeat) go the same way from the focused window;
//  - every other event is mapped onto the MWIEventHandler operations (DispatchEvent).
// After each event the frame redraws the windows that changed (ReDraw), then gives the panel hooks
// their turn and sends the marked rectangles to the screen.
class MWAppFrame : public MWWindow, public MWIEventHandler {
 public:
  MWAppFrame(int argc, char** argv);
  ~MWAppFrame() override;

  // The frame that receives events now (the last one constructed or run).
  static MWAppFrame* m_curFrame;

  // Creates the frame's window at screen coordinates. Returns 0, or the code OnCreate returned.
  int Create(int x, int y, int width, int height, int style);
  using MWWindow::Create;
  // Runs the event loop; returns 0 when the application closes. A script that can't be used ends
  // the process with status 2 before the loop starts.
  int Run();

  // Draws every changed window, the panel hooks, then flushes the screen updates. Nothing is drawn
  // while a task this application started holds the screen: the changes wait until it is back.
  virtual void ReDraw();
  // Maps an SDK event onto the MWIEventHandler operations; returns the operation's result.
  int DispatchEvent(int type, int par1, int par2);
  // What the event loop calls: MainHandler, then routing or DispatchEvent, then ReDraw.
  int HandleEvent(int type, int par1, int par2);

  // Asks a modal question (DialogSynchro: the dialog is shown and answered before this returns);
  // the chosen button (1..3, 0 when dismissed) comes back as command `command_id` with param = the
  // button, sent to the frame at the next loop turn.
  void ShowDialog(int icon, const char* title, const char* text, const char* button1,
                  const char* button2, const char* button3, int command_id);

  // Focus: the window that receives key events. Calls the window's OnFocusSet.
  void SetFocusedWindow(MWWindow* window, int key = 0);
  MWWindow* GetFocusedWindow() const { return focused_; }
  // The first receiver of pen events (a menu that closes on a tap outside); nullptr for none.
  void SetPointeredWindow(MWWindow* window) { pointered_ = window; }
  MWWindow* GetPointeredWindow() const { return pointered_; }
  // A screen reader's gesture (MWAccessibilityCommand): offered to the focused window's
  // accessibility handler of that kind, then to its parents, until one returns nonzero. Navigation
  // commands start at the frame's children when nothing has the focus. Returns the handler's
  // result.
  int DispatchAccessibilityCommand(int command);
  // The deepest shown window at a screen point (the frame when no child is there).
  MWWindow* WindowAt(int x, int y);

  // Border renderers by type: 1 thin frame, 2 normal frame with rounded corners, 3 thick frame,
  // 4 dashed frame. nullptr for other types. Owned by the frame.
  MWBorderRenderer* GetRendererByType(int type);

  // --- Panel hooks, called by ReDraw after the windows are drawn ---
  // Draws the panel when the application wants to; true when it drew. The base draws nothing.
  virtual bool CustomDrawPanel() { return false; }
  // Draws the panel now and marks its rectangle for the screen.
  virtual void CustomDrawPanelForce();
  // Called after the updates of a redraw were sent to the screen.
  virtual void CustomScreenUpdate() {}

  void SetColorFlag(bool color) { color_flag_ = color; }
  bool ColorFlag() const { return color_flag_; }
  int X() const { return GetRect().x; }
  int Y() const { return GetRect().y; }
  int Style() const { return GetStyle(); }
  int ArgumentCount() const { return argc_; }
  char** Arguments() const { return argv_; }

  // A window is going away: forget it as focus, pointered or pen window.
  void ForgetWindow(const MWWindow* window);

 private:
  static int ReceiveEvent(int type, int par1, int par2);
  bool IsPenEvent(int type) const;
  bool IsKeyEvent(int type) const;
  int RoutePen(int type, int x, int y);
  // The container of target that takes a pen event over from it (MWWindow::InterceptPen), if any.
  MWWindow* PenInterceptor(MWWindow* target, int type, int x, int y);
  int RouteKey(int type, int key, int count);
  int Bubble(MWWindow* target, int type, int par1, int par2);
  MWWindow* ModalWindow();
  // The screen came back from a task that drew over it: everything is drawn again.
  void RepaintWhole();

  int argc_;
  char** argv_;
  bool color_flag_ = false;
  bool task_screen_shown_ = false;
  MWWindow* focused_ = nullptr;
  MWWindow* pointered_ = nullptr;
  MWWindow* pen_window_ = nullptr;
  std::map<int, std::unique_ptr<MWBorderRenderer>> renderers_;
};
