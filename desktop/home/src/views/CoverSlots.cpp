#include "views/CoverSlots.h"

#include <string>

#include "platform/mw/MWBitmap.h"
#include "platform/mw/MWLabel.h"

namespace marrowleaf::desktop {

void CoverSlots::FillNoCover(MWWindow* no_cover, const Book& book) {
  if (no_cover == nullptr)
    return;
  if (auto* title = no_cover->GetChildByName<MWLabel>("title"))
    title->SetText(book.title);
  if (auto* author = no_cover->GetChildByName<MWLabel>("author"))
    author->SetText(book.author);
}

void CoverSlots::Fill(MWWindow* container, const Item& item, const CoverLoader& load) {
  if (container == nullptr)
    return;
  for (size_t n = 1;; ++n) {
    const std::string number = std::to_string(n);
    auto* cover = container->GetChildByName<MWBitmap>("cover_" + number);
    MWWindow* no_cover = container->GetChildByName("no_cover_" + number);
    if (cover == nullptr && no_cover == nullptr)
      break;
    const Book* book = n <= item.books_.size() ? item.books_[n - 1].get() : nullptr;
    const bool has_cover = book != nullptr && cover != nullptr && !load(*book, *cover).IsEmpty();
    if (cover != nullptr)
      cover->SetVisible(has_cover);
    if (no_cover != nullptr)
      no_cover->SetVisible(book != nullptr && !has_cover);
    if (book != nullptr && !has_cover)
      FillNoCover(no_cover, *book);
  }
}

}  // namespace marrowleaf::desktop
