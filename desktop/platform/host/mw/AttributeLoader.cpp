#include "platform/mw/AttributeLoader.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "LayoutUnits.h"
#include "platform/sdk/log.h"

using marrowleaf::platform::LayoutUnits;

namespace {

void LogWrongValue(const std::string& name, const std::string& value, const char* kind) {
  MW_LOG(MW_LOG_WARNING, "layout attribute \"%s\": \"%s\" is not %s; using the default",
         name.c_str(), value.c_str(), kind);
}

}  // namespace

void AttributeLoader::SetReferenceSize(int width, int height) {
  reference_width_ = width;
  reference_height_ = height;
}

void AttributeLoader::MergeMissing(const AttributeLoader& other) {
  for (const auto& [name, value] : other.values_) values_.emplace(name, value);
}

std::string AttributeLoader::GetString(const std::string& name,
                                       const std::string& default_value) const {
  auto found = values_.find(name);
  return found == values_.end() ? default_value : found->second;
}

int AttributeLoader::GetInt(const std::string& name, int default_value) const {
  auto found = values_.find(name);
  if (found == values_.end())
    return default_value;
  const LayoutUnits units(reference_width_, reference_height_, LayoutUnits::DeviceDpi());
  int pixels = 0;
  if (units.Parse(found->second, &pixels))
    return pixels;
  LogWrongValue(name, found->second, "a number or a length");
  return default_value;
}

double AttributeLoader::GetDouble(const std::string& name, double default_value) const {
  auto found = values_.find(name);
  if (found == values_.end())
    return default_value;
  const char* begin = found->second.c_str();
  char* end = nullptr;
  const double value = std::strtod(begin, &end);
  if (end != begin && *end == '\0' && std::isfinite(value))
    return value;
  LogWrongValue(name, found->second, "a number");
  return default_value;
}

bool AttributeLoader::GetBool(const std::string& name, bool default_value) const {
  auto found = values_.find(name);
  if (found == values_.end())
    return default_value;
  const std::string& value = found->second;
  if (value == "true" || value == "1")
    return true;
  if (value == "false" || value == "0")
    return false;
  LogWrongValue(name, value, "a truth value");
  return default_value;
}

int AttributeLoader::GetColor(const std::string& name, int default_value) const {
  auto found = values_.find(name);
  if (found == values_.end())
    return default_value;
  std::string text = found->second;
  int base = 10;
  if (!text.empty() && text[0] == '#') {
    text = text.substr(1);
    base = 16;
  } else if (text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0) {
    text = text.substr(2);
    base = 16;
  }
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text.c_str(), &end, base);
  if (!text.empty() && *end == '\0' && errno == 0 && value >= 0 && value <= 0xFFFFFF) {
    return static_cast<int>(value);
  }
  LogWrongValue(name, found->second, "a colour");
  return default_value;
}
