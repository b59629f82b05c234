// Reading the application JSON files: a size cap on every file and a nesting limit on every
// document, so a huge or deeply nested file is refused instead of exhausting memory or the stack.
#pragma once

#include <cstddef>
#include <string>

#include <json/value.h>

namespace marrowleaf::desktop {

class JsonFileReader {
 public:
  // The largest application JSON file read; the firmware's own are a few kilobytes.
  static constexpr size_t kMaxFileBytes = 4 * 1024 * 1024;
  // The deepest nesting of arrays and objects accepted.
  static constexpr int kMaxNesting = 64;

  // Reads a file by device path and parses it. False, with *root null, when the file can't be read,
  // is larger than the cap or doesn't parse; the reason is logged.
  static bool ReadFile(const std::string& device_path, Json::Value* root);
  // Parses a text. False, with *root null and the parser's message in *error, when it doesn't
  // parse.
  static bool Parse(const std::string& text, Json::Value* root, std::string* error);
};

}  // namespace marrowleaf::desktop
