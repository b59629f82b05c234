// The device's answers to the conditions of the application JSON files. Each resolver takes the
// cases object of one condition and returns the value of the case that fits this device, the case
// "all" when that one is missing, or null when neither exists.
#pragma once

#include <string>

#include <json/value.h>

namespace marrowleaf::desktop {

class DeviceConditions {
 public:
  static Json::Value Device(const Json::Value& cases);
  static Json::Value Partner(const Json::Value& cases);
  static Json::Value HasAudio(const Json::Value& cases);
  static Json::Value Localization(const Json::Value& cases);
  static Json::Value Language(const Json::Value& cases);
  static Json::Value HasCloud(const Json::Value& cases);
  // The cases are keyed by a global configuration key; that setting's text picks the case, and
  // "default" stands for every other text.
  static Json::Value GlobalCfg(const Json::Value& cases);

  // The sales region a serial number belongs to: "RU", "WW", "CIS", "Unknown: <serial>" for a
  // serial of the usual length with another region mark, "Unknown" otherwise.
  static std::string LocalizationRegion(const std::string& serial);

 private:
  // The member `name` when present and not null, else the member "all" (null when absent).
  static Json::Value CaseOrAll(const Json::Value& cases, const std::string& name);
  static std::string GlobalSetting(const std::string& key, const std::string& default_value);
};

}  // namespace marrowleaf::desktop
