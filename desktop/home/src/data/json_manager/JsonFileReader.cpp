#include "data/json_manager/JsonFileReader.h"

#include <json/reader.h>

#include <memory>

#include "platform/sdk/files.h"
#include "platform/sdk/log.h"

namespace marrowleaf::desktop {

bool JsonFileReader::ReadFile(const std::string& device_path, Json::Value* root) {
  *root = Json::Value();
  std::string text;
  bool truncated = false;
  if (!ReadFileCapped(device_path, kMaxFileBytes, &text, &truncated)) {
    MW_LOG(MW_LOG_WARNING, "Can't read json [%s]\n", device_path.c_str());
    return false;
  }
  if (truncated) {
    MW_LOG(MW_LOG_ERROR, "Json [%s] is larger than %zu bytes, not read\n", device_path.c_str(),
           kMaxFileBytes);
    return false;
  }
  std::string error;
  if (!Parse(text, root, &error)) {
    // The parser's message spans lines; the log keeps one line per event.
    for (char& c : error) c = c == '\n' ? ' ' : c;
    MW_LOG(MW_LOG_ERROR, "Json [%s] parse error: %s\n", device_path.c_str(), error.c_str());
    return false;
  }
  return true;
}

bool JsonFileReader::Parse(const std::string& text, Json::Value* root, std::string* error) {
  *root = Json::Value();
  Json::CharReaderBuilder builder;
  builder["collectComments"] = true;
  builder["stackLimit"] = kMaxNesting;
  const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  bool ok = false;
  // The reader throws when the nesting limit is passed; that is one more malformed document.
  try {
    ok = reader->parse(text.data(), text.data() + text.size(), root, error);
  } catch (const Json::Exception& exception) {
    *error = exception.what();
  }
  if (!ok)
    *root = Json::Value();
  return ok;
}

}  // namespace marrowleaf::desktop
