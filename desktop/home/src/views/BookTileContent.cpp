#include "views/BookTileContent.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <string>

#include "data/CoverCacheManager.h"
#include "data/DataManager.h"
#include "platform/mw/MWBitmap.h"
#include "platform/mw/MWGraphics.h"
#include "platform/mw/MWLabel.h"
#include "platform/mw/MWWindow.h"
#include "platform/sdk/device.h"
#include "platform/sdk/device_features.h"
#include "platform/sdk/lang.h"
#include "platform/sdk/log.h"
#include "platform/utils/BitmapUtils.h"
#include "platform/utils/DynamicLoadServiceWrapper.h"
#include "platform/utils/HumanStringUtility.h"
#include "views/AddedDateText.h"
#include "views/BookItemPostDraw.h"
#include "views/CoverSlots.h"
#include "views/LoanBackground.h"
#include "views/StarsContainer.h"

namespace marrowleaf::desktop {
namespace {

constexpr const char* kModule = "BookItem";
constexpr int kPartnerWithOwnStore = 21;
constexpr const char* kPostDrawName = "BookPostDraw";
// The group count's font shrinks until this many digits fit its label.
constexpr const char* kWidestCount = "99999";

void LogUnexpected() {
  MW_LOGM(kModule, MW_LOG_WARNING, "Unexpected behaviour");
}

bool EndsWithIgnoringCase(const std::string& text, const std::string& end) {
  if (text.size() < end.size())
    return false;
  return std::equal(end.rbegin(), end.rend(), text.rbegin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  });
}

// A loan licence is recognised by its file name; a licence the library knows only in the cloud
// (no local file, so no usable name) by its cloud file's extension.
bool IsLoanLicence(const Book& book) {
  constexpr size_t kShortestLicencePath = 6;
  if (book.path.size() >= kShortestLicencePath)
    return EndsWithIgnoringCase(book.path, ".acsm") || EndsWithIgnoringCase(book.path, ".lcpl");
  return book.cloud && !book.local && book.cloud_ext == "acsm";
}

// Store offers are pictures the store service left on the device, not books of the library.
bool IsStoreOffer(const Book& book) {
  return book.id <= 0 && book.path.empty() && !book.store_cover.empty();
}

MWLabel* LabelIn(const MWWindow* parent, const char* name) {
  return parent != nullptr ? parent->GetChildByName<MWLabel>(name) : nullptr;
}

void SetLabel(const MWWindow* parent, const char* name, const std::string& text) {
  if (MWLabel* label = LabelIn(parent, name))
    label->SetText(text);
}

int ReadingProgress(const Book& book) {
  if (!book.settings || book.settings->npage <= 0)
    return -1;
  const long long percent = 100LL * book.settings->cpage / book.settings->npage;
  return static_cast<int>(std::clamp(percent, 0LL, 100LL));
}

int FrameModeOf(const Book* book) {
  if (book != nullptr && !book->local)
    return GetCustomizedPartner() == kPartnerWithOwnStore ? BookItemPostDraw::kBook
                                                          : BookItemPostDraw::kCloudOnly;
  return BookItemPostDraw::kBook;
}

// The largest size up to the label's own at which the widest count fits its width.
void FitCountFont(MWLabel& label) {
  const MWFont* current = label.GetWindowFont();
  if (current == nullptr)
    return;
  MWFont font = *current;
  const int room = label.GetClientRect().w;
  while (font.size > 1 && MWGraphics::StringWidth(font, kWidestCount) > room) --font.size;
  if (!(font == *current))
    label.SetWindowFont(font);
}

}  // namespace

BookTileContent::BookTileContent(MWWindow& tile, bool load_covers_now)
    : tile_(tile), load_now_(load_covers_now) {}

MWWindow* BookTileContent::Part(const char* name) const {
  return tile_.GetChildByName(name);
}

void BookTileContent::Show(const char* name) {
  shown_.insert(name);
}

void BookTileContent::ApplyVisibility() {
  for (MWWindow* child : tile_.Children()) {
    if (child->GetName() == kPostDrawName)
      continue;
    child->SetVisible(shown_.count(child->GetName()) != 0);
  }
}

void BookTileContent::HideAll() {
  shown_.clear();
  ApplyVisibility();
}

BookTileContent::Frame BookTileContent::Fill(const std::shared_ptr<Item>& item, size_t index,
                                             bool own_item, size_t items_in_block) {
  shown_.clear();
  const Frame frame = Rules(item.get(), index, own_item, index == items_in_block);
  ApplyVisibility();
  return frame;
}

BookTileContent::Frame BookTileContent::Rules(const Item* item, size_t index, bool own_item,
                                              bool first_empty) {
  Frame frame;
  if (item == nullptr) {
    Empty(first_empty);
    frame.mode = BookItemPostDraw::kEmptySlot;
    return frame;
  }
  const Book* first = item->books_.empty() ? nullptr : item->books_.front().get();
  frame.mode = FrameModeOf(first);
  switch (item->type_) {
    case ITEM_ADDED:
      AddedBook(*item, index, own_item);
      break;
    case ITEM_OPENED:
      if (OpenedBook(*item, index, own_item) && first != nullptr)
        frame.progress = ReadingProgress(*first);
      break;
    case ITEM_ADDED_GROUP:
      if (!own_item || index >= item->books_.size()) {
        MultiAdded(*item);
      } else if (OpenedBook(*item, index, own_item)) {
        const Book* book = item->books_[index].get();
        frame.mode = FrameModeOf(book);
        frame.progress = book != nullptr ? ReadingProgress(*book) : -1;
      }
      break;
    case ITEM_MORE:
      Show("More");
      frame.mode = BookItemPostDraw::kMore;
      break;
    case ITEM_STORE_BOOK: {
      if (item->is_seria_) {
        Series(*item);
      } else {
        StoreBook(*item);
      }
      const bool audio_cover = first != nullptr && first->is_audio && shown_.count("NoCover") == 0;
      frame.mode = audio_cover ? BookItemPostDraw::kAudioBook : BookItemPostDraw::kBook;
      break;
    }
    default:
      // A detailed offer or a news entry belongs to the store block's own tiles.
      LogUnexpected();
      break;
  }
  return frame;
}

void BookTileContent::Empty(bool with_hint) {
  Show("Empty");
  MWWindow* empty = Part("Empty");
  if (empty == nullptr)
    return;
  MWLabel* text = LabelIn(empty, "EmptyText");
  MW_RETURN_VOID_IF(text == nullptr, "no \"EmptyText\" in \"Empty\"");
  // A screen of empty slots says once what they are for.
  text->SetVisible(with_hint);
  if (MWWindow* icon = empty->GetChildByName("EmptyIcon"))
    icon->SetVisible(with_hint);
}

bool BookTileContent::AddedBook(const Item& item, size_t index, bool own_item) {
  if (item.books_.size() != 1) {
    LogUnexpected();
    return false;
  }
  return OpenedBook(item, index, own_item);
}

bool BookTileContent::OpenedBook(const Item& item, size_t index, bool own_item) {
  if (item.books_.size() != 1 && !own_item) {
    LogUnexpected();
    return false;
  }
  const size_t position = own_item ? index : 0;
  const Book* book = position < item.books_.size() ? item.books_[position].get() : nullptr;
  if (book == nullptr) {
    LogUnexpected();
    return false;
  }
  MoreBooksBadge(item, *book, own_item);
  LicenceBadge(*book);
  Cover(*book);
  if (book->is_wishlist)
    Show("WishlistMark");
  LoanBadge(*book);
  if (book->is_sample)
    SampleBadge();
  CloudBadge(*book);
  if (book->settings && book->settings->favorite != 0)
    Show("Favorite");
  return true;
}

void BookTileContent::MoreBooksBadge(const Item& item, const Book& book, bool own_item) {
  if (!book.is_more || !own_item)
    return;
  Show("MoreBooks");
  const long long limit = DataManager::Instance()->getGroupLimit();
  const long long rest = static_cast<long long>(item.books_count_) - limit + 1;
  SetLabel(Part("MoreBooks"), "more", "+" + std::to_string(rest));
}

void BookTileContent::LicenceBadge(const Book& book) {
  if (!IsLoanLicence(book))
    return;
  const int status = utilities::DynamicLoadServiceWrapper::GetAcsmFileStatus(book.path);
  if (status == -1) {
    Show("Acsm");
    return;
  }
  Show("FulfillAcsm");
  SetLabel(Part("FulfillAcsm"), "percent", std::to_string(status) + "%");
}

SmartBitmap BookTileContent::BookCover(const Book& book, int width, int height) const {
  CoverCacheManager& covers = CoverCacheManager::Instance();
  if (IsStoreOffer(book))
    return covers.GetStoreCover(book.store_cover, book.store_id, width, height, load_now_);
  const std::string path = book.is_sample ? std::string() : book.path;
  return covers.GetCover(path, width, height, book.drm, book.fast_hash, book.resource_id,
                         load_now_);
}

int BookTileContent::BookCoverColor(const Book& book, int width, int height, int band) const {
  CoverCacheManager& covers = CoverCacheManager::Instance();
  if (IsStoreOffer(book))
    return covers.GetStoreAverageColor(book.store_cover, book.store_id, width, height, band);
  const std::string path = book.is_sample ? std::string() : book.path;
  return covers.GetAverageColor(path, width, height, book.drm, book.fast_hash, book.resource_id,
                                band);
}

void BookTileContent::SetCoverBitmap(MWBitmap* window, const SmartBitmap& bitmap) {
  if (window == nullptr)
    return;
  if (IsScreenInverted() == 0 || bitmap.IsEmpty()) {
    inverted_from_.erase(window);
    window->SetBitmap(bitmap);
    return;
  }
  auto found = inverted_from_.find(window);
  if (found != inverted_from_.end() && found->second.SharesPixelsWith(bitmap))
    return;
  inverted_from_[window] = bitmap;
  window->SetBitmap(pk_copy_inv_bitmap(bitmap));
}

void BookTileContent::SetBackground(const char* name, int color) {
  MWWindow* band = Part(name);
  if (band == nullptr || color < 0)
    return;
  if (band->GetBackgroundColor() != color)
    band->SetBackgroundColor(color);
  Show(name);
}

void BookTileContent::Cover(const Book& book) {
  MWWindow* cover = Part("Cover");
  SmartBitmap bitmap;
  if (cover != nullptr) {
    const MWRect client = cover->GetClientRect();
    bitmap = BookCover(book, client.w, client.h);
    if (!bitmap.IsEmpty()) {
      SetBackground("TopBackground", BookCoverColor(book, client.w, client.h, BITMAP_BAND_TOP));
      SetBackground("BottomBackground",
                    BookCoverColor(book, client.w, client.h, BITMAP_BAND_BOTTOM));
      const char* shown = book.is_audio && Part("AudioCover") != nullptr ? "AudioCover" : "Cover";
      Show(shown);
      SetCoverBitmap(Part(shown)->GetChildByName<MWBitmap>("cover"), bitmap);
      return;
    }
  }
  Show("NoCover");
  CoverSlots::FillNoCover(Part("NoCover"), book);
}

void BookTileContent::LoanBadge(const Book& book) {
  if (book.loan_exp < 1)
    return;
  using utilities::HumanStringUtility;
  const HumanStringUtility::DeadLine left =
      HumanStringUtility::HumanToDeadLine(book.loan_exp, static_cast<int64_t>(std::time(nullptr)));
  const char* name = left.IsOver() ? "LoanExpire" : "Loan";
  Show(name);
  MWLabel* label = LabelIn(Part(name), "text");
  if (label == nullptr)
    return;
  label->SetText(HumanStringUtility::LongFormat(left));
  if (!label->isFit())
    label->SetText(HumanStringUtility::ShortFormat(left));
}

void BookTileContent::SampleBadge() {
  auto* badge = dynamic_cast<LoanBackground*>(Part("Sample"));
  if (badge == nullptr)
    return;
  Show("Sample");
  MWLabel* label = LabelIn(badge, "text");
  if (label == nullptr)
    return;
  label->SetText(GetLangText("@Sample"));
  // The badge hugs its text: the icon's edge (where the label starts), the text, the margin.
  const MWRect rect = badge->GetRect();
  const int width = label->GetRect().x + label->TextWidth() + badge->GetRightMargin();
  badge->SetWindowPos(rect.Right() - width, rect.y, width, rect.h);
  label->SetWindowPos(label->GetRect().x, label->GetRect().y, label->TextWidth() + 1,
                      label->GetRect().h);
}

void BookTileContent::CloudBadge(const Book& book) {
  if (!book.cloud)
    return;
  const bool on_loan = book.loan_exp > 0;
  if (GetCustomizedPartner() == kPartnerWithOwnStore && !book.local) {
    Show(on_loan ? "LoanCloudNoLocal" : "CloudNoLocal");
    return;
  }
  Show(on_loan ? "LoanCloud" : "Cloud");
}

void BookTileContent::FillSlots(MWWindow* container, const Item& item, bool store_covers) {
  CoverSlots::Fill(container, item, [&](const Book& book, MWBitmap& slot) {
    const MWRect client = slot.GetClientRect();
    SmartBitmap bitmap = store_covers ? CoverCacheManager::Instance().GetStoreCover(
                                            book.store_cover, book.store_id, client.w, client.h,
                                            load_now_)
                                      : BookCover(book, client.w, client.h);
    SetCoverBitmap(&slot, bitmap);
    return bitmap;
  });
}

void BookTileContent::MultiAdded(const Item& item) {
  if (item.books_count_ < 2) {
    LogUnexpected();
    return;
  }
  // A group fresh from the library holds no books yet: its tile asks for them and shows the count
  // meanwhile.
  if (item.books_.size() < 2)
    DataManager::Instance()->requestBooksByTimestamp(item.timestamp_);
  Show("AddedCovers");
  FillSlots(Part("AddedCovers"), item, false);
  AddedInfo(item);
}

void BookTileContent::AddedInfo(const Item& item) {
  MWWindow* info = Part("AddedInfo");
  if (info == nullptr)
    return;
  Show("AddedInfo");
  SetLabel(info, "date", AddedDateText::Format(item.timestamp_, std::time(nullptr)));
  if (MWLabel* count = LabelIn(info, "count")) {
    FitCountFont(*count);
    count->SetText(std::to_string(item.books_count_));
  }
  const bool dyslexic = pk_text_dyslexic_font_enabled() != 0;
  MWLabel* plain = LabelIn(info, "new_books_label");
  MWLabel* dyslexic_label = LabelIn(info, "new_books_label_dyslexic");
  MWLabel* used = dyslexic && dyslexic_label != nullptr ? dyslexic_label : plain;
  if (plain != nullptr)
    plain->SetVisible(used == plain);
  if (dyslexic_label != nullptr)
    dyslexic_label->SetVisible(used == dyslexic_label);
  if (used != nullptr)
    used->SetText(GetLangTextPlural("@NewBooks", item.books_count_));
}

bool BookTileContent::Series(const Item& item) {
  if (item.books_count_ != 1 || item.books_.empty() || !item.books_.front()) {
    LogUnexpected();
    return false;
  }
  const Book& first = *item.books_.front();
  const char* name = first.is_audio ? "AudioSeriaContainer" : "SeriaContainer";
  Show(name);
  FillSlots(Part(name), item, true);
  if (first.is_wishlist)
    Show("WishlistMark");
  Rating(first);
  return true;
}

bool BookTileContent::StoreBook(const Item& item) {
  if (!AddedBook(item, 0, false))
    return false;
  Rating(*item.books_.front());
  return true;
}

void BookTileContent::Rating(const Book& book) {
  auto* stars = dynamic_cast<StarsContainer*>(Part("Stars"));
  if (stars == nullptr || book.rating < 0)
    return;
  Show("Stars");
  stars->SetRating(book.rating);
}

}  // namespace marrowleaf::desktop
