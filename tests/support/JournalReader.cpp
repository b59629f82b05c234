#include "support/JournalReader.h"

#include <fstream>
#include <memory>

#include <json/reader.h>

namespace marrowleaf::test {

std::vector<Json::Value> JournalReader::All() const {
  std::vector<Json::Value> entries;
  std::ifstream in(root_ + "/.sim/journal.jsonl");
  std::string line;
  Json::CharReaderBuilder builder;
  while (std::getline(in, line)) {
    Json::Value value;
    std::string errors;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    if (reader->parse(line.data(), line.data() + line.size(), &value, &errors)) {
      entries.push_back(value);
    }
  }
  return entries;
}

std::vector<Json::Value> JournalReader::Events(const std::string& event) const {
  std::vector<Json::Value> matching;
  for (auto& entry : All()) {
    if (entry["event"].asString() == event) matching.push_back(entry);
  }
  return matching;
}

}  // namespace marrowleaf::test
