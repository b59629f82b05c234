// Serial numbers of the removable storages. The simulator's device profile tells them
// ("<root>/.sim/device.cfg", keys card_serial and usb_serial); a storage whose folder is missing
// is not inserted and has none.
#include <string>

#include "platform/sdk/config.h"
#include "platform/sdk/covers.h"
#include "platform/sdk/files.h"

namespace {

const char kProfile[] = "/.sim/device.cfg";

bool IsSerialCharacter(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' ||
         c == '_';
}

// The text returned stays valid until the next call on the same thread.
const char* ReadSerial(const char* key, const char* storage, std::string* slot) {
  slot->clear();
  if (pk_access(storage, 0) != 0)
    return slot->c_str();
  DeviceConfig* config = OpenConfig(kProfile, nullptr);
  if (config == nullptr)
    return slot->c_str();
  *slot = ReadString(config, key, "");
  CloseConfigNoSave(config);
  // A serial number is a short run of letters and digits; anything else is not trusted.
  bool plausible = slot->size() <= 64;
  for (char c : *slot) plausible = plausible && IsSerialCharacter(c);
  if (!plausible)
    slot->clear();
  return slot->c_str();
}

}  // namespace

const char* GetExternalCardSerialNumber() {
  thread_local std::string serial;
  return ReadSerial("card_serial", "/mnt/ext2", &serial);
}

const char* usbStorSerialNumber() {
  thread_local std::string serial;
  return ReadSerial("usb_serial", "/mnt/ext3", &serial);
}
