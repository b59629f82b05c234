#pragma once

// The device events an application frame receives, one operation per event. The frame's event
// receiving maps SDK events onto them (see MWAppFrame); an operation returns 1 when it handled the
// event. The order of the operations is part of the framework's interface.
class MWIEventHandler {
 public:
  virtual ~MWIEventHandler() = default;

  virtual int onStorageCardChanged(int /*inserted*/) { return 0; }  // EVT_SD_IN / EVT_SD_OUT
  virtual int onUsbStorageChanged() { return 0; }                         // EVT_USB_IN / EVT_USB_OUT
  virtual int onConfigChanged() { return 0; }                             // EVT_CONFIGCHANGED
  virtual int onRotateOpen() { return 0; }
  virtual int onHomeRequest() { return 0; }  // EVT_HOME
  virtual int onHide() { return 0; }
  virtual int onShow() { return 0; }  // EVT_SHOW
  virtual int onActivate() { return 0; }
  virtual int onStart() { return 0; }  // EVT_INIT
  virtual int onExit() { return 0; }   // EVT_EXIT
  virtual int onHome() { return 0; }
  virtual int onBookMark2() { return 0; }
  virtual int onSuspend() { return 0; }
  virtual int onScreenDown() { return 0; }
  virtual int onTouchClick() { return 0; }
  virtual int onForeground() { return 0; }  // EVT_FOREGROUND
  virtual int onBackground() { return 0; }  // EVT_BACKGROUND
  virtual int onRestart() { return 0; }     // EVT_RESTART
  virtual int onScanProgress(int /*percent*/) { return 0; }
  virtual int onUserEvent(int /*first*/, int /*second*/) { return 0; }  // EVT_USERDEFINED
  virtual int onFrameActivated() { return 0; }
  virtual int onFrameDeactivated() { return 0; }
  virtual int onLibraryChanged() { return 0; }   // EVT_LIBRARY_CHANGED
  virtual int onFirmwareFound() { return 0; }    // EVT_FIRMWARE_FOUND
};
