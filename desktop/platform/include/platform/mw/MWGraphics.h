#pragma once

#include <memory>
#include <string>

#include "platform/mw/MWColor.h"
#include "platform/mw/MWFont.h"
#include "platform/mw/MWRect.h"

class SmartBitmap;

// Kinds of screen update for MWGraphics::MarkDirty. How each kind reaches the panel is decided in
// one place, the update policy described in UpdatePlanner.h of the graphics host.
enum MWUpdateKind : int {
  // Redrawn content: merged with other partial rectangles, shown without a flash.
  MW_UPDATE_PARTIAL = 0,
  // Quick black-and-white feedback (a pressed button): never merged into a flash.
  MW_UPDATE_DYNAMIC = 1,
  // The whole screen changed but needs no flash (a page of the same kind of content).
  MW_UPDATE_SOFT = 2,
  // The whole screen with a flash.
  MW_UPDATE_FULL = 3,
  // An area that something covered and left (a menu, a dialog, the panel): it may keep ghosts, so
  // it flashes when it is a large part of the screen.
  MW_UPDATE_CLEAN = 4,
};

// Text flags for DrawText and TextRectHeight. Horizontal and vertical alignment are one of each.
enum MWTextFlags : unsigned {
  MW_TEXT_LEFT = 0x0,
  MW_TEXT_HCENTER = 0x1,
  MW_TEXT_RIGHT = 0x2,
  MW_TEXT_TOP = 0x0,
  MW_TEXT_VCENTER = 0x4,
  MW_TEXT_BOTTOM = 0x8,
  // Breaks lines at word boundaries to the rectangle's width (and at "\n" always).
  MW_TEXT_WRAP = 0x10,
  // Ends a text that doesn't fit with "…": the only line, or the last line that fits when wrapping.
  MW_TEXT_ELLIPSIS = 0x20,
  // Upper-cases the text (the font's MW_FONT_UPPERCASE does the same).
  MW_TEXT_UPPERCASE = 0x40,
};

// Directions of TransparentGradient: the side where the fade is strongest.
enum MWGradientDirection : int {
  MW_GRADIENT_UP = 0,
  MW_GRADIENT_DOWN = 1,
};

// The frame thicknesses of the look, in pixels for this device's DPI: -1 thin (separators), -2
// normal (tiles, buttons), -3 thick (dialogs, focus). Other values are returned as they are.
int GetDefaultFrameCertifiedThickness(int kind);

// Drawing on the screen's framebuffer for one window. A graphics has an origin (the window's top
// left corner in screen coordinates), so the window draws in its own coordinates, and a clip
// rectangle (screen coordinates) outside of which nothing changes. Every operation takes window
// coordinates. Colours are 0xRRGGBB (see MWColor.h).
//
// Drawing changes only the framebuffer; the panel shows it after MarkDirty and FlushUpdates. All
// drawing happens on the event-loop thread.
class MWGraphics {
 public:
  // A graphics for a window at screen_rect; drawing is clipped to it.
  explicit MWGraphics(const MWRect& screen_rect);
  // The same, clipped further to screen_clip (the parent's visible part).
  MWGraphics(const MWRect& screen_rect, const MWRect& screen_clip);
  ~MWGraphics();
  MWGraphics(const MWGraphics&) = delete;
  MWGraphics& operator=(const MWGraphics&) = delete;

  // The window's rectangle in screen coordinates.
  const MWRect& ScreenRect() const;
  // Narrows drawing to a rectangle in window coordinates (within the construction clip);
  // ResetClip returns to the construction clip.
  void SetClip(const MWRect& rect);
  void ResetClip();
  // The clip in window coordinates.
  MWRect ClipRect() const;

  void SetFont(const MWFont& font);
  const MWFont& Font() const;
  // The colour of text (default black).
  void SetTextColor(int color);

  void FillRect(const MWRect& rect, int color);
  // A filled rectangle with rounded corners.
  void FillRoundRect(const MWRect& rect, int radius, int color);
  // A line between pixel centres, `thickness` pixels wide; horizontal and vertical lines are crisp.
  void DrawLine(int x1, int y1, int x2, int y2, int color, int thickness = 1);
  // A line of dashes `dash` pixels long separated by `gap` pixels.
  void DrawDashedLine(int x1, int y1, int x2, int y2, int dash, int gap, int color,
                      int thickness = 1);
  // A frame inside rect (its outer edge is the rectangle's edge), `thickness` pixels wide
  // (negative: GetDefaultFrameCertifiedThickness), with rounded corners of `radius` (0: square).
  void DrawFrame(const MWRect& rect, int thickness, int color, int radius = 0);
  // A dashed frame inside rect.
  void DrawDashedFrame(const MWRect& rect, int dash, int gap, int color, int thickness = 1);

  // Dims what is under the rectangle: each pixel is mixed with black, `percent` (0..100) black.
  void Transparent(const MWRect& rect, int percent);
  void Transparent(int x, int y, int width, int height, int percent) {
    Transparent(MWRect{x, y, width, height}, percent);
  }
  // Fades what is under the rectangle into `color`: fully at the side named by direction, not at
  // all at the other side (the hint that a list goes on beyond its edge).
  void TransparentGradient(const MWRect& rect, MWGradientDirection direction,
                           int color = MW_COLOR_WHITE);

  // Text in the current font and text colour inside rect with MW_TEXT_* flags. Returns the height
  // of the text drawn in pixels.
  int DrawText(const MWRect& rect, const std::string& text, unsigned flags = MW_TEXT_LEFT);
  // Width in pixels of one line of text in the current font (no wrapping).
  int StringWidth(const std::string& text) const;
  // Height in pixels that the text takes wrapped to width (MW_TEXT_WRAP is implied).
  int TextRectHeight(int width, const std::string& text, unsigned flags = MW_TEXT_LEFT) const;
  // The same measures for any font, without a graphics.
  static int StringWidth(const MWFont& font, const std::string& text);
  static int TextRectHeight(const MWFont& font, int width, const std::string& text,
                            unsigned flags = MW_TEXT_LEFT);
  // Height of one line of the font in pixels.
  static int LineHeight(const MWFont& font);

  // Draws the bitmap with its top left corner at (x, y); transparent pixels of the bitmap keep
  // what is under them. An empty bitmap draws nothing.
  void DrawBitmap(int x, int y, const SmartBitmap& bitmap);
  // The same, clipped further to `clip` (window coordinates).
  void DrawBitmap(int x, int y, const SmartBitmap& bitmap, const MWRect& clip);
  // Draws the bitmap scaled to fill rect (bilinear; prefer bitmaps made at their final size).
  void StretchBitmap(const MWRect& rect, const SmartBitmap& bitmap);

  // --- Screen updates (screen coordinates; event-loop thread) ---

  // Asks for the rectangle to be shown on the panel with an update of `kind` (MWUpdateKind) at the
  // next FlushUpdates. An empty rectangle stands for the whole screen.
  static void MarkDirty(const MWRect& screen_rect, int kind = MW_UPDATE_PARTIAL);
  // Makes the next FlushUpdates a full update with a flash.
  static void MarkFullUpdate();
  // The strongest update kind pending (MW_UPDATE_PARTIAL when nothing is pending).
  static int CurrentUpdateType();
  // Sends what was marked since the last flush to the screen as the fewest updates the policy
  // allows. Returns the number of updates sent.
  static int FlushUpdates();
  // Drops what is pending without sending it.
  static void DiscardUpdates();
  // Every n-th flush of partial updates is promoted to a full update, which clears the ghosting
  // that partial updates accumulate. 0 never promotes.
  static void SetPartialFlushesPerFullUpdate(int n);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
