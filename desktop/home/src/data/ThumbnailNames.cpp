#include "data/ThumbnailNames.h"

#include <cstdio>
#include <cstdlib>

#include "platform/sdk/covers.h"
#include "platform/utils/SerializationUtils.h"

namespace marrowleaf::desktop {
namespace {

// The card's serial number is hexadecimal text; the name carries it as a decimal int, as the
// device always has (0 when the card has none).
std::string CardPrefix() {
  const char* serial = GetExternalCardSerialNumber();
  const long long value = serial != nullptr ? std::strtoll(serial, nullptr, 16) : 0;
  char text[16];
  std::snprintf(text, sizeof text, "%d", static_cast<int>(static_cast<unsigned int>(value)));
  return text;
}

std::string UsbPrefix() {
  const char* serial = usbStorSerialNumber();
  return std::string("USB_") + (serial != nullptr && *serial != '\0' ? serial : "noserial");
}

}  // namespace

std::string ThumbnailNames::StoragePrefix(const std::string& path) {
  if (path.size() < kRootLength)
    return std::string();
  if (path.compare(0, kRootLength, "/mnt/ext1") == 0)
    return "1";
  if (path.compare(0, kRootLength, "/mnt/ext2") == 0)
    return CardPrefix();
  if (path.compare(0, kRootLength, "/mnt/ext3") == 0)
    return UsbPrefix();
  return std::string();
}

std::string ThumbnailNames::Make(const std::string& path, const std::string& fast_hash, int width,
                                 int height) {
  const std::string prefix = StoragePrefix(path);
  if (prefix.empty())
    return std::string();
  const std::string middle = fast_hash.empty()
                                 ? path.substr(kRootLength)
                                 : "/" + utilities::SerializationUtils::ToHex(fast_hash);
  return prefix + middle + "_" + std::to_string(width) + "x" + std::to_string(height) + ".png";
}

}  // namespace marrowleaf::desktop
