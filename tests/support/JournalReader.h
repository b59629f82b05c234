#pragma once

#include <string>
#include <vector>

#include <json/value.h>

namespace marrowleaf::test {

// Reads the simulator's journal of a device root: one JSON object a line.
class JournalReader {
 public:
  explicit JournalReader(std::string host_root) : root_(std::move(host_root)) {}

  std::vector<Json::Value> All() const;
  // The entries whose "event" is this name, in order.
  std::vector<Json::Value> Events(const std::string& event) const;

 private:
  std::string root_;
};

}  // namespace marrowleaf::test
