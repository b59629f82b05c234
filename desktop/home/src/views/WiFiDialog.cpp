#include "views/WiFiDialog.h"

#include <algorithm>

#include "platform/mw/MWBitmapButton.h"
#include "platform/mw/MWColor.h"
#include "platform/mw/MWDialog.h"
#include "platform/mw/MWGraphics.h"
#include "views/CommandIds.h"
#include "views/ScreenSnapshot.h"

namespace marrowleaf::desktop {
namespace {

constexpr int kDimPercent = 50;

}  // namespace

WiFiDialog::WiFiDialog() : FrameScreen("WiFiDialog", "WiFiDialog") {
  // The prompt paints the whole frame (the screen behind it, dimmed).
  SetBackgroundColor(MW_COLOR_WHITE);
}

int WiFiDialog::LoadAttributes(const AttributeLoader& loader) {
  FrameScreen::LoadAttributes(loader);
  bottom_margin_ = loader.GetInt("bottom_margin", GetDefaultFrameCertifiedThickness(-3));
  return 0;
}

int WiFiDialog::OnCreate() {
  FrameScreen::OnCreate();
  ChangeWindowStyle(MWS_MODAL, 0);
  // The whole screen never shows a focus frame: the keys act on the connect button.
  DisableFixedFocusedBorderRenderer();
  connect_button_ = GetNonDirectChildByName<MWBitmapButton>("button1");
  if (connect_button_ != nullptr)
    connect_button_->SetCommandID(CMD_WIFI_CONNECT);
  return 1;
}

void WiFiDialog::Show() {
  if (background_.IsEmpty())
    background_ = ScreenSnapshot::Take();
  FrameScreen::Show();
  MWWindow* target = FocusReturn::FocusIsShown() && connect_button_ != nullptr
                         ? static_cast<MWWindow*>(connect_button_)
                         : this;
  focus_.Take(*this, *target);
}

void WiFiDialog::Hide() {
  if (!IsVisible())
    return;
  FrameScreen::Hide();
  focus_.GiveBack();
  background_ = SmartBitmap();
}

void WiFiDialog::OnVisibilityChanged(bool visible) {
  if (!visible || dialog_ != nullptr)
    return;
  dialog_ = GetNonDirectChildByName<MWDialog>("wifi_dialog");
  if (dialog_ != nullptr)
    FitBox();
}

// The box ends the layout's margin below the connect button and is centred on the screen.
void WiFiDialog::FitBox() {
  const MWRect box = dialog_->GetRect();
  int content = box.h;
  if (connect_button_ != nullptr)
    content = connect_button_->ScreenRect().Bottom() - dialog_->ScreenRect().y + bottom_margin_;
  const int height = std::min(std::max(0, content), Height());
  dialog_->SetWindowPos(box.x, (Height() - height) / 2, box.w, height);
}

int WiFiDialog::OnDraw(MWGraphics& graphics) {
  if (dialog_ == nullptr)
    return 0;
  const MWRect origin = ScreenRect();
  if (!background_.IsEmpty())
    graphics.DrawBitmap(-origin.x, -origin.y, background_);
  graphics.Transparent(0, 0, Width(), Height(), kDimPercent);
  const MWRect box = dialog_->GetRect();
  graphics.FillRect(box, MW_COLOR_WHITE);
  graphics.DrawFrame(box, -3, MW_COLOR_BLACK);
  return 0;
}

}  // namespace marrowleaf::desktop
