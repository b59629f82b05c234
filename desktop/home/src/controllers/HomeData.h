#pragma once

#include <memory>
#include <string>

#include "data/Item.h"

namespace marrowleaf::desktop {

// The home-screen data as the controller uses it: the data manager's requests, results and cache.
class HomeData {
 public:
  virtual ~HomeData() = default;
  virtual void SaveToCache() = 0;
  virtual bool applyBookItems() = 0;
  virtual void applyGroupBooks() = 0;
  // Loads the saved home screen and starts the queries.
  virtual void init() = 0;
  // True with the count when the last notifications query produced one.
  virtual bool getNotViewedNotificationsCount(int& count) = 0;
  virtual void updateStorageIds() = 0;
  virtual void requestBookItems(int slots) = 0;
  virtual void requestNotViewedNotificationsCount() = 0;
  // The books added at one moment (a group's other books).
  virtual void requestBooksByTimestamp(int64_t timestamp) = 0;

  // The item of a block at an index; empty outside the block.
  virtual std::shared_ptr<Item> getItem(int block, int index) = 0;
  // The store block shown now, and the promotion name and link of a block.
  virtual int getCurrentStoreBlock() = 0;
  virtual std::string getStoreBlockName(int block) = 0;
  virtual std::string getStoreBlockUrl(int block) = 0;
  // The edits of the book menu: 0 when the library took the change.
  virtual int removeFromHome(const std::shared_ptr<Item>& item) = 0;
  virtual void markAsRead(const std::shared_ptr<Book>& book, bool completed) = 0;
  // Deletes the book's files on the device and their library rows; the number of files that could
  // not be deleted.
  virtual int deleteBook(const std::shared_ptr<Book>& book) = 0;
  // The same for the files of every book of a group.
  virtual int deleteGroupFiles(const std::shared_ptr<Item>& item) = 0;
  // True when the device has a cloud storage to upload books to.
  virtual bool hasCloudStorages() = 0;
};

}  // namespace marrowleaf::desktop
