#pragma once

#include <string>

#include "platform/mw/MWFont.h"

typedef struct _PangoLayout PangoLayout;

namespace marrowleaf::platform {

// One text laid out with Pango for drawing or measuring. Measures and drawing use the same
// context (grey anti-aliasing, no hinting of metrics), so a text measured to fit also fits when
// drawn. Invalid UTF-8 is repaired, never passed to Pango.
class TextLayout {
 public:
  // width <= 0: lines are only broken at "\n" and never ellipsized. height > 0 with
  // MW_TEXT_ELLIPSIS and MW_TEXT_WRAP: the last line that fits ends with "…".
  TextLayout(const MWFont& font, const std::string& text, int width, int height, unsigned flags);
  ~TextLayout();
  TextLayout(const TextLayout&) = delete;
  TextLayout& operator=(const TextLayout&) = delete;

  // Logical size in pixels.
  int Width() const;
  int Height() const;
  PangoLayout* Get() const { return layout_; }

  // The text as it will be shown: valid UTF-8, upper-cased when the flags or the font ask for it.
  static std::string Prepare(const MWFont& font, const std::string& text, unsigned flags);

 private:
  PangoLayout* layout_;
};

}  // namespace marrowleaf::platform
