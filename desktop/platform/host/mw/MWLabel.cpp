#include "platform/mw/MWLabel.h"

#include "platform/mw/MWGraphics.h"
#include "platform/sdk/lang.h"

namespace {

const MWFont& FontOf(const MWWindow& window) {
  static const MWFont fallback;
  const MWFont* font = window.GetWindowFont();
  return font != nullptr ? *font : fallback;
}

unsigned AlignFlag(const std::string& value, unsigned start, unsigned centre, unsigned end) {
  if (value == "center")
    return centre;
  if (value == "right" || value == "bottom")
    return end;
  return start;
}

}  // namespace

void MWLabel::SetText(const std::string& text) {
  if (text == text_)
    return;
  text_ = text;
  MarkAsChanged();
  FitHeight();
}

void MWLabel::SetTextFlags(unsigned flags) {
  flags_ = flags;
  MarkAsChanged();
  FitHeight();
}

void MWLabel::SetAutoHeight(bool on) {
  auto_height_ = on;
  FitHeight();
}

int MWLabel::TextWidth() const {
  return MWGraphics::StringWidth(FontOf(*this), text_);
}

int MWLabel::TextHeight(int width) const {
  if (text_.empty())
    return 0;
  return MWGraphics::TextRectHeight(FontOf(*this), width, text_, flags_);
}

bool MWLabel::isFit() const {
  const MWRect client = GetClientRect();
  if ((flags_ & MW_TEXT_WRAP) != 0)
    return TextHeight(client.w) <= client.h;
  return TextWidth() <= client.w;
}

void MWLabel::FitHeight() {
  if (!auto_height_)
    return;
  const MWRect client = GetClientRect();
  const int margins = Height() - client.h;
  Resize(Width(), TextHeight(client.w) + margins);
}

int MWLabel::LoadAttributes(const AttributeLoader& loader) {
  MWWindow::LoadAttributes(loader);
  unsigned flags =
      AlignFlag(loader.GetString("align", "left"), MW_TEXT_LEFT, MW_TEXT_HCENTER, MW_TEXT_RIGHT) |
      AlignFlag(loader.GetString("valign", "center"), MW_TEXT_TOP, MW_TEXT_VCENTER, MW_TEXT_BOTTOM);
  if (loader.GetBool("wrap", false))
    flags |= MW_TEXT_WRAP;
  if (loader.GetBool("ellipsis", true))
    flags |= MW_TEXT_ELLIPSIS;
  if (loader.GetBool("uppercase", false))
    flags |= MW_TEXT_UPPERCASE;
  flags_ = flags;
  auto_height_ = loader.GetBool("auto_height", false);
  const std::string text = loader.GetString("text", "");
  text_.clear();
  SetText(text.empty() ? text : GetLangText(text.c_str()));
  return 0;
}

int MWLabel::cloneFromPrototype(const MWWindow* prototype) {
  MWWindow::cloneFromPrototype(prototype);
  if (const auto* label = dynamic_cast<const MWLabel*>(prototype)) {
    text_ = label->text_;
    flags_ = label->flags_;
    auto_height_ = label->auto_height_;
  }
  return 0;
}

int MWLabel::OnDraw(MWGraphics& graphics) {
  graphics.DrawText(GetClientRect(), text_, flags_);
  return 0;
}
