#pragma once

#include <string>

#include "platform/mw/MWWindow.h"
#include "platform/utils/SmartBitmap.h"

// A button with a picture and/or a text: the picture centred at the top of the client area and the
// text below it (or the text alone, centred). The picture follows the state: the pressed image
// while pressed, the focused image while focused, else the normal one (each falls back to the one
// before). A text-only button draws a rounded frame, filled black while pressed. Tapping raises the
// command, holding the hold command (see MWWindow).
//
// Layout attributes: "image", "focused_image", "pressed_image" (theme image names), "text" ("@"
// keys are translated), "clip" (true: the picture never draws outside the button), "frame"
// (true/false: the rounded frame; default on for text-only buttons).
class MWBitmapButton : public MWWindow {
 public:
  MWBitmapButton();

  void SetBitmaps(const SmartBitmap& normal, const SmartBitmap& focused,
                  const SmartBitmap& pressed = SmartBitmap());
  const SmartBitmap& GetNormalBitmap() const { return normal_; }
  const SmartBitmap& GetFocusedBitmap() const { return focused_; }
  const SmartBitmap& GetPressedBitmap() const { return pressed_; }
  void SetText(const std::string& text);
  const std::string& GetText() const { return text_; }
  void SetClipping(bool clip) { clip_ = clip; }
  bool IsClipping() const { return clip_; }
  void SetFrame(bool frame);
  // The picture for the current state (may be empty).
  const SmartBitmap& CurrentBitmap() const;
  // The width the button needs for its picture and text with the frame's padding.
  int ImplicitWidth() const;

  int LoadAttributes(const AttributeLoader& loader) override;
  int cloneFromPrototype(const MWWindow* prototype) override;
  int OnDraw(MWGraphics& graphics) override;

 protected:
  // Where the text goes below a picture of height image_height; subclasses change the text block.
  virtual MWRect TextRect(int image_height) const;
  virtual void DrawButtonText(MWGraphics& graphics, const MWRect& rect, bool inverted);

 private:
  int Padding() const;

  SmartBitmap normal_;
  SmartBitmap focused_;
  SmartBitmap pressed_;
  std::string text_;
  bool clip_ = false;
  bool frame_ = false;
  bool frame_set_ = false;
};
