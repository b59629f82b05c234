#pragma once

#include "platform/mw/MWCommand.h"
#include "platform/mw/MWIEventHandler.h"

// The application frame: the top-level window and the receiver of the device's events. Run installs
// the frame as the application's event handler and runs the event loop until the application closes
// (CloseApp). Every event first goes to MainHandler; when that returns 0 the frame's event receiving
// maps it onto the MWIEventHandler operations.
class MWAppFrame : public MWIEventHandler {
 public:
  MWAppFrame(int argc, char** argv);
  ~MWAppFrame() override;
  MWAppFrame(const MWAppFrame&) = delete;
  MWAppFrame& operator=(const MWAppFrame&) = delete;

  // The frame that receives events now.
  static MWAppFrame* m_curFrame;

  // Creates the frame's window. Returns 0, or the code OnCreate returned.
  int Create(int x, int y, int width, int height, int style);
  void ChangeWindowStyle(int add, int remove);
  // Runs the event loop; returns 0 when the application closes. A script that can't be used ends
  // the process with status 2 before the loop starts.
  int Run();

  // The first look at every event; return nonzero when handled.
  virtual int MainHandler(int type, int par1, int par2);
  // Commands that reach the frame; return nonzero when handled.
  virtual int OnCommand(MWCommand& command);
  virtual int OnCreate();
  virtual void ReDraw();

  // Maps an SDK event onto the MWIEventHandler operations; returns the operation's result.
  int DispatchEvent(int type, int par1, int par2);

  void MarkAsChanged() { changed_ = true; }
  bool IsChanged() const { return changed_; }
  void SetColorFlag(bool color) { color_flag_ = color; }
  bool ColorFlag() const { return color_flag_; }
  int X() const { return x_; }
  int Y() const { return y_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Style() const { return style_; }
  bool IsCreated() const { return created_; }
  int ArgumentCount() const { return argc_; }
  char** Arguments() const { return argv_; }

 private:
  static int ReceiveEvent(int type, int par1, int par2);

  int argc_;
  char** argv_;
  int x_ = 0;
  int y_ = 0;
  int width_ = 0;
  int height_ = 0;
  int style_ = 0;
  bool created_ = false;
  bool changed_ = false;
  bool color_flag_ = false;
};
