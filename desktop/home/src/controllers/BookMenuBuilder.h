#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/Item.h"
#include "platform/utils/LCPDRMHelper.h"
#include "views/popup_menu/PopupMenuItemDataList.h"

namespace marrowleaf::desktop {

class HomeData;

// The context menu of a book tile, built as data for the popup menu: which entries an item offers
// follows from the item's type and its first book (local or in the cloud, a sample, lent, read), the
// book's LCP licence, the readers of its file type and whether the device has a cloud storage.
// Gather reads those facts from the device; Build is then a plain function of the item and the
// facts. The entries carry the actions that BookActions carries out.
class BookMenuBuilder {
 public:
  enum Action : int {
    kRemoveFromHome = 1001,
    kOpenWith = 1002,
    kDelete = 1003,
    kBookInfo = 1004,
    kMarkAsRead = 1005,
    kClearMark = 1006,
    kLoanReturn = 1007,
    kRemoveFromCloud = 1008,
    kLcpReturn = 1009,
    kLcpRenew = 1010,
    kBuy = 1011,
    kUploadToCloud = 1012,
  };
  // The longest buy text, in bytes.
  static constexpr size_t kMaxBuyTextBytes = 255;

  struct Facts {
    bool has_cloud_storages = false;
    // The book's licence; read only for the types that carry one ("lcpl", "epub", "lcpdf").
    utilities::LCPData lcp;
    // The readers that open the book's file type, the default first.
    std::vector<std::string> handlers;
    // Seconds since the epoch: a loan that has ended can't be renewed.
    int64_t now = 0;
  };

  static Facts Gather(const Item& item, HomeData& data, utilities::LCPDRMHelper* helper);
  // Fills menu with the item's entries (it is emptied first); its placement becomes right or left
  // of the tile.
  static void Build(const Item& item, const Facts& facts, PopupMenuItemDataList& menu);

  // The extension of a path's file name in lower case, "" when it has none.
  static std::string Extension(const std::string& path);
  // The buy entry's text: the price in place of the text's "%s", the old price in place of its
  // "%strike", cut to kMaxBuyTextBytes.
  static std::string BuyText(const std::string& text, const std::string& price,
                             const std::string& old_price);

 private:
  static std::vector<std::string> HandlersOf(const std::string& extension);
};

}  // namespace marrowleaf::desktop
