#pragma once

#include <memory>
#include <string>

#include <json/value.h>

namespace marrowleaf::platform {

// A parsed layout file:
//   {
//     "layouts":    { "<name>": <window>, ... },   the trees LoadLayout loads by name
//     "prototypes": { "<name>": <window>, ... }    trees a window can start from ("prototype")
//   }
// Files are read with a size cap and a nesting limit; a damaged file gives no document.
class LayoutDocument {
 public:
  // Largest layout file read, and deepest nesting of JSON values accepted.
  static constexpr size_t kMaxFileBytes = 1 << 20;
  static constexpr int kMaxNesting = 64;

  // Parses text; nullptr (and a log line naming `source`) when it isn't a layout file.
  static std::shared_ptr<const LayoutDocument> Parse(const std::string& text,
                                                     const std::string& source);
  // Reads and parses a device file, reusing the parse while the file is unchanged.
  static std::shared_ptr<const LayoutDocument> Load(const std::string& device_path);

  // The tree of a layout / prototype; a null value when absent.
  const Json::Value& FindLayout(const std::string& name) const;
  const Json::Value& FindPrototype(const std::string& name) const;
  const Json::Value& Layouts() const { return layouts_; }
  const std::string& Source() const { return source_; }

 private:
  Json::Value layouts_;
  Json::Value prototypes_;
  std::string source_;
};

}  // namespace marrowleaf::platform
