#include "KeyValueStore.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/sdk/files.h"

namespace marrowleaf::platform {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Control characters other than tab mean the file holds binary data, not text.
bool HasControlCharacter(std::string_view text, bool allow_line_feed) {
  for (char c : text) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (c == '\t' || (allow_line_feed && c == '\n'))
      continue;
    if (byte < 0x20 || byte == 0x7F)
      return true;
  }
  return false;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool NeedsQuotes(const std::string& value) {
  if (value.empty())
    return false;
  return IsBlank(value.front()) || IsBlank(value.back()) || value.front() == '"' ||
         value.find('\n') != std::string::npos;
}

std::string Quote(const std::string& value) {
  std::string quoted = "\"";
  for (char c : value) {
    if (c == '\\' || c == '"') {
      quoted.push_back('\\');
      quoted.push_back(c);
    } else if (c == '\n') {
      quoted += "\\n";
    } else {
      quoted.push_back(c);
    }
  }
  quoted.push_back('"');
  return quoted;
}

}  // namespace

KeyValueStore KeyValueStore::Parse(std::string_view text, bool truncated) {
  KeyValueStore store;
  if (text.size() > kMaxFileBytes) {
    text = text.substr(0, kMaxFileBytes);
    truncated = true;
  }
  if (truncated) {
    size_t last_line_end = text.rfind('\n');
    text = last_line_end == std::string_view::npos ? std::string_view()
                                                   : text.substr(0, last_line_end);
    store.truncated_ = true;
  }
  bool first_line = true;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    std::string_view content = line;
    if (first_line && StartsWith(content, kByteOrderMark))
      content.remove_prefix(kByteOrderMark.size());
    first_line = false;
    std::string key;
    std::string value;
    LineResult result =
        line.size() > kMaxLineBytes ? LineResult::kDamage : ParseLine(content, &key, &value);
    if (result == LineResult::kDamage)
      store.damaged_ = true;
    if (result != LineResult::kEntry)
      key.clear();
    store.AddLine(std::string(line), key, value);
  }
  return store;
}

void KeyValueStore::AddLine(std::string text, const std::string& key, const std::string& value) {
  lines_.push_back(Line{std::move(text), key});
  if (key.empty())
    return;
  auto [found, added] = values_.try_emplace(key, Value{value, std::prev(lines_.end())});
  if (!added)
    found->second.text = value;
}

KeyValueStore::LineResult KeyValueStore::ParseLine(std::string_view line, std::string* key,
                                                   std::string* value) {
  if (!line.empty() && line.back() == '\r')
    line.remove_suffix(1);
  if (HasControlCharacter(line, false))
    return LineResult::kDamage;
  line = Trim(line);
  if (line.empty() || line.front() == '#' || line.front() == ';')
    return LineResult::kSkip;
  size_t equals = line.find('=');
  if (equals == std::string_view::npos)
    return LineResult::kDamage;
  *key = std::string(Trim(line.substr(0, equals)));
  if (key->empty() || StartsWith(*key, kByteOrderMark))
    return LineResult::kDamage;
  std::string_view raw_value = Trim(line.substr(equals + 1));
  if (!raw_value.empty() && raw_value.front() == '"') {
    return ParseQuoted(raw_value, value) ? LineResult::kEntry : LineResult::kDamage;
  }
  *value = std::string(raw_value);
  return LineResult::kEntry;
}

// text starts with the opening quote. Unknown escapes and text after the closing quote are damage,
// so every quoted value has exactly one spelling and survives a save unchanged.
bool KeyValueStore::ParseQuoted(std::string_view text, std::string* value) {
  value->clear();
  for (size_t i = 1; i < text.size(); ++i) {
    char c = text[i];
    if (c == '"')
      return i + 1 == text.size();
    if (c != '\\') {
      value->push_back(c);
      continue;
    }
    if (++i == text.size())
      return false;
    char escaped = text[i];
    if (escaped == 'n') {
      value->push_back('\n');
    } else if (escaped == '\\' || escaped == '"') {
      value->push_back(escaped);
    } else {
      return false;
    }
  }
  return false;
}

KeyValueStore KeyValueStore::ReadFile(const std::string& device_path) {
  std::string text;
  bool truncated = false;
  if (!ReadFileCapped(device_path, kMaxFileBytes, &text, &truncated))
    return KeyValueStore();
  return Parse(text, truncated);
}

std::string KeyValueStore::FormatLine(const std::string& key, const std::string& value) {
  return key + "=" + (NeedsQuotes(value) ? Quote(value) : value);
}

std::string KeyValueStore::Serialise() const {
  std::string text;
  for (const Line& line : lines_) {
    text += line.text;
    text.push_back('\n');
  }
  return text;
}

std::vector<std::pair<std::string, std::string>> KeyValueStore::Entries() const {
  std::vector<std::pair<std::string, std::string>> entries;
  for (const Line& line : lines_) {
    if (line.key.empty())
      continue;
    const Value& value = values_.at(line.key);
    if (&*value.first_line == &line)
      entries.emplace_back(line.key, value.text);
  }
  return entries;
}

const std::string* KeyValueStore::Find(const std::string& key) const {
  auto found = values_.find(key);
  return found == values_.end() ? nullptr : &found->second.text;
}

bool KeyValueStore::ValidKey(const std::string& key) {
  if (key.empty() || key.find('=') != std::string::npos)
    return false;
  if (HasControlCharacter(key, false) || StartsWith(key, kByteOrderMark))
    return false;
  return !IsBlank(key.front()) && !IsBlank(key.back()) && key.front() != '#' && key.front() != ';';
}

bool KeyValueStore::Set(const std::string& key, const std::string& value) {
  if (!ValidKey(key) || HasControlCharacter(value, true))
    return false;
  if (FormatLine(key, value).size() > kMaxLineBytes)
    return false;
  Put(key, value);
  return true;
}

void KeyValueStore::Put(const std::string& key, const std::string& value) {
  auto found = values_.find(key);
  if (found == values_.end()) {
    AddLine(FormatLine(key, value), key, value);
    return;
  }
  found->second.text = value;
  found->second.first_line->text = FormatLine(key, value);
  EraseLinesAfter(found->second.first_line, key);
}

void KeyValueStore::EraseLinesAfter(LineList::iterator first_line, const std::string& key) {
  for (auto line = std::next(first_line); line != lines_.end();) {
    line = line->key == key ? lines_.erase(line) : std::next(line);
  }
}

bool KeyValueStore::Erase(const std::string& key) {
  auto found = values_.find(key);
  if (found == values_.end())
    return false;
  EraseLinesAfter(found->second.first_line, key);
  lines_.erase(found->second.first_line);
  values_.erase(found);
  return true;
}

void KeyValueStore::MergeFrom(const KeyValueStore& other) {
  for (const auto& [key, value] : other.Entries()) Put(key, value);
}

bool KeyValueStore::ParseLongLong(const std::string& text, long long* value) {
  if (text.empty())
    return false;
  char first = text.front();
  if (first != '-' && first != '+' && (first < '0' || first > '9'))
    return false;
  errno = 0;
  char* end = nullptr;
  long long parsed = std::strtoll(text.c_str(), &end, 10);
  if (errno == ERANGE || end != text.c_str() + text.size() || end == text.c_str())
    return false;
  *value = parsed;
  return true;
}

bool KeyValueStore::ParseInt(const std::string& text, int* value) {
  long long parsed = 0;
  if (!ParseLongLong(text, &parsed) || parsed < INT_MIN || parsed > INT_MAX)
    return false;
  *value = static_cast<int>(parsed);
  return true;
}

}  // namespace marrowleaf::platform
