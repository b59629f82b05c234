#include "views/BookItemSpeech.h"

#include "platform/sdk/lang.h"
#include "platform/utils/HumanStringUtility.h"

namespace marrowleaf::desktop {
namespace {

std::string Joined(const std::string& first, const std::string& second) {
  if (first.empty())
    return second;
  return second.empty() ? first : first + ": " + second;
}

void AddBookParts(const Book& book, time_t now, std::vector<std::string>* parts) {
  parts->push_back(Joined(book.title, book.author));
  if (book.cloud)
    parts->push_back(GetLangText("@AccessibilityBookInCloud"));
  if (book.loan_exp >= 1) {
    using utilities::HumanStringUtility;
    const auto left = HumanStringUtility::HumanToDeadLine(book.loan_exp, now);
    if (left.IsOver()) {
      parts->push_back(GetLangText("@LoanPeriodHasBeenExpired"));
    } else {
      char text[256];
      pk_lang_format(text, sizeof text, "@Loans", HumanStringUtility::LongFormat(left).c_str());
      parts->push_back(text);
    }
  }
  if (book.id <= 0 && !book.store_url.empty())
    parts->push_back(GetLangText("@AccessibilityRecommendationBook"));
}

}  // namespace

std::vector<std::string> BookItemSpeech::Parts(const Item* item, size_t book_index,
                                               bool own_item, time_t now) {
  std::vector<std::string> parts;
  if (item == nullptr)
    return parts;
  const bool whole_group =
      item->type_ == ITEM_ADDED_GROUP && (!own_item || book_index >= item->books_.size());
  if (whole_group) {
    parts.push_back(std::to_string(item->books_count_) + " " +
                    GetLangTextPlural("@NewBooks", item->books_count_));
    parts.push_back(GetLangText("@AccessibilityButton"));
    return parts;
  }
  if (item->type_ == ITEM_MORE) {
    parts.push_back(GetLangText("@AccessibilityMoreBooks"));
    parts.push_back(GetLangText("@AccessibilityButton"));
    return parts;
  }
  const size_t index = own_item ? book_index : 0;
  if (index < item->books_.size() && item->books_[index])
    AddBookParts(*item->books_[index], now, &parts);
  return parts;
}

}  // namespace marrowleaf::desktop
