#include "ScreenState.h"

#include <algorithm>

#include "platform/sdk/device.h"
#include "platform/sdk/network.h"

#include <json/value.h>

#include "Journal.h"

namespace marrowleaf::platform {

ScreenState& ScreenState::Get() {
  // Never destroyed: threads that outlive main (task reapers, workers) may still use it.
  static auto* instance = new ScreenState();
  return *instance;
}

const char* ScreenState::KindName(UpdateKind kind) {
  switch (kind) {
    case UpdateKind::kFull:
      return "full";
    case UpdateKind::kPartial:
      return "partial";
    case UpdateKind::kSoft:
      return "soft";
    case UpdateKind::kDynamic:
      return "dynamic";
  }
  return "full";
}

void ScreenState::Update(UpdateKind kind, int x, int y, int width, int height) {
  Json::Value fields;
  fields["kind"] = KindName(kind);
  fields["x"] = x;
  fields["y"] = y;
  fields["w"] = width;
  fields["h"] = height;
  Journal::Append("update", fields);
  ScreenUpdateHook hook;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ++updates_;
    hook = hook_;
  }
  std::lock_guard<std::mutex> showing(update_mutex_);
  if (hook)
    hook(kind, x, y, width, height);
}

void ScreenState::WaitForUpdates() {
  std::lock_guard<std::mutex> showing(update_mutex_);
}

int ScreenState::UpdateCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return updates_;
}

void ScreenState::SetHook(ScreenUpdateHook hook) {
  std::lock_guard<std::mutex> lock(mutex_);
  hook_ = hook;
}

bool ScreenState::SetPanelTransparency(int percent) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (panel_transparency_ == percent)
    return false;
  panel_transparency_ = percent;
  return true;
}

int ScreenState::PanelTransparency() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return panel_transparency_;
}

void ScreenState::SetPanelType(int type) {
  std::lock_guard<std::mutex> lock(mutex_);
  panel_type_ = type;
}

int ScreenState::PanelType() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return panel_type_;
}

void ScreenState::SetPanelFocused(bool focused) {
  std::lock_guard<std::mutex> lock(mutex_);
  panel_focused_ = focused;
}

bool ScreenState::PanelFocused() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return panel_focused_;
}

void ScreenState::SetPanelContent(PanelContent content) {
  std::lock_guard<std::mutex> lock(mutex_);
  panel_ = std::move(content);
}

PanelContent ScreenState::Panel() const {
  PanelContent content;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    content = panel_;
    content.focused = panel_focused_;
  }
  const DeviceSharedState* shared = GetDeviceSharedState();
  content.notifications = shared != nullptr ? std::max(0, shared->not_viewed_notifications.load()) : 0;
  content.network = (QueryNetwork() & 0xf00) != 0;
  return content;
}

void ScreenState::SetOrientation(int orientation) {
  std::lock_guard<std::mutex> lock(mutex_);
  orientation_ = orientation;
}

int ScreenState::Orientation() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return orientation_;
}

void ScreenState::SetDefaultOrientation(int orientation) {
  std::lock_guard<std::mutex> lock(mutex_);
  default_orientation_ = orientation;
}

int ScreenState::DefaultOrientation() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return default_orientation_;
}

void SetScreenUpdateHook(ScreenUpdateHook hook) {
  ScreenState::Get().SetHook(hook);
}

}  // namespace marrowleaf::platform
