#pragma once

#include <string>

#include "data/Book.h"

namespace marrowleaf::desktop {

// Opening the store from the home screen: a recommended book, a news link, a promotion's whole list
// and the activation of the store's recommendations. Partners that run their own store get their
// own programs: 21 its partner store (through the partner store client), 14 and 15 their store
// programs, 17 and 19 the store program with the promotion; every other partner (0 included) the
// device's store through the store version proxy. Event-loop thread only.
class StoreActions {
 public:
  static constexpr int kPartnerOwnStore = 21;
  static constexpr int kPartnerUmbreit = 14;
  static constexpr int kPartnerKnv = 15;
  static constexpr int kPartnerPromotionA = 17;
  static constexpr int kPartnerPromotionB = 19;

  // A store tile's book of the promotion shown. True when the reader was handed to the device's
  // store (the home screen then keeps its store-widget mode once).
  static bool OpenStoreBook(const Book& book, const std::string& promotion);
  // A news tile's link; true when it was opened.
  static bool OpenNews(const Book& book);
  // The store block's "more" button: the whole promotion.
  static void OpenStoreBlock(const std::string& promotion, const std::string& link);
  // The "activate" button of the recommendations.
  static void ActivateRecommendations();

 private:
  static void ShowHourglassWithoutNetwork();
  static void OpenPartnerStore(const std::string& link);
  static void ActivatePartnerStore();
  static void CloseBrowser();
};

}  // namespace marrowleaf::desktop
