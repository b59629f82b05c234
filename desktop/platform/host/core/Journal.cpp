#include "Journal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <json/writer.h>

#include "DeviceRoot.h"
#include "platform/sdk/clock.h"

namespace marrowleaf::platform {

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
  std::string line = Json::writeString(builder, fields);
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
