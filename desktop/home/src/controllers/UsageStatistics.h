#pragma once

#include <memory>
#include <string>

#include "data/Book.h"

namespace marrowleaf::utilities {
class UsageStatisticsManager;
}

namespace marrowleaf::desktop {

// The usage events that the partners with their own reading services collect about their books
// (opening one, finishing it, taking the finished mark off). Only on devices customised for those
// partners, only for books bought there (they carry the partner's id), and only once the reader has
// signed in to the partner (its static information names the user). Event-loop thread only.
class UsageStatistics {
 public:
  static constexpr int PARTNER_LEGIMI = 18;
  static constexpr int PARTNER_EMPIKGO = 24;
  static constexpr const char* kInfoPath = "/mnt/ext1/system/empik-2/empik_static_info/info.txt";

  UsageStatistics();
  ~UsageStatistics();

  // Records the event ("product_open", "product_download", "product_finish",
  // "product_unfinish") for the book, or logs why it doesn't.
  void StoreEvent(const std::shared_ptr<Book>& book, const std::string& event);

 private:
  std::shared_ptr<utilities::UsageStatisticsManager> statistics_manager_;
};

}  // namespace marrowleaf::desktop
