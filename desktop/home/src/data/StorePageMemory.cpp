#include "data/StorePageMemory.h"

#include <unistd.h>

#include "platform/sdk/config.h"
#include "platform/sdk/files.h"

namespace marrowleaf::desktop {

bool StorePageMemory::MarkerExists() {
  return pk_access(kMarkerPath, F_OK) == 0;
}

void StorePageMemory::CreateMarker() {
  pk_buildpath(kMarkerPath);
  DeviceConfig* marker = OpenConfig(kMarkerPath, nullptr);
  if (marker == nullptr)
    return;
  WriteInt(marker, "loaded", 1);
  CloseConfig(marker);
}

bool StorePageMemory::ReadIndex(int default_value, int* index) {
  DeviceConfig* global = GetGlobalConfig();
  if (global == nullptr)
    return false;
  *index = ReadInt(global, kIndexKey, default_value);
  return true;
}

void StorePageMemory::WriteIndex(int index) {
  DeviceConfig* global = GetGlobalConfig();
  if (global == nullptr)
    return;
  WriteInt(global, kIndexKey, index);
  SaveConfig(global);
}

}  // namespace marrowleaf::desktop
