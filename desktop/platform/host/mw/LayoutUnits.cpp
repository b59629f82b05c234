#include "LayoutUnits.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

#include "platform/sdk/screen.h"

namespace marrowleaf::platform {
namespace {

// 1 dp is 1/160 inch: a 6" screen is about 570 dp wide whatever its pixel count.
constexpr double kDpPerInch = 160.0;
// A layout length longer than this is a mistake, not a screen.
constexpr double kMaxPixels = 1 << 20;

}  // namespace

LayoutUnits::LayoutUnits(int reference_width, int reference_height, int dpi)
    : reference_width_(reference_width), reference_height_(reference_height), dpi_(dpi) {}

int LayoutUnits::DeviceDpi() {
  const int dpi = ScreenDpi();
  return dpi > 0 ? dpi : static_cast<int>(kDpPerInch);
}

int LayoutUnits::FromDp(double dp) const {
  return static_cast<int>(std::lround(dp * dpi_ / kDpPerInch));
}

bool LayoutUnits::ParseTerm(const std::string& term, bool vertical, double* pixels) const {
  if (term.empty())
    return false;
  const char* begin = term.c_str();
  char* end = nullptr;
  const double number = std::strtod(begin, &end);
  if (end == begin || !std::isfinite(number) || std::fabs(number) > kMaxPixels)
    return false;
  const std::string unit(end);
  if (unit.empty() || unit == "px") {
    *pixels = number;
  } else if (unit == "dp") {
    *pixels = number * dpi_ / kDpPerInch;
  } else if (unit == "%") {
    *pixels = number * (vertical ? reference_height_ : reference_width_) / 100.0;
  } else if (unit == "%w") {
    *pixels = number * reference_width_ / 100.0;
  } else if (unit == "%h") {
    *pixels = number * reference_height_ / 100.0;
  } else {
    return false;
  }
  return true;
}

bool LayoutUnits::Parse(const std::string& text, int* pixels, bool vertical) const {
  // Split into signed terms: "100%-16dp" is +"100%" and -"16dp". A sign right after "e" belongs
  // to no term of ours, so exponents are simply not supported.
  double total = 0;
  std::string term;
  double sign = 1;
  bool any = false;
  auto flush = [&]() {
    double value = 0;
    if (!ParseTerm(term, vertical, &value))
      return false;
    total += sign * value;
    any = true;
    term.clear();
    return true;
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (std::isspace(static_cast<unsigned char>(c)))
      continue;
    if ((c == '+' || c == '-') && !term.empty()) {
      if (!flush())
        return false;
      sign = c == '-' ? -1 : 1;
      continue;
    }
    if ((c == '+' || c == '-') && term.empty() && !any) {
      sign = c == '-' ? -sign : sign;
      continue;
    }
    term.push_back(c);
  }
  if (!flush() || std::fabs(total) > kMaxPixels)
    return false;
  *pixels = static_cast<int>(std::lround(total));
  return true;
}

}  // namespace marrowleaf::platform
