#include "views/DetailedBookItem.h"

#include <algorithm>
#include <string>
#include <vector>

#include "data/CoverCacheManager.h"
#include "data/DataManager.h"
#include "platform/mw/MWAccessibilityAudio.h"
#include "platform/mw/MWBitmap.h"
#include "platform/mw/MWLabel.h"
#include "platform/sdk/lang.h"
#include "platform/sdk/log.h"
#include "platform/utils/BitmapUtils.h"
#include "views/CoverSlots.h"
#include "views/StoreCover.h"
#include "views/StoreSpeech.h"

namespace marrowleaf::desktop {
namespace {

const char* const kCoverWindows[] = {"Cover", "AudioCover", "SeriaContainer",
                                     "AudioSeriaContainer"};

void SetText(MWWindow& parent, const char* name, const std::string& text) {
  if (auto* label = parent.GetChildByName<MWLabel>(name))
    label->SetText(text);
}

void SetBand(MWWindow& parent, const char* name, int color) {
  MWWindow* band = parent.GetChildByName(name);
  if (band == nullptr)
    return;
  if (color >= 0 && band->GetBackgroundColor() != color)
    band->SetBackgroundColor(color);
  band->SetVisible(color >= 0);
}

}  // namespace

int DetailedBookItem::LoadAttributes(const AttributeLoader& loader) {
  MWDialog::LoadAttributes(loader);
  wishmark_left_ = loader.GetInt("cover_wishmark_left", 0);
  return 0;
}

int DetailedBookItem::cloneFromPrototype(const MWWindow* prototype) {
  const auto* detailed = dynamic_cast<const DetailedBookItem*>(prototype);
  MW_RETURN_IF(detailed == nullptr, -1, "Wrong prototype!!!");
  MWDialog::cloneFromPrototype(prototype);
  wishmark_left_ = detailed->wishmark_left_;
  return 0;
}

void DetailedBookItem::HideAll() {
  for (MWWindow* child : Children()) child->Hide();
  cover_window_ = nullptr;
}

void DetailedBookItem::Bind(int block) {
  block_ = block;
  const auto item = DataManager::Instance()->getItem(block, static_cast<size_t>(index_));
  if (!item || item->books_.empty() || !item->books_.front()) {
    HideAll();
    return;
  }
  const Book& book = *item->books_.front();
  ChooseCoverWindow(*item, book);
  FillCover(*item, book);
  FillTexts(book);
}

void DetailedBookItem::ChooseCoverWindow(const Item& item, const Book& book) {
  const char* chosen = item.is_seria_ ? (book.is_audio ? "AudioSeriaContainer" : "SeriaContainer")
                                      : (book.is_audio ? "AudioCover" : "Cover");
  cover_window_ = GetChildByName(chosen);
  if (cover_window_ == nullptr && book.is_audio)
    cover_window_ = GetChildByName(item.is_seria_ ? "SeriaContainer" : "Cover");
  for (const char* name : kCoverWindows) {
    if (MWWindow* window = GetChildByName(name))
      window->SetVisible(window == cover_window_);
  }
}

void DetailedBookItem::FillCover(const Item& item, const Book& book) {
  SmartBitmap cover;
  if (item.is_seria_) {
    CoverSlots::Fill(cover_window_, item, [](const Book& member, MWBitmap& slot) {
      const MWRect client = slot.GetClientRect();
      SmartBitmap bitmap = CoverCacheManager::Instance().GetStoreCover(
          member.store_cover, member.store_id, client.w, client.h, true);
      slot.SetBitmap(bitmap);
      return bitmap;
    });
  } else {
    cover = StoreCover::Fill(cover_window_, book);
  }
  CoverCacheManager& covers = CoverCacheManager::Instance();
  const MWRect client = cover_window_ != nullptr ? cover_window_->GetClientRect() : MWRect{};
  const bool has_cover = !cover.IsEmpty();
  SetBand(*this, "TopBackground",
          has_cover ? covers.GetStoreAverageColor(book.store_cover, book.store_id, client.w,
                                                  client.h, BITMAP_BAND_TOP)
                    : -1);
  SetBand(*this, "BottomBackground",
          has_cover ? covers.GetStoreAverageColor(book.store_cover, book.store_id, client.w,
                                                  client.h, BITMAP_BAND_BOTTOM)
                    : -1);
  if (auto* shade = GetChildByName<MWBitmap>("CoverShade")) {
    // The shade is made once per cover: a new bitmap each time would redraw it at every refresh.
    if (has_cover && !cover.SharesPixelsWith(shade_source_)) {
      shade_source_ = cover;
      shade->SetBitmap(BitmapStretchProportionally(cover, shade->Width(), shade->Height()));
    }
    shade->SetVisible(has_cover);
  }
  MWWindow* mark = GetChildByName("WishlistMark");
  if (mark != nullptr) {
    mark->SetVisible(book.is_wishlist && cover_window_ != nullptr);
    if (cover_window_ != nullptr)
      mark->Move(cover_window_->GetRect().x + wishmark_left_, mark->GetRect().y);
  }
}

void DetailedBookItem::FillTexts(const Book& book) {
  SetText(*this, "title_label", book.title);
  SetText(*this, "author_label", book.author);
  SetText(*this, "price_label", book.store_price);
  SetText(*this, "old_price_label", book.store_price_old);
  PlaceOldPrice(!book.store_price_old.empty());
  SetText(*this, "description_label", book.store_desc);
  FitDescription();
}

// The old price follows the price on its line, struck through by the cross line.
void DetailedBookItem::PlaceOldPrice(bool has_old_price) {
  auto* price = GetChildByName<MWLabel>("price_label");
  auto* old_price = GetChildByName<MWLabel>("old_price_label");
  MWWindow* line = GetChildByName("cross_line");
  if (old_price != nullptr)
    old_price->SetVisible(has_old_price);
  if (line != nullptr)
    line->SetVisible(has_old_price && old_price != nullptr);
  if (!has_old_price || old_price == nullptr)
    return;
  MWRect rect = old_price->GetRect();
  if (price != nullptr) {
    const MWRect price_rect = price->GetRect();
    rect.x = price_rect.x + price->TextWidth() + price_rect.h / 2;
  }
  rect.w = std::min(old_price->TextWidth() + 1, std::max(0, Width() - rect.x));
  old_price->SetWindowPos(rect);
  if (line != nullptr) {
    const int thickness = std::max(1, line->Height());
    line->SetWindowPos(rect.x, rect.y + (rect.h - thickness) / 2, rect.w, thickness);
  }
}

// A description longer than the room left is cut at the tile's bottom and fades out there.
void DetailedBookItem::FitDescription() {
  auto* description = GetChildByName<MWLabel>("description_label");
  MWWindow* gradient = GetChildByName("description_gradient");
  if (description == nullptr) {
    if (gradient != nullptr)
      gradient->Hide();
    return;
  }
  const MWRect rect = description->GetRect();
  const int room = std::max(0, GetClientRect().Bottom() - rect.y);
  const int needed = description->TextHeight(rect.w);
  const bool cut = needed > room;
  description->SetWindowPos(rect.x, rect.y, rect.w, cut ? room : needed);
  description->SetVisible(!description->GetText().empty());
  if (gradient == nullptr)
    return;
  gradient->SetVisible(cut);
  if (cut) {
    const int height = gradient->Height();
    gradient->SetWindowPos(rect.x, rect.y + room - height, rect.w, height);
  }
}

void DetailedBookItem::AccessibilityPlayGroup() {
  const auto item = DataManager::Instance()->getItem(block_, static_cast<size_t>(index_));
  if (!item || item->books_.empty() || !item->books_.front())
    return;
  const Book& book = *item->books_.front();
  MWAccessibilityAudio::PlayGroup(StoreSpeech::Parts({{"@Title", book.title},
                                                      {"@Author", book.author},
                                                      {"@Price", book.store_price},
                                                      {"@OldPrice", book.store_price_old},
                                                      {"@Description", book.store_desc}}));
}

}  // namespace marrowleaf::desktop
