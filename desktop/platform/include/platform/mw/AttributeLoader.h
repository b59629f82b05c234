#pragma once

#include <map>
#include <string>

// The attributes a layout gives a window ("col_count": 5, "step_image_on": "page_on", ...), read by
// the window's LoadAttributes. Values keep the text the layout had; the getters convert it and fall
// back to the default (with a log line) when the value is missing or of the wrong kind.
//
// Lengths may carry a unit, so one layout serves every screen: "12" or "12px" are pixels, "12dp" is
// 12/160 inch at the device's DPI, "50%" is half of the reference length (the window's width, or
// its height for "%h"), and terms can be added: "100%-16dp".
class AttributeLoader {
 public:
  AttributeLoader() = default;

  void Set(const std::string& name, const std::string& value) { values_[name] = value; }
  bool Has(const std::string& name) const { return values_.count(name) != 0; }
  const std::map<std::string, std::string>& Values() const { return values_; }
  // The lengths "%" and "%h" refer to.
  void SetReferenceSize(int width, int height);
  // Copies attributes that this loader doesn't have yet (a prototype's defaults).
  void MergeMissing(const AttributeLoader& other);

  std::string GetString(const std::string& name, const std::string& default_value) const;
  // An integer or a length with a unit, in pixels.
  int GetInt(const std::string& name, int default_value) const;
  double GetDouble(const std::string& name, double default_value) const;
  // "true"/"false"/"1"/"0".
  bool GetBool(const std::string& name, bool default_value) const;
  // "#RRGGBB", "0xRRGGBB" or a decimal number.
  int GetColor(const std::string& name, int default_value) const;

 private:
  std::map<std::string, std::string> values_;
  int reference_width_ = 0;
  int reference_height_ = 0;
};
