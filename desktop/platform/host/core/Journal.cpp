#include "Journal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <json/writer.h>

#include "DeviceRoot.h"
#include "platform/sdk/clock.h"

namespace marrowleaf::platform {
namespace {

// The length of the UTF-8 sequence at text[i], or 0 when no valid one starts there.
size_t SequenceLength(const std::string& text, size_t i) {
  const unsigned char lead = static_cast<unsigned char>(text[i]);
  const size_t length = lead < 0x80           ? 1
                        : (lead >> 5) == 0x6  ? 2
                        : (lead >> 4) == 0xe  ? 3
                        : (lead >> 3) == 0x1e ? 4
                                              : 0;
  if (length == 0 || i + length > text.size())
    return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((static_cast<unsigned char>(text[i + k]) & 0xc0) != 0x80)
      return 0;
  }
  return length;
}

// The same value with every text (member names too) made valid UTF-8.
Json::Value Repaired(const Json::Value& value) {
  if (value.isString())
    return RepairUtf8(value.asString());
  if (value.isArray()) {
    Json::Value array(Json::arrayValue);
    for (const Json::Value& item : value) array.append(Repaired(item));
    return array;
  }
  if (value.isObject()) {
    Json::Value object(Json::objectValue);
    for (const std::string& name : value.getMemberNames())
      object[RepairUtf8(name)] = Repaired(value[name]);
    return object;
  }
  return value;
}

}  // namespace

bool IsValidUtf8(const std::string& text) {
  for (size_t i = 0, length = 0; i < text.size(); i += length) {
    length = SequenceLength(text, i);
    if (length == 0)
      return false;
  }
  return true;
}

std::string RepairUtf8(const std::string& text) {
  if (IsValidUtf8(text))
    return text;
  std::string repaired;
  for (size_t i = 0; i < text.size();) {
    const size_t length = SequenceLength(text, i);
    if (length == 0) {
      repaired += "\xef\xbf\xbd";
      ++i;
    } else {
      repaired.append(text, i, length);
      i += length;
    }
  }
  return repaired;
}

std::string Journal::FilePath() {
  const std::string& root = DeviceRoot::Get().Root();
  return root.empty() ? "" : root + "/.sim/journal.jsonl";
}

void Journal::Append(const std::string& event, Json::Value fields) {
  const std::string path = FilePath();
  if (path.empty()) return;
  fields["event"] = event;
  fields["time_ms"] = static_cast<Json::Int64>(CurrentClock().NowMs());
  Json::StreamWriterBuilder builder;
  builder["indentation"] = "";
  builder["emitUTF8"] = true;
  std::string line = Json::writeString(builder, Repaired(fields));
  line.push_back('\n');
  mkdir((DeviceRoot::Get().Root() + "/.sim").c_str(), 0755);
  int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return;
  ssize_t written = write(fd, line.data(), line.size());
  (void)written;  // The journal is a record for tests and demos; a full disk must not stop the device.
  close(fd);
}

Json::Value ToJsonArray(const std::vector<std::string>& values) {
  Json::Value array(Json::arrayValue);
  for (const auto& value : values) array.append(value);
  return array;
}

}  // namespace marrowleaf::platform
