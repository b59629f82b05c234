#pragma once

#include <string>
#include <vector>

namespace marrowleaf::utilities {

// The device's book store as the other programs reach it: which store version the firmware runs
// and the store tasks that open it on a page. Every call that opens the store starts the store
// program ("/ebrmain/bin/bookstore.app") in front of the home screen, with the page in its
// arguments, and is written to the simulator's journal as event "store" with the call's name.
// Results are 0 when the store was started, -1 when it could not be. Event-loop thread only.
class BookStoreVersionProxy {
 public:
  static constexpr const char* kStoreProgram = "/ebrmain/bin/bookstore.app";
  // Longest text passed on to the store.
  static constexpr size_t kMaxArgumentBytes = 8192;

  // The store generation the firmware runs: 2 addresses books by store id, 3 by link. The
  // simulator reads the device profile's "store_version" (default 2); refresh asks again.
  static int storeVersion(bool refresh);
  // True when an application path is the store program itself (the catalogue's store entry).
  static bool isStoreApplication(const std::string& path);
  // Opens the store's start page with extra arguments.
  static int openStore(const std::vector<std::string>& arguments);
  // Opens a recommended book of a promotion: book is its store id or its link.
  static int openStoreRecomendationBook(const std::string& promotion, const std::string& book);
  // Opens the whole list of a promotion.
  static int openRecomendationMore(const std::string& promotion, const std::string& link);
  // Opens a book's store card with its buy button.
  static int openStoreBookCardForBuy(const std::string& store_id);
};

}  // namespace marrowleaf::utilities
