#include "ConfigText.h"

namespace marrowleaf::tools {

void ConfigText::Comment(const std::string& text) {
  text_ += "# " + text + "\n";
}

void ConfigText::Add(const std::string& key, const std::string& value) {
  text_ += key + "=" + (NeedsQuotes(value) ? Quoted(value) : value) + "\n";
}

bool ConfigText::NeedsQuotes(const std::string& value) {
  if (value.empty())
    return false;
  if (value.front() == ' ' || value.front() == '\t')
    return true;
  if (value.back() == ' ' || value.back() == '\t')
    return true;
  return value.find_first_of("\"\\\n\r") != std::string::npos;
}

std::string ConfigText::Quoted(const std::string& value) {
  std::string quoted = "\"";
  for (char c : value) {
    if (c == '\\' || c == '"') {
      quoted += '\\';
      quoted += c;
    } else if (c == '\n') {
      quoted += "\\n";
    } else if (c != '\r') {
      quoted += c;
    }
  }
  return quoted + "\"";
}

}  // namespace marrowleaf::tools
