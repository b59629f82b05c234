#include "LayoutDocument.h"

#include <sys/stat.h>

#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <stdexcept>

#include <json/reader.h>

#include "platform/sdk/files.h"
#include "platform/sdk/log.h"

namespace marrowleaf::platform {
namespace {

const Json::Value& NullValue() {
  static const Json::Value* value = new Json::Value();
  return *value;
}

const Json::Value& Member(const Json::Value& object, const std::string& name) {
  if (!object.isObject())
    return NullValue();
  const Json::Value* found = object.find(name.data(), name.data() + name.size());
  return found != nullptr ? *found : NullValue();
}

struct CachedDocument {
  long long mtime_ns = 0;
  long long size = 0;
  std::shared_ptr<const LayoutDocument> document;
};

}  // namespace

std::shared_ptr<const LayoutDocument> LayoutDocument::Parse(const std::string& text,
                                                            const std::string& source) {
  Json::CharReaderBuilder builder;
  builder["collectComments"] = false;
  builder["stackLimit"] = kMaxNesting;
  builder["rejectDupKeys"] = false;
  Json::Value root;
  std::string errors;
  std::istringstream stream(text);
  bool parsed = false;
  try {
    parsed = Json::parseFromStream(builder, stream, &root, &errors);
  } catch (const std::exception& error) {
    // The reader throws when the nesting limit is passed.
    errors = error.what();
  }
  if (!parsed) {
    MW_LOG(MW_LOG_ERROR, "layout file %s is not JSON: %s", source.c_str(), errors.c_str());
    return nullptr;
  }
  MW_RETURN_IF(!root.isObject(), nullptr, "layout file %s holds no object", source.c_str());
  auto document = std::make_shared<LayoutDocument>();
  document->source_ = source;
  document->layouts_ = Member(root, "layouts");
  document->prototypes_ = Member(root, "prototypes");
  if (!document->layouts_.isObject()) {
    MW_LOG(MW_LOG_WARNING, "layout file %s has no \"layouts\" object", source.c_str());
    document->layouts_ = Json::Value(Json::objectValue);
  }
  if (!document->prototypes_.isObject())
    document->prototypes_ = Json::Value(Json::objectValue);
  return document;
}

std::shared_ptr<const LayoutDocument> LayoutDocument::Load(const std::string& device_path) {
  static std::mutex mutex;
  static auto* cache = new std::map<std::string, CachedDocument>();
  const std::string host = HostPath(device_path);
  struct stat info {};
  if (stat(host.c_str(), &info) != 0) {
    MW_LOG(MW_LOG_ERROR, "layout file %s is missing", device_path.c_str());
    return nullptr;
  }
  const long long mtime =
      static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
  std::lock_guard<std::mutex> lock(mutex);
  CachedDocument& cached = (*cache)[host];
  if (cached.document && cached.mtime_ns == mtime && cached.size == info.st_size) {
    return cached.document;
  }
  std::string text;
  bool truncated = false;
  if (!ReadFileCapped(device_path, kMaxFileBytes, &text, &truncated) || truncated) {
    MW_LOG(MW_LOG_ERROR, "layout file %s can't be read or is over %zu bytes", device_path.c_str(),
           kMaxFileBytes);
    return nullptr;
  }
  cached.document = Parse(text, device_path);
  cached.mtime_ns = mtime;
  cached.size = info.st_size;
  return cached.document;
}

const Json::Value& LayoutDocument::FindLayout(const std::string& name) const {
  return Member(layouts_, name);
}

const Json::Value& LayoutDocument::FindPrototype(const std::string& name) const {
  return Member(prototypes_, name);
}

}  // namespace marrowleaf::platform
