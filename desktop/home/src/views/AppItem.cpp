#include "views/AppItem.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <vector>

#include "data/AppDataManager.h"
#include "platform/mw/MWAppFrame.h"
#include "platform/mw/MWGraphics.h"
#include "platform/sdk/clock.h"
#include "platform/sdk/config.h"
#include "platform/sdk/device_features.h"
#include "platform/sdk/events.h"
#include "platform/sdk/log.h"
#include "platform/sdk/screen.h"
#include "views/PressFeedback.h"
#include "views/ThemeImage.h"

namespace marrowleaf::desktop {
namespace {

constexpr const char* kEmptySlot = "SYS_Null";
constexpr const char* kApplicationsScreen = "SYS_Apps";
constexpr const char* kAudioBooks = "MW_AudioBooks";
constexpr const char* kGlobalConfig = "/mnt/ext1/system/config/global.cfg";
constexpr int kMarkSettleMs = 250;

// The count of audiobooks added since the reader last looked, -1 when it can't be read.
int NewAudioBooks() {
  DeviceConfig* config = OpenConfig(kGlobalConfig, nullptr);
  if (config == nullptr)
    return -1;
  const int count = ReadInt(config, "newly_added_audiobooks", 0);
  CloseConfigNoSave(config);
  return count;
}

std::string BadgeSuffix(int count) {
  if (count >= 10)
    return "_9_plus";
  if (count >= 1)
    return "_" + std::to_string(count);
  return std::string();
}

// "desktop_app_apps_f" with "_3" becomes "desktop_app_apps_3_f": the count goes before the
// focused marker.
std::string WithBadge(const std::string& name, const std::string& suffix, bool focused) {
  if (suffix.empty() || name.empty())
    return name;
  if (!focused || name.size() < 2)
    return name + suffix;
  return name.substr(0, name.size() - 2) + suffix + name.substr(name.size() - 2);
}

// Titles break into lines at " -" ("Text - to - Speech"); the widest part sets the width.
std::vector<std::string> TitleParts(const std::string& title) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t found = title.find(" -"); found != std::string::npos;
       found = title.find(" -", start)) {
    parts.push_back(title.substr(start, found - start));
    start = found + 2;
  }
  parts.push_back(title.substr(start));
  return parts;
}

}  // namespace

int AppItem::cloneFromPrototype(const MWWindow* prototype) {
  MWBitmapButton::cloneFromPrototype(prototype);
  if (const auto* item = dynamic_cast<const AppItem*>(prototype))
    button_style_ = item->button_style_;
  return 0;
}

bool AppItem::SetApplication(const std::string& id, bool badge_on_apps) {
  std::shared_ptr<AppData> data = AppDataManager::GetInstance().GetAppData(id);
  MW_RETURN_IF(!data || !data->record(), false, "no application \"%s\"", id.c_str());
  application_id_ = id;
  SetText(data->record()->title());
  std::string icon;
  std::string focused_icon;
  if (id != kEmptySlot) {
    const bool badged = id == kAudioBooks || (id == kApplicationsScreen && badge_on_apps);
    const std::string suffix = badged ? BadgeSuffix(NewAudioBooks()) : std::string();
    icon = WithBadge(data->record()->icon(), suffix, false);
    focused_icon = WithBadge(data->record()->focusedIcon(), suffix, true);
  }
  // The same pictures are not loaded again: the item would draw again for nothing.
  if (icon != icon_name_ || focused_icon != focused_icon_name_ || icon.empty()) {
    icon_name_ = icon;
    focused_icon_name_ = focused_icon;
    SetBitmaps(ThemeImage::LoadIcon(icon), ThemeImage::LoadIcon(focused_icon));
  }
  return data->known() || id == kEmptySlot;
}

void AppItem::SetMarked(bool marked) {
  if (marked == marked_)
    return;
  MarkAsChanged();
  marked_ = marked;
  if (marked) {
    // The frame must be on the panel before the menu that follows covers the row.
    if (MWAppFrame* frame = GetFrame())
      frame->ReDraw();
    platform::SleepMs(kMarkSettleMs);
    WaitForUpdateComplete();
  }
}

void AppItem::SetButtonStyle(bool button_style) {
  if (button_style == button_style_)
    return;
  button_style_ = button_style;
  MarkAsChanged();
}

std::string AppItem::ShownTitle() const {
  const MWFont* font = GetWindowFont();
  if (font == nullptr || !font->IsUpperCase())
    return GetText();
  std::string upper = GetText();
  std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) {
    return static_cast<char>(std::toupper(c));
  });
  return upper;
}

int AppItem::TitleWidth() const {
  const MWFont* font = GetWindowFont();
  if (font == nullptr)
    return 0;
  int widest = 0;
  for (const std::string& part : TitleParts(ShownTitle()))
    widest = std::max(widest, MWGraphics::StringWidth(*font, part));
  return widest;
}

int AppItem::ContentHeight(int width) const {
  const MWFont* font = GetWindowFont();
  const int text = font != nullptr && !GetText().empty()
                       ? MWGraphics::TextRectHeight(*font, width, ShownTitle())
                       : 0;
  return text + GetNormalBitmap().Height();
}

MWRect AppItem::TextRect(int image_height) const {
  const MWRect client = GetClientRect();
  const MWFont* font = GetWindowFont();
  const int scale = std::max(1, pk_text_scale_percentage());
  const int height = font != nullptr ? 2 * font->PixelSize() * 100 / scale : 0;
  return MWRect{0, client.y + image_height, Width(), height};
}

int AppItem::OnDraw(MWGraphics& graphics) {
  if (button_style_) {
    MWBitmapButton::OnDraw(graphics);
  } else {
    DrawStacked(graphics);
  }
  if (marked_)
    DrawMarkedFrame(graphics);
  return 0;
}

// Picture and title centred together, the title's parts on lines of their own.
void AppItem::DrawStacked(MWGraphics& graphics) {
  const MWRect client = GetClientRect();
  const SmartBitmap& bitmap = CurrentBitmap();
  const MWFont* font = GetWindowFont();
  MW_RETURN_VOID_IF(font == nullptr, "GetWindowFont() == 0");
  const std::string title = ShownTitle();
  const int text_height = title.empty() ? 0 : 2 * font->PixelSize();
  const int image_height = bitmap.IsEmpty() ? 0 : bitmap.Height();
  const int top = client.y + (client.h - image_height - text_height) / 2;
  if (!bitmap.IsEmpty()) {
    const int x = client.x + (client.w - bitmap.Width()) / 2;
    if (IsClipping()) {
      graphics.DrawBitmap(x, top, bitmap, client);
    } else {
      graphics.DrawBitmap(x, top, bitmap);
    }
  }
  if (title.empty())
    return;
  std::string lines;
  for (const std::string& part : TitleParts(title))
    lines += (lines.empty() ? "" : "\n") + part;
  graphics.SetTextColor(GetTextColor());
  graphics.DrawText(MWRect{client.x, top + image_height, client.w, text_height}, lines,
                    MW_TEXT_HCENTER | MW_TEXT_TOP | MW_TEXT_ELLIPSIS);
}

void AppItem::DrawMarkedFrame(MWGraphics& graphics) const {
  const int dash = std::max(1, Height() / 50);
  graphics.DrawDashedFrame(MWRect{0, 0, Width(), Height()}, dash, dash, MW_COLOR_BLACK,
                           GetDefaultFrameCertifiedThickness(-2));
}

int AppItem::MainHandler(int type, int par1, int par2) {
  if (type == EVT_POINTERLONG && GetHoldCommandID() > 0 && HasExStyle(MWES_PRESSED)) {
    // The flash leaves the item unpressed, so the release that follows is no tap.
    PressFeedback::Flash(*this);
    SendCommand(GetHoldCommandID());
    return 1;
  }
  return MWBitmapButton::MainHandler(type, par1, par2);
}

void AppItem::SendCommand(int id) {
  if (id <= 0)
    return;
  MWCommand command = MakeCommand(id);
  command.text = application_id_;
  SendCommandToParent(command);
}

}  // namespace marrowleaf::desktop
