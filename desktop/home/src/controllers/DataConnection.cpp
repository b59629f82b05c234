#include "controllers/DataConnection.h"

#include "data/DataManager.h"

namespace marrowleaf::desktop {

void DataConnection::init() { data_->init(); }
void DataConnection::SaveToCache() { data_->SaveToCache(); }
bool DataConnection::applyBookItems() { return data_->applyBookItems(); }
void DataConnection::applyGroupBooks() { data_->applyGroupBooks(); }
bool DataConnection::getNotViewedNotificationsCount(int& count) {
  return data_->getNotViewedNotificationsCount(count);
}
void DataConnection::updateStorageIds() { data_->updateStorageIds(); }
void DataConnection::requestBookItems(int slots) { data_->requestBookItems(slots); }
void DataConnection::requestNotViewedNotificationsCount() {
  data_->requestNotViewedNotificationsCount();
}
int DataConnection::removeFromHome(const std::shared_ptr<Item>& item) {
  return data_->removeFromHome(item);
}
void DataConnection::markAsRead(const std::shared_ptr<Book>& book, bool completed) {
  data_->markAsRead(book, completed);
}
int DataConnection::deleteBook(const std::shared_ptr<Book>& book) { return data_->deleteBook(book); }
int DataConnection::deleteGroupFiles(const std::shared_ptr<Item>& item) {
  return data_->deleteGroupFiles(item);
}
bool DataConnection::hasCloudStorages() { return data_->hasCloudStorages(); }

void DataConnection::requestBooksByTimestamp(int64_t timestamp) {
  data_->requestBooksByTimestamp(timestamp);
}
std::shared_ptr<Item> DataConnection::getItem(int block, int index) {
  return index < 0 ? nullptr : data_->getItem(block, static_cast<size_t>(index));
}
int DataConnection::getCurrentStoreBlock() { return data_->getCurrentStoreBlock(); }
std::string DataConnection::getStoreBlockName(int block) { return data_->getStoreBlockName(block); }
std::string DataConnection::getStoreBlockUrl(int block) { return data_->getStoreBlockUrl(block); }

}  // namespace marrowleaf::desktop
