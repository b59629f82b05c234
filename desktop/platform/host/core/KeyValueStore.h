#pragma once

#include <cstddef>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace marrowleaf::platform {

// The lines of a key-value file (syntax in platform/sdk/config.h) and the entries read from them.
// Parsing never fails: a damaged line is skipped and reading goes on after it. Every line is kept
// as it was read, damaged ones and comments too, and only the lines of a key that is set or erased
// are written anew, so a file read and saved again keeps everything the reader did not change,
// whether or not it understood it.
class KeyValueStore {
 public:
  // Files are read no further than this; a longer file counts as damaged at the cut.
  static constexpr size_t kMaxFileBytes = 1024 * 1024;
  // A longer line is damage; writes that would make one are refused.
  static constexpr size_t kMaxLineBytes = 64 * 1024;

  // Parses text. With truncated set the text was cut at a size cap, so its last, unfinished line
  // is dropped and the store counts as truncated.
  static KeyValueStore Parse(std::string_view text, bool truncated = false);

  KeyValueStore() = default;
  // The values point into the list of lines, so a copy would point into the original; moves keep
  // them valid.
  KeyValueStore(const KeyValueStore&) = delete;
  KeyValueStore& operator=(const KeyValueStore&) = delete;
  KeyValueStore(KeyValueStore&&) = default;
  KeyValueStore& operator=(KeyValueStore&&) = default;

  std::string Serialise() const;
  // Parses a file read with the size cap; empty when it is missing or can't be read.
  static KeyValueStore ReadFile(const std::string& device_path);

  // The value of key, or nullptr. The pointer stays valid until the key is set or erased.
  const std::string* Find(const std::string& key) const;
  // Returns false (and changes nothing) for a key or value the file syntax can't hold. The key's
  // line is written anew in the place of its first line; later lines of the key go.
  bool Set(const std::string& key, const std::string& value);
  // Removes every line of the key. Returns whether the key was there.
  bool Erase(const std::string& key);
  // Takes every entry of other, whose values win over those already here.
  void MergeFrom(const KeyValueStore& other);

  size_t Size() const { return values_.size(); }
  bool Empty() const { return values_.empty(); }
  // True when some line could not be read (it is kept, but its key is unknown).
  bool Damaged() const { return damaged_; }
  // True when the text was cut at the size cap: what followed the cut is not here.
  bool Truncated() const { return truncated_; }
  // Every entry, in the order the keys first appeared.
  std::vector<std::pair<std::string, std::string>> Entries() const;

  // Whole-text decimal numbers with optional sign; false for anything else or on overflow.
  static bool ParseLongLong(const std::string& text, long long* value);
  static bool ParseInt(const std::string& text, int* value);

 private:
  enum class LineResult { kEntry, kSkip, kDamage };
  // One line as it stands in the file, without its line feed; key is empty for comments, blank
  // and damaged lines.
  struct Line {
    std::string text;
    std::string key;
  };
  using LineList = std::list<Line>;
  // The value a key has (its last line wins) and the first line that names it.
  struct Value {
    std::string text;
    LineList::iterator first_line;
  };

  static LineResult ParseLine(std::string_view line, std::string* key, std::string* value);
  static bool ParseQuoted(std::string_view text, std::string* value);
  static bool ValidKey(const std::string& key);
  static std::string FormatLine(const std::string& key, const std::string& value);
  // Sets without checking the key and value: parsed ones are valid.
  void Put(const std::string& key, const std::string& value);
  void AddLine(std::string text, const std::string& key, const std::string& value);
  void EraseLinesAfter(LineList::iterator first_line, const std::string& key);

  LineList lines_;
  // Map nodes keep every value's address stable while other keys come and go.
  std::unordered_map<std::string, Value> values_;
  bool damaged_ = false;
  bool truncated_ = false;
};

}  // namespace marrowleaf::platform
