#pragma once

#include <string>

namespace marrowleaf::platform {

// Lengths of the layout files: a sum of terms, each a number with an optional unit.
//   "12" or "12px"  pixels
//   "12dp"          density-independent: 12/160 inch at the device's DPI
//   "50%"           of the reference length along the axis being measured
//   "50%w", "50%h"  of the horizontal / vertical reference length whatever the axis
//   "100%-16dp"     terms add and subtract
// The reference lengths are the parent's client size for geometry and the window's own size for
// attributes.
class LayoutUnits {
 public:
  LayoutUnits(int reference_width, int reference_height, int dpi);

  // Pixels of a length; false (and *pixels untouched) when the text is not a length. `vertical`
  // chooses the axis a plain "%" refers to.
  bool Parse(const std::string& text, int* pixels, bool vertical = false) const;
  // Pixels of a plain dp number (numbers in geometry fields).
  int FromDp(double dp) const;
  // The same units against other reference lengths.
  LayoutUnits WithReference(int width, int height) const { return {width, height, dpi_}; }

  // The DPI of this device's screen (the device profile; 160 when unknown).
  static int DeviceDpi();

 private:
  bool ParseTerm(const std::string& term, bool vertical, double* pixels) const;

  int reference_width_;
  int reference_height_;
  int dpi_;
};

}  // namespace marrowleaf::platform
