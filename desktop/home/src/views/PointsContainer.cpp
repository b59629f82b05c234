#include "views/PointsContainer.h"

#include <string>

#include "platform/mw/MWAccessibilityAudio.h"
#include "platform/mw/MWAccessibilityNavigation.h"
#include "platform/mw/MWBitmap.h"
#include "platform/mw/MWColor.h"
#include "platform/mw/MWGraphics.h"
#include "platform/sdk/lang.h"
#include "platform/sdk/log.h"
#include "views/CommandIds.h"
#include "views/ThemeImage.h"

namespace marrowleaf::desktop {
namespace {

constexpr int kPointStyle = 1;

}  // namespace

int PointsContainer::LoadAttributes(const AttributeLoader& loader) {
  MW_LOG(MW_LOG_VERBOSE, "loader [%p]", static_cast<const void*>(&loader));
  step_image_on_ = ThemeImage::Load(loader.GetString("step_image_on", ""));
  step_image_off_ = ThemeImage::Load(loader.GetString("step_image_off", ""));
  step_width_ = loader.GetInt("step_width", 50);
  return MWDialog::LoadAttributes(loader);
}

int PointsContainer::cloneFromPrototype(const MWWindow* prototype) {
  const auto* points = dynamic_cast<const PointsContainer*>(prototype);
  MW_RETURN_IF(points == nullptr, -1, "Wrong prototype!!!");
  MWDialog::cloneFromPrototype(prototype);
  step_image_on_ = points->step_image_on_;
  step_image_off_ = points->step_image_off_;
  step_width_ = points->step_width_;
  return 0;
}

void PointsContainer::SetCount(int count) {
  const int before = GetCount();
  if (count < 0)
    count = 0;
  while (GetCount() < count) {
    auto* point = MakeChild<MWBitmap>(0, 0, step_width_, GetClientRect().h, kPointStyle);
    point->SetBitmap(step_image_off_);
    point_windows_.push_back(point);
  }
  while (GetCount() > count) {
    delete point_windows_.back();
    point_windows_.pop_back();
  }
  if (GetCount() != before)
    PlacePoints();
  if (current_ >= count)
    current_ = 0;
}

void PointsContainer::PlacePoints() {
  const MWRect client = GetClientRect();
  const int left = client.x + (client.w - GetCount() * step_width_) / 2;
  for (int i = 0; i < GetCount(); ++i) {
    point_windows_[static_cast<size_t>(i)]->SetWindowPos(left + i * step_width_, 0, step_width_,
                                                          client.h);
  }
  MarkAsChanged();
}

void PointsContainer::SetCurrent(int index) {
  if (index < 0 || index >= GetCount())
    return;
  current_ = index;
  for (int i = 0; i < GetCount(); ++i) {
    MWBitmap* point = point_windows_[static_cast<size_t>(i)];
    point->SetBitmap(i == index ? step_image_on_ : step_image_off_);
  }
}

int PointsContainer::OnDraw(MWGraphics& graphics) {
  graphics.FillRect(GetClientRect(), MW_COLOR_WHITE);
  return 0;
}

int PointsContainer::AccessibilitySliderCommandHandler(int command) {
  int page_command = 0;
  if (command == MW_ACCESSIBILITY_SLIDE_FORWARD) {
    page_command = CMD_PAGE_NEXT;
  } else if (command == MW_ACCESSIBILITY_SLIDE_BACK) {
    page_command = CMD_PAGE_PREVIOUS;
  } else {
    return 0;
  }
  DoCommand(page_command);
  AccessibilityPlayGroup();
  return 1;
}

void PointsContainer::AccessibilityPlayGroup() {
  const std::string text = std::string(GetLangText("@Page")) + " " + std::to_string(current_ + 1) +
                           " " + GetLangText("@Of") + " " + std::to_string(GetCount());
  MWAccessibilityAudio::PlayGroup(text);
}

}  // namespace marrowleaf::desktop
