#include "platform/utils/JsonBookStoreWrapper.h"

#include <json/json.h>

#include <memory>

namespace marrowleaf::utilities {
namespace {

constexpr int kMaxNesting = 16;

// Texts and integers are both accepted for identifiers and time stamps, since the store service
// has written either.
bool ScalarText(const Json::Value& value, std::string* text) {
  if (value.isString()) {
    *text = value.asString();
    return true;
  }
  if (value.isInt64()) {
    *text = std::to_string(value.asInt64());
    return true;
  }
  return false;
}

int64_t Timestamp(const Json::Value& value) {
  if (value.isInt64())
    return value.asInt64();
  if (!value.isString())
    return 0;
  try {
    size_t used = 0;
    const std::string text = value.asString();
    const long long parsed = std::stoll(text, &used, 10);
    return used == text.size() ? parsed : 0;
  } catch (const std::exception&) {
    return 0;
  }
}

}  // namespace

void JsonBookStoreWrapper::clear() {
  store_id_.clear();
  price_.clear();
  price_old_.clear();
  price_timestamp_ = 0;
}

bool JsonBookStoreWrapper::read(const std::string& json) {
  clear();
  if (json.empty() || json.size() > kMaxTextBytes)
    return false;
  Json::CharReaderBuilder builder;
  builder["stackLimit"] = kMaxNesting;
  builder["collectComments"] = false;
  std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  Json::Value root;
  std::string errors;
  bool parsed = false;
  try {
    parsed = reader->parse(json.data(), json.data() + json.size(), &root, &errors);
  } catch (const std::exception&) {
    // jsoncpp throws when the nesting limit is exceeded.
    parsed = false;
  }
  if (!parsed || !root.isObject())
    return false;
  if (!ScalarText(root["store_id"], &store_id_) || store_id_.empty()) {
    clear();
    return false;
  }
  if (root["price"].isString())
    price_ = root["price"].asString();
  if (root["price_old"].isString())
    price_old_ = root["price_old"].asString();
  price_timestamp_ = Timestamp(root["price_ts"]);
  return true;
}

}  // namespace marrowleaf::utilities
