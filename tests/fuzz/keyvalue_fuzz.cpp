// Parses arbitrary bytes as a key-value file and checks that saving is stable: what is saved, read
// back and saved again is the same text with the same entries, and setting a key changes only that
// key, so reading and saving a file never changes its meaning.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "KeyValueStore.h"

using marrowleaf::platform::KeyValueStore;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string first = KeyValueStore::Parse(input).Serialise();
  KeyValueStore reread = KeyValueStore::Parse(first);
  const std::string second = reread.Serialise();
  // A saved file keeps every line, adding at most the last line feed.
  if (second != first || first.size() > input.size() + 1)
    std::abort();
  const auto entries = reread.Entries();
  if (entries != KeyValueStore::Parse(input).Entries())
    std::abort();
  if (entries.empty() || !reread.Set(entries.front().first, "changed"))
    return 0;
  KeyValueStore changed = KeyValueStore::Parse(reread.Serialise());
  auto expected = entries;
  expected.front().second = "changed";
  if (changed.Entries() != expected)
    std::abort();
  return 0;
}
