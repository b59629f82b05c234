#pragma once

#include "platform/utils/SmartBitmap.h"
#include "views/FocusReturn.h"
#include "views/FrameScreen.h"

class MWBitmapButton;
class MWDialog;

namespace marrowleaf::desktop {

// The prompt that asks the reader to connect to Wi-Fi: over the screen as it was, dimmed, a white
// box ("wifi_dialog") with the question and the connect button ("button1", command 7); its
// "exit_button" closes it (command 5). The box is made as tall as its content, down to the connect
// button and the layout attribute "bottom_margin" below it, and centred on the screen. While shown
// it takes every pen event (a modal window), and the connect button has the key focus.
class WiFiDialog : public FrameScreen {
 public:
  WiFiDialog();

  // Screen
  void Show() override;
  void Hide() override;

  MWDialog* GetBox() const { return dialog_; }
  MWBitmapButton* GetConnectButton() const { return connect_button_; }

  int OnCreate() override;
  int LoadAttributes(const AttributeLoader& loader) override;
  void OnVisibilityChanged(bool visible) override;
  int OnDraw(MWGraphics& graphics) override;

 private:
  void FitBox();

  MWDialog* dialog_ = nullptr;
  MWBitmapButton* connect_button_ = nullptr;
  SmartBitmap background_;
  int bottom_margin_ = -1;
  FocusReturn focus_;
};

}  // namespace marrowleaf::desktop
