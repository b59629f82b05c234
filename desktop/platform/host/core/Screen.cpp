// The screen functions of the SDK. Sizes come from the device profile and follow the orientation;
// updates are clipped to the screen, journaled and handed to the display back-end by ScreenState.
#include "platform/sdk/screen.h"

#include <json/value.h>

#include <algorithm>
#include <string>

#include "DeviceProfile.h"
#include "Journal.h"
#include "ScreenState.h"

using marrowleaf::platform::DeviceProfile;
using marrowleaf::platform::Journal;
using marrowleaf::platform::PanelContent;
using marrowleaf::platform::ScreenState;
using marrowleaf::platform::UpdateKind;

namespace {

// Orientations 1 and 3 turn the display by a quarter: width and height trade places.
bool IsLandscape() {
  return ScreenState::Get().Orientation() % 2 != 0;
}

int ProfileWidth() {
  return DeviceProfile::Get().Int("screen_width");
}
int ProfileHeight() {
  return DeviceProfile::Get().Int("screen_height");
}

void ClippedUpdate(UpdateKind kind, int x, int y, int width, int height) {
  const int left = std::max(x, 0);
  const int top = std::max(y, 0);
  // 64-bit sums: callers may pass huge sizes meaning "to the edge".
  const long long right = std::min<long long>(static_cast<long long>(x) + width, ScreenWidth());
  const long long bottom = std::min<long long>(static_cast<long long>(y) + height, ScreenHeight());
  if (right <= left || bottom <= top)
    return;
  ScreenState::Get().Update(kind, left, top, static_cast<int>(right - left),
                            static_cast<int>(bottom - top));
}

void JournalAction(const char* event, const char* action) {
  Json::Value fields;
  fields["action"] = action;
  Journal::Append(event, fields);
}

}  // namespace

int ScreenWidth() {
  return IsLandscape() ? ProfileHeight() : ProfileWidth();
}
int ScreenHeight() {
  return IsLandscape() ? ProfileWidth() : ProfileHeight();
}
int PanelHeight() {
  return DeviceProfile::Get().Int("panel_height");
}
int ScreenDpi() {
  return DeviceProfile::Get().Int("dpi");
}

void FullUpdate() {
  ScreenState::Get().Update(UpdateKind::kFull, 0, 0, ScreenWidth(), ScreenHeight());
}

void PartialUpdate(int x, int y, int width, int height) {
  ClippedUpdate(UpdateKind::kPartial, x, y, width, height);
}

void SoftUpdate() {
  ScreenState::Get().Update(UpdateKind::kSoft, 0, 0, ScreenWidth(), ScreenHeight());
}

void DynamicUpdate(int x, int y, int width, int height) {
  ClippedUpdate(UpdateKind::kDynamic, x, y, width, height);
}

void WaitForUpdateComplete() {
  ScreenState::Get().WaitForUpdates();
}

void ClearScreen() {
  JournalAction("screen", "clear");
}

void SetPanelSeparatorEnabled(int enabled) {
  Json::Value fields;
  fields["separator"] = enabled != 0;
  Journal::Append("panel", fields);
}

void SetPanelTransparent(int percent) {
  percent = std::clamp(percent, 0, 100);
  if (!ScreenState::Get().SetPanelTransparency(percent))
    return;
  Json::Value fields;
  fields["transparent"] = percent;
  Journal::Append("panel", fields);
}

void SetPanelType(int type) {
  ScreenState::Get().SetPanelType(type);
}

void DrawPanel(int icon, const char* text, const char* title, int percent) {
  PanelContent content;
  content.icon = icon;
  content.text = text ? text : "";
  content.title = title ? title : "";
  content.percent = std::clamp(percent, 0, 100);
  ScreenState::Get().SetPanelContent(std::move(content));
}

int IsPanelFocused() {
  return ScreenState::Get().PanelFocused() ? 1 : 0;
}
void SetFocusOnPanel(int focused) {
  ScreenState::Get().SetPanelFocused(focused != 0);
}

void SetOrientation(int orientation) {
  if (orientation < 0 || orientation > 3)
    return;
  ScreenState::Get().SetOrientation(orientation);
}

void SetDefaultOrientation(int orientation) {
  if (orientation < 0 || orientation > 3)
    return;
  ScreenState::Get().SetDefaultOrientation(orientation);
}

int GetOrientation() {
  return ScreenState::Get().Orientation();
}

void ShowHourglassForce() {
  JournalAction("hourglass", "show");
}
void DisableExitHourglass() {
  JournalAction("hourglass", "disable_exit");
}
void RestoreStartupLogo() {
  JournalAction("startup_logo", "restore");
}
