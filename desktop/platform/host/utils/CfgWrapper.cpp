#include "platform/utils/CfgWrapper.h"

#include "platform/sdk/config.h"

namespace marrowleaf::utilities {

CfgWrapper::CfgWrapper(const std::string& device_path)
    : config_(OpenConfig(device_path.c_str(), nullptr)) {}

CfgWrapper::~CfgWrapper() {
  CloseConfigNoSave(config_);
}

std::string CfgWrapper::read(const std::string& key, const std::string& default_value) const {
  std::string value;
  return readIfExists(key, &value) ? value : default_value;
}

int CfgWrapper::readInt(const std::string& key, int default_value) const {
  return ReadInt(config_, key.c_str(), default_value);
}

bool CfgWrapper::readIfExists(const std::string& key, std::string* value) const {
  const char* text = ReadString(config_, key.c_str(), nullptr);
  if (text == nullptr)
    return false;
  *value = text;
  return true;
}

}  // namespace marrowleaf::utilities
