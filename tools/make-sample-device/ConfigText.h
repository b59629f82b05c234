#pragma once

#include <string>

namespace marrowleaf::tools {

// Builds the text of a device key-value file ("key=value" lines), quoting the values that would
// otherwise lose characters when read back: leading or trailing blanks, quotes, backslashes and
// line feeds.
class ConfigText {
 public:
  void Comment(const std::string& text);
  void Add(const std::string& key, const std::string& value);
  const std::string& Text() const { return text_; }

 private:
  static bool NeedsQuotes(const std::string& value);
  static std::string Quoted(const std::string& value);

  std::string text_;
};

}  // namespace marrowleaf::tools
