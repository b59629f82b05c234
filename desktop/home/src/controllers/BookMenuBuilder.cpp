#include "controllers/BookMenuBuilder.h"

#include <algorithm>
#include <cctype>
#include <ctime>

#include "controllers/HomeData.h"
#include "platform/sdk/filetypes.h"
#include "platform/sdk/lang.h"
#include "views/ThemeImage.h"
#include "views/popup_menu/PopupMenuItemData.h"

namespace marrowleaf::desktop {
namespace {

using Entry = PopupMenuItemData;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos)
    return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// An entry with an icon of the theme (none for an empty name).
std::shared_ptr<Entry> MakeEntry(int action, const char* text_key, const char* icon,
                                 const std::string& data = std::string()) {
  auto entry = std::make_shared<Entry>(action, data, Entry::kKindOrdinary, GetLangText(text_key));
  entry->icon = ThemeImage::Load(icon);
  return entry;
}

// Cuts text to at most max bytes without splitting a character.
std::string CutUtf8(std::string text, size_t max) {
  if (text.size() <= max)
    return text;
  size_t cut = max;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xc0) == 0x80) --cut;
  text.resize(cut);
  return text;
}

void Replace(std::string& text, const std::string& marker, const std::string& value) {
  const size_t at = text.find(marker);
  if (at != std::string::npos)
    text.replace(at, marker.size(), value);
}

bool CarriesLicence(const std::string& extension) {
  return extension == "lcpl" || extension == "epub" || extension == "lcpdf";
}

}  // namespace

std::string BookMenuBuilder::Extension(const std::string& path) {
  const size_t slash = path.rfind('/');
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
    return "";
  return Lower(path.substr(dot + 1));
}

std::string BookMenuBuilder::BuyText(const std::string& text, const std::string& price,
                                     const std::string& old_price) {
  // The old price goes in first: "%strike" begins with "%s".
  std::string result = text;
  Replace(result, "%strike", old_price);
  Replace(result, "%s", price);
  return CutUtf8(result, kMaxBuyTextBytes);
}

std::vector<std::string> BookMenuBuilder::HandlersOf(const std::string& extension) {
  std::vector<std::string> handlers;
  const FileTypeInfo* types = GetSupportedFileTypes();
  const int count = GetSupportedFileTypesLength();
  for (int i = 0; types != nullptr && i < count; ++i) {
    if (types[i].extension == nullptr || Lower(types[i].extension) != extension)
      continue;
    const std::string list = types[i].handlers != nullptr ? types[i].handlers : "";
    size_t start = 0;
    while (start <= list.size()) {
      const size_t comma = std::min(list.find(',', start), list.size());
      const std::string name = Trimmed(list.substr(start, comma - start));
      if (!name.empty())
        handlers.push_back(name);
      start = comma + 1;
    }
    break;
  }
  return handlers;
}

BookMenuBuilder::Facts BookMenuBuilder::Gather(const Item& item, HomeData& data,
                                               utilities::LCPDRMHelper* helper) {
  Facts facts;
  facts.now = static_cast<int64_t>(std::time(nullptr));
  const bool single = item.type_ == ITEM_ADDED || item.type_ == ITEM_OPENED;
  const Book* book = item.books_.empty() ? nullptr : item.books_.front().get();
  if (book == nullptr || !single)
    return facts;
  const std::string extension = Extension(book->path);
  if (helper != nullptr && CarriesLicence(extension))
    facts.lcp = helper->readLicense(book->path);
  facts.handlers = HandlersOf(extension);
  if (book->local && !book->cloud && !book->is_sample)
    facts.has_cloud_storages = data.hasCloudStorages();
  return facts;
}

void BookMenuBuilder::Build(const Item& item, const Facts& facts, PopupMenuItemDataList& menu) {
  menu.Clear();
  menu.placement = PopupMenuItemDataList::kRight | PopupMenuItemDataList::kLeft;
  const bool single = item.type_ == ITEM_ADDED || item.type_ == ITEM_OPENED;
  const bool group = item.type_ == ITEM_ADDED_GROUP;
  const Book* book = item.books_.empty() ? nullptr : item.books_.front().get();
  const std::string extension = book != nullptr ? Extension(book->path) : "";

  if (book != nullptr && book->is_sample) {
    const bool discount = !book->store_price_old.empty();
    const char* key = discount ? "@BuySampleWithDiscount" : "@BuySampleWithoutDiscount";
    auto buy = MakeEntry(kBuy, key, "bookstore");
    buy->text = BuyText(GetLangText(key), book->store_price, book->store_price_old);
    menu.Add(buy);
  }
  menu.Add(MakeEntry(kRemoveFromHome, "@RemoveFromHomeScreen", "close_circle"));
  if (single && book != nullptr) {
    const utilities::LCPLicenseData& licence = facts.lcp.license();
    if (CarriesLicence(extension) && facts.lcp.isParsed() && licence.hasStatus() &&
        licence.isLoaned()) {
      menu.Add(MakeEntry(kLcpReturn, "@Loan_return", "early_return"));
      if (extension == "epub" && licence.canRenew(facts.now))
        menu.Add(MakeEntry(kLcpRenew, "@RenewLoan", "renew_loan"));
    }
    // A protected PDF opens only in its own reader; a type without readers has no choice to offer.
    const bool protected_pdf = extension == "pdf" && book->drm == 1;
    if (!protected_pdf && !facts.handlers.empty()) {
      auto handlers = std::make_shared<PopupMenuItemDataList>();
      for (const std::string& handler : facts.handlers) {
        handlers->Add(std::make_shared<Entry>(kOpenWith, handler, Entry::kKindOrdinary,
                                              GetLangText(handler.c_str())));
      }
      auto open_with = std::make_shared<Entry>(Entry::kKindOrdinary, GetLangText("@OpenWith"),
                                               handlers);
      open_with->icon = ThemeImage::Load("e3_menu_open");
      menu.Add(open_with);
    }
  }
  if (book != nullptr)
    menu.Add(MakeEntry(kBookInfo, "@BookInfo", "book_info"));
  if (book != nullptr && book->settings) {
    if (book->settings->completed == 0)
      menu.Add(MakeEntry(kMarkAsRead, "@Mark_as_read", "mark_as_read"));
    else if (book->settings->completed == 1)
      menu.Add(MakeEntry(kClearMark, "@Clear_mark", "clear_mark"));
  }
  if (single && book != nullptr && book->local && !book->cloud && !book->is_sample &&
      facts.has_cloud_storages)
    menu.Add(MakeEntry(kUploadToCloud, "@UploadToCloud", "add_to_cloud"));
  if ((single && book != nullptr && book->local) || group)
    menu.Add(MakeEntry(kDelete, "@DeleteBook", "delete_book"));
  if (single && book != nullptr && !book->loan_id.empty() && book->loan_exp >= 1)
    menu.Add(MakeEntry(kLoanReturn, "@Loan_return", "e3_menu_borrowed"));
  if (single && book != nullptr && book->cloud)
    menu.Add(MakeEntry(kRemoveFromCloud, "@RemoveFromCloud", "remove_cloud"));
}

}  // namespace marrowleaf::desktop
