#include "views/NewsItem.h"

#include <string>

#include "data/DataManager.h"
#include "platform/mw/MWAccessibilityAudio.h"
#include "platform/mw/MWBitmapButton.h"
#include "platform/mw/MWLabel.h"
#include "views/CommandIds.h"
#include "views/StoreCover.h"
#include "views/StoreSpeech.h"

namespace marrowleaf::desktop {
namespace {

// The one action a news entry's button carries out on the device itself.
constexpr const char* kSettingsAction = "settings";

void ShowText(MWWindow* parent, const char* name, const std::string& text) {
  if (auto* label = parent != nullptr ? parent->GetNonDirectChildByName<MWLabel>(name) : nullptr) {
    label->SetText(text);
    label->SetVisible(!text.empty());
  }
}

}  // namespace

void NewsItem::Bind(int block) {
  block_ = block;
  const auto item = DataManager::Instance()->getItem(block, static_cast<size_t>(index_));
  const Book empty;
  const Book& book = item && !item->books_.empty() && item->books_.front() ? *item->books_.front()
                                                                           : empty;
  MWWindow* cover = GetChildByName("Cover");
  const bool has_cover = !StoreCover::Fill(cover, book).IsEmpty();
  if (cover != nullptr)
    cover->SetVisible(has_cover);
  ShowText(this, "title_label", book.title);
  ShowText(this, "subtitle_label", book.author);
  ShowText(this, "description_label", book.store_desc);
  FillButton(book.store_button, book.store_type);
}

// Only a settings entry gets a button; any other entry keeps its caption as a plain line, since
// the whole tile opens its link.
void NewsItem::FillButton(const std::string& text, const std::string& action) {
  auto* button = GetNonDirectChildByName<MWBitmapButton>("button");
  auto* caption = GetNonDirectChildByName<MWLabel>("button_label");
  const bool with_button = !text.empty() && action == kSettingsAction && button != nullptr;
  if (button != nullptr) {
    button->SetVisible(with_button);
    if (with_button) {
      button->SetText(text);
      button->SetCommandID(CMD_OPEN_PARTNER_ACCOUNTS);
    }
  }
  if (caption != nullptr) {
    caption->SetText(with_button ? std::string() : text);
    caption->SetVisible(!with_button && !text.empty());
  }
  if (MWWindow* block = GetNonDirectChildByName("offset_block"))
    block->SetVisible(!text.empty());
}

void NewsItem::AccessibilityPlayGroup() {
  const auto item = DataManager::Instance()->getItem(block_, static_cast<size_t>(index_));
  if (!item || item->books_.empty() || !item->books_.front())
    return;
  const Book& book = *item->books_.front();
  MWAccessibilityAudio::PlayGroup(
      StoreSpeech::Parts({{"@Title", book.title}, {"@Description", book.store_desc}}));
}

}  // namespace marrowleaf::desktop
