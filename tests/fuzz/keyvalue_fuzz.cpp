// Parses arbitrary bytes as a key-value file and checks that saving is stable: what is saved, read
// back and saved again is the same text, so reading and saving a file never changes its meaning.
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
  // A saved file is never damaged and never larger than what it was made from.
  if (second != first || reread.Damaged() || first.size() > input.size() + 1)
    std::abort();
  return 0;
}
