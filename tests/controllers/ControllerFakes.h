#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "controllers/Controller.h"
#include "controllers/Highlightable.h"
#include "controllers/WindowlessScreen.h"
#include "platform/mw/MWWindow.h"

namespace marrowleaf::desktop {

// What the controller's tests give it instead of the real frame, data manager, cover cache and
// Wi-Fi check: each records what it was asked.
class TestFrame : public HomeFrame {
 public:
  MainScreen& MainView() override { return main_view; }
  AddBooksScreen& AddBooksView() override { return add_books_view; }
  Screen& ApplicationsView() override { return applications_view; }
  Screen& WiFiDialog() override { return wifi_dialog; }
  std::shared_ptr<MenuScreen> GetPopupMenu(int level) override {
    while (static_cast<int>(menus.size()) <= level) menus.push_back(std::make_shared<WindowlessScreen>());
    return menus[static_cast<size_t>(level)];
  }
  void SetPointeredWindow(MenuScreen* menu) override { pointered = menu; }
  int CreateFrameWindow() override { return 0; }
  int RunLoop() override { return 0; }
  void MarkFrameChanged() override { ++frame_changes; }
  void ReDrawFrame() override { ++redraws; }
  void SetColorFlag(bool color) override { color_flag = color; }

  WindowlessScreen main_view;
  WindowlessScreen add_books_view;
  WindowlessScreen applications_view;
  WindowlessScreen wifi_dialog;
  std::vector<std::shared_ptr<WindowlessScreen>> menus;
  MenuScreen* pointered = nullptr;
  int frame_changes = 0;
  int redraws = 0;
  bool color_flag = false;
};

class RecordingData : public HomeData {
 public:
  void SaveToCache() override { calls.push_back("save"); }
  bool applyBookItems() override {
    calls.push_back("apply");
    return apply_result;
  }
  void applyGroupBooks() override { calls.push_back("groups"); }
  void init() override { calls.push_back("init"); }
  bool getNotViewedNotificationsCount(int& count) override {
    count = notifications;
    return true;
  }
  void updateStorageIds() override { calls.push_back("storages"); }
  void requestBookItems(int slots) override { calls.push_back("request:" + std::to_string(slots)); }
  void requestNotViewedNotificationsCount() override { calls.push_back("notifications"); }
  void requestBooksByTimestamp(int64_t timestamp) override {
    calls.push_back("timestamp:" + std::to_string(timestamp));
  }
  std::shared_ptr<Item> getItem(int block, int index) override {
    auto found = items.find({block, index});
    return found == items.end() ? nullptr : found->second;
  }
  int getCurrentStoreBlock() override { return STORE_BLOCK_BASE; }
  std::string getStoreBlockName(int) override { return store_name; }
  std::string getStoreBlockUrl(int) override { return store_url; }
  int removeFromHome(const std::shared_ptr<Item>&) override {
    calls.push_back("remove");
    return 0;
  }
  void markAsRead(const std::shared_ptr<Book>&, bool completed) override {
    calls.push_back(completed ? "read" : "unread");
  }
  int deleteBook(const std::shared_ptr<Book>& book) override {
    calls.push_back("delete:" + std::to_string(book ? book->id : 0));
    return files_kept;
  }
  int deleteGroupFiles(const std::shared_ptr<Item>& item) override {
    calls.push_back("delete-group:" + std::to_string(item ? item->timestamp_ : 0));
    return files_kept;
  }
  bool hasCloudStorages() override { return cloud_storages; }

  std::vector<std::string> calls;
  std::map<std::pair<int, int>, std::shared_ptr<Item>> items;
  std::string store_name = "weekly";
  std::string store_url;
  bool apply_result = true;
  bool cloud_storages = false;
  int files_kept = 0;
  int notifications = 0;
};

class RecordingCovers : public CoverCache {
 public:
  void OnCoverReady() override { ++ready; }
  void SaveCache() override { ++saves; }
  int ready = 0;
  int saves = 0;
};

class RecordingWiFi : public WiFiPrompt {
 public:
  void CheckShowWiFiDialog() override { ++checks; }
  int checks = 0;
};

// An application tile that only remembers whether it is highlighted.
class WindowlessTile : public MWWindow, public Highlightable {
 public:
  void SetHighlighted(bool on) override { highlighted = on; }
  bool highlighted = false;
};

}  // namespace marrowleaf::desktop
