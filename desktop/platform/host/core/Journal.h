#pragma once

#include <string>
#include <vector>

#include <json/value.h>

namespace marrowleaf::platform {

// The simulator's record of everything the program asks of the outside world:
// "<root>/.sim/journal.jsonl", one JSON object a line with at least the key "event". Lines are
// appended with one write each, so lines of concurrent writers (this program, its worker threads,
// the stand-in programs) never interleave. Without a device root nothing is written.
class Journal {
 public:
  static std::string FilePath();
  // Appends one line; fields must be a JSON object. Adds "event" and a "time_ms" stamp.
  static void Append(const std::string& event, Json::Value fields = Json::Value(Json::objectValue));
};

Json::Value ToJsonArray(const std::vector<std::string>& values);

bool IsValidUtf8(const std::string& text);
// The text with every byte that does not belong to a valid UTF-8 sequence replaced by U+FFFD, so
// that text from files (which may hold anything) keeps a journal line JSON.
std::string RepairUtf8(const std::string& text);

}  // namespace marrowleaf::platform
