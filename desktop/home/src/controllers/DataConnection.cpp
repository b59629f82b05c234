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

}  // namespace marrowleaf::desktop
