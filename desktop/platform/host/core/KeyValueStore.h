#pragma once

#include <cstddef>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace marrowleaf::platform {

// The entries of a key-value file (syntax in platform/sdk/config.h), in the order the keys first
// appeared. Parsing never fails: it keeps what it read before the first damaged line. Serialising
// what was parsed and parsing it again gives the same entries, so a file read and saved again
// keeps its meaning.
class KeyValueStore {
 public:
  // Files are read no further than this; a longer file counts as damaged at the cut.
  static constexpr size_t kMaxFileBytes = 1024 * 1024;
  // A longer line is damage; writes that would make one are refused.
  static constexpr size_t kMaxLineBytes = 64 * 1024;

  // Parses text. With truncated set the text was cut at a size cap, so its last, unfinished line
  // is dropped.
  static KeyValueStore Parse(std::string_view text, bool truncated = false);

  KeyValueStore() = default;
  // The index points into the list, so a copy would point into the original; moves keep it valid.
  KeyValueStore(const KeyValueStore&) = delete;
  KeyValueStore& operator=(const KeyValueStore&) = delete;
  KeyValueStore(KeyValueStore&&) = default;
  KeyValueStore& operator=(KeyValueStore&&) = default;

  std::string Serialise() const;
  // Parses a file read with the size cap; empty when it is missing or can't be read.
  static KeyValueStore ReadFile(const std::string& device_path);

  // The value of key, or nullptr. The pointer stays valid until the key is set or erased.
  const std::string* Find(const std::string& key) const;
  // Returns false (and changes nothing) for a key or value the file syntax can't hold.
  bool Set(const std::string& key, const std::string& value);
  // Returns whether the key was there.
  bool Erase(const std::string& key);
  // Takes every entry of other, whose values win over those already here.
  void MergeFrom(const KeyValueStore& other);

  size_t Size() const { return entries_.size(); }
  bool Empty() const { return entries_.empty(); }
  // True when parsing stopped at damage before the end of the text.
  bool Damaged() const { return damaged_; }
  // Every entry, in the order the keys first appeared.
  const std::list<std::pair<std::string, std::string>>& Entries() const { return entries_; }

  // Whole-text decimal numbers with optional sign; false for anything else or on overflow.
  static bool ParseLongLong(const std::string& text, long long* value);
  static bool ParseInt(const std::string& text, int* value);

 private:
  using Entry = std::pair<std::string, std::string>;
  enum class LineResult { kEntry, kSkip, kDamage };

  static LineResult ParseLine(std::string_view line, std::string* key, std::string* value);
  static bool ParseQuoted(std::string_view text, std::string* value);
  static bool ValidKey(const std::string& key);
  static std::string FormatLine(const std::string& key, const std::string& value);
  void Put(const std::string& key, const std::string& value);

  // A list keeps every value's address stable while other keys come and go.
  std::list<Entry> entries_;
  std::unordered_map<std::string, std::list<Entry>::iterator> index_;
  bool damaged_ = false;
};

}  // namespace marrowleaf::platform
