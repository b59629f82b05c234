#pragma once

#include <string>

#include "platform/mw/MWWindow.h"

// One or more lines of text in the window's font and text colour. Texts that start with "@" in a
// layout are language keys and shown translated. With automatic height the label takes the height
// its text needs at its width whenever the text or width changes.
//
// Layout attributes: "text", "align" (left, center, right), "valign" (top, center, bottom),
// "wrap" and "ellipsis" (true/false; ellipsis is on by default), "auto_height" (true/false).
class MWLabel : public MWWindow {
 public:
  MWLabel() { SetClassName("MWLabel"); }

  void SetText(const std::string& text);
  const std::string& GetText() const { return text_; }
  // MW_TEXT_* flags used to draw (alignment, wrapping, ellipsis).
  void SetTextFlags(unsigned flags);
  unsigned GetTextFlags() const { return flags_; }
  void SetAutoHeight(bool on);
  // True when the whole text fits the client area (one line, or the wrapped lines' height).
  bool isFit() const;
  // The width one line of the text takes in the label's font.
  int TextWidth() const;
  // The height the text takes wrapped to width.
  int TextHeight(int width) const;

  int LoadAttributes(const AttributeLoader& loader) override;
  int cloneFromPrototype(const MWWindow* prototype) override;
  int OnDraw(MWGraphics& graphics) override;

 private:
  void FitHeight();

  std::string text_;
  unsigned flags_ = 0x24;  // left, vertically centred, ellipsis
  bool auto_height_ = false;
};
