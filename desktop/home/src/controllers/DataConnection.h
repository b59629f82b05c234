#pragma once

#include "controllers/HomeData.h"

namespace marrowleaf::desktop {

class DataManager;

// Connects the controller to the process-wide data manager.
class DataConnection : public HomeData {
 public:
  explicit DataConnection(DataManager* data) : data_(data) {}

  void init() override;
  void SaveToCache() override;
  bool applyBookItems() override;
  void applyGroupBooks() override;
  bool getNotViewedNotificationsCount(int& count) override;
  void updateStorageIds() override;
  void requestBookItems(int slots) override;
  void requestNotViewedNotificationsCount() override;
  void requestBooksByTimestamp(int64_t timestamp) override;
  std::shared_ptr<Item> getItem(int block, int index) override;
  int getCurrentStoreBlock() override;
  std::string getStoreBlockName(int block) override;
  std::string getStoreBlockUrl(int block) override;
  int removeFromHome(const std::shared_ptr<Item>& item) override;
  void markAsRead(const std::shared_ptr<Book>& book, bool completed) override;
  int deleteBook(const std::shared_ptr<Book>& book) override;
  int deleteGroupFiles(const std::shared_ptr<Item>& item) override;
  bool hasCloudStorages() override;

 private:
  DataManager* data_;
};

}  // namespace marrowleaf::desktop
