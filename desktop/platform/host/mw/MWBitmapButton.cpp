#include "platform/mw/MWBitmapButton.h"

#include <algorithm>

#include "platform/mw/MWGraphics.h"
#include "platform/sdk/lang.h"

MWBitmapButton::MWBitmapButton() {
  SetClassName("MWBitmapButton");
  ChangeWindowStyle(MWS_TABSTOP, 0);
}

void MWBitmapButton::SetBitmaps(const SmartBitmap& normal, const SmartBitmap& focused,
                                const SmartBitmap& pressed) {
  normal_ = normal;
  focused_ = focused;
  pressed_ = pressed;
  MarkAsChanged();
}

void MWBitmapButton::SetText(const std::string& text) {
  if (text == text_)
    return;
  text_ = text;
  MarkAsChanged();
}

void MWBitmapButton::SetFrame(bool frame) {
  frame_ = frame;
  frame_set_ = true;
  MarkAsChanged();
}

const SmartBitmap& MWBitmapButton::CurrentBitmap() const {
  if (HasExStyle(MWES_PRESSED) && !pressed_.IsEmpty())
    return pressed_;
  if ((HasExStyle(MWES_PRESSED) || IsFocused()) && !focused_.IsEmpty())
    return focused_;
  return normal_;
}

int MWBitmapButton::Padding() const {
  return std::max(2, GetDefaultFrameCertifiedThickness(-2) * 3);
}

int MWBitmapButton::ImplicitWidth() const {
  const MWFont* font = GetWindowFont();
  const int text_width =
      text_.empty() || font == nullptr ? 0 : MWGraphics::StringWidth(*font, text_);
  return std::max(text_width, normal_.IsEmpty() ? 0 : normal_.Width()) + 2 * Padding();
}

MWRect MWBitmapButton::TextRect(int image_height) const {
  const MWRect client = GetClientRect();
  if (image_height == 0)
    return client;
  return MWRect{client.x, client.y + image_height, client.w, std::max(0, client.h - image_height)};
}

void MWBitmapButton::DrawButtonText(MWGraphics& graphics, const MWRect& rect, bool inverted) {
  if (text_.empty())
    return;
  graphics.SetTextColor(inverted ? MW_COLOR_WHITE : GetTextColor());
  graphics.DrawText(rect, text_, MW_TEXT_HCENTER | MW_TEXT_VCENTER | MW_TEXT_ELLIPSIS);
}

int MWBitmapButton::OnDraw(MWGraphics& graphics) {
  const MWRect client = GetClientRect();
  const SmartBitmap& bitmap = CurrentBitmap();
  const bool pressed = HasExStyle(MWES_PRESSED);
  const bool framed = frame_set_ ? frame_ : bitmap.IsEmpty();
  // A text button shows its press by inverting; a picture button by its pressed picture.
  const bool inverted = framed && pressed;
  if (framed) {
    const int radius = client.h / 4;
    if (inverted)
      graphics.FillRoundRect(client, radius, MW_COLOR_BLACK);
    graphics.DrawFrame(client, -2, MW_COLOR_BLACK, radius);
    if (IsFocused() && !inverted) {
      const int inset = GetDefaultFrameCertifiedThickness(-2) * 2;
      graphics.DrawFrame(
          MWRect{client.x + inset, client.y + inset, client.w - 2 * inset, client.h - 2 * inset},
          -1, MW_COLOR_BLACK, std::max(0, radius - inset));
    }
  }
  int image_height = 0;
  if (!bitmap.IsEmpty()) {
    image_height = text_.empty() ? client.h : std::min(bitmap.Height(), client.h);
    const int x = client.x + (client.w - bitmap.Width()) / 2;
    const int y = text_.empty() ? client.y + (client.h - bitmap.Height()) / 2 : client.y;
    if (clip_) {
      graphics.DrawBitmap(x, y, bitmap, client);
    } else {
      graphics.DrawBitmap(x, y, bitmap);
    }
  }
  DrawButtonText(graphics, TextRect(image_height), inverted);
  return 0;
}

int MWBitmapButton::LoadAttributes(const AttributeLoader& loader) {
  MWWindow::LoadAttributes(loader);
  auto image = [&](const char* name) {
    const std::string value = loader.GetString(name, "");
    return value.empty() ? SmartBitmap() : SmartBitmap::LoadFromTheme(value);
  };
  if (loader.Has("image") || loader.Has("focused_image") || loader.Has("pressed_image")) {
    SetBitmaps(image("image"), image("focused_image"), image("pressed_image"));
  }
  const std::string text = loader.GetString("text", "");
  if (!text.empty())
    SetText(GetLangText(text.c_str()));
  clip_ = loader.GetBool("clip", clip_);
  if (loader.Has("frame"))
    SetFrame(loader.GetBool("frame", false));
  return 0;
}

int MWBitmapButton::cloneFromPrototype(const MWWindow* prototype) {
  MWWindow::cloneFromPrototype(prototype);
  if (const auto* button = dynamic_cast<const MWBitmapButton*>(prototype)) {
    normal_ = button->normal_;
    focused_ = button->focused_;
    pressed_ = button->pressed_;
    text_ = button->text_;
    clip_ = button->clip_;
    frame_ = button->frame_;
    frame_set_ = button->frame_set_;
  }
  return 0;
}
