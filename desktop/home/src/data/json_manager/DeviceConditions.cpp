#include "data/json_manager/DeviceConditions.h"

#include "data/json_manager/JsonMember.h"
#include "platform/sdk/config.h"
#include "platform/sdk/device.h"
#include "platform/sdk/device_features.h"

namespace marrowleaf::desktop {

namespace {

const char kGlobalConfigPath[] = "/mnt/ext1/system/config/global.cfg";
// Serial numbers carry the sales region at this place.
constexpr size_t kSerialLength = 20;
constexpr size_t kRegionMarkIndex = 14;
constexpr int kCloudServicesFlag = 1;

const char* BoolText(bool value) {
  return value ? "true" : "false";
}

std::string Text(const char* text) {
  return text != nullptr ? text : "";
}

}  // namespace

Json::Value DeviceConditions::CaseOrAll(const Json::Value& cases, const std::string& name) {
  if (!cases.isObject())
    return Json::Value();
  const Json::Value* chosen = JsonMember(cases, name);
  if (chosen != nullptr && !chosen->isNull())
    return *chosen;
  return cases.get("all", Json::Value());
}

Json::Value DeviceConditions::Device(const Json::Value& cases) {
  if (!cases.isObject())
    return Json::Value();
  const std::string model = std::to_string(device_number());
  const Json::Value* own = JsonMember(cases, model);
  const bool has_own = own != nullptr && !own->isNull();
  if (!has_own && device_touchpanel() == 0 && cases.isMember("notouch")) {
    return CaseOrAll(cases, "notouch");
  }
  return CaseOrAll(cases, model);
}

Json::Value DeviceConditions::Partner(const Json::Value& cases) {
  return CaseOrAll(cases, Text(GetCustomizedPartnerName()));
}

Json::Value DeviceConditions::HasAudio(const Json::Value& cases) {
  return CaseOrAll(cases, BoolText(device_audio() != 0));
}

Json::Value DeviceConditions::Localization(const Json::Value& cases) {
  return CaseOrAll(cases, LocalizationRegion(Text(GetSerialNumber())));
}

Json::Value DeviceConditions::Language(const Json::Value& cases) {
  return CaseOrAll(cases, GlobalSetting("language", "en"));
}

Json::Value DeviceConditions::HasCloud(const Json::Value& cases) {
  return CaseOrAll(cases, BoolText(getDeviceConfigFlag(kCloudServicesFlag) != 0));
}

Json::Value DeviceConditions::GlobalCfg(const Json::Value& cases) {
  if (!cases.isObject() || cases.size() != 1)
    return Json::Value();
  const std::string key = cases.getMemberNames().front();
  const Json::Value& settings = cases[key];
  if (!settings.isObject())
    return Json::Value();
  DeviceConfig* config = OpenConfig(kGlobalConfigPath, nullptr);
  if (config == nullptr)
    return Json::Value();
  const std::string setting = Text(ReadString(config, key.c_str(), "default"));
  CloseConfigNoSave(config);
  const Json::Value* chosen = JsonMember(settings, setting);
  if (chosen != nullptr && !chosen->isNull())
    return *chosen;
  return settings.get("default", Json::Value());
}

std::string DeviceConditions::LocalizationRegion(const std::string& serial) {
  if (serial.size() != kSerialLength)
    return "Unknown";
  switch (serial[kRegionMarkIndex]) {
    case '2':
      return "RU";
    case 'W':
      return "WW";
    case 'F':
      return "CIS";
    default:
      return "Unknown: " + serial;
  }
}

std::string DeviceConditions::GlobalSetting(const std::string& key,
                                            const std::string& default_value) {
  DeviceConfig* config = OpenConfig(kGlobalConfigPath, nullptr);
  if (config == nullptr)
    return default_value;
  const std::string value = Text(ReadString(config, key.c_str(), default_value.c_str()));
  CloseConfigNoSave(config);
  return value;
}

}  // namespace marrowleaf::desktop
