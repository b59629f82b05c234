#pragma once

#include <memory>
#include <string>

#include "data/Item.h"
#include "platform/mw/MWRect.h"
#include "views/popup_menu/PopupMenuItemData.h"

namespace marrowleaf::desktop {

class Controller;

// The context menu of book tiles, opened by a long press on a tile of the home screen or of the
// add-books grid, and what its entries do: take the item off the home screen, open the book with
// another reader, show its details, set or take off the read mark, delete it from the device or
// the cloud after the reader confirmed it, upload it, buy a sample, return or renew a loan. Works on
// the controller's menu state (the item the menu is for, the item a confirmation is about, the LCP
// helper). Event-loop thread only.
class BookMenus {
 public:
  // The answers of the two confirmations (the dialog's buttons "@No", "@Yes").
  static constexpr int kAnswerNo = 1;
  static constexpr int kAnswerYes = 2;
  // A deletion of more books than this shows the hourglass.
  static constexpr int kHourglassBooks = 10;
  // A cloud deleter still running after this long is stopped and the deletion reported failed.
  static constexpr int kCloudDeleterTimeoutMs = 30000;
  // The parameter of command 300 by which the cloud deleter's end is reported.
  static constexpr int kCloudDeleterEnded = 50200;

  explicit BookMenus(Controller& controller) : controller_(controller) {}

  // Fills the controller's menu entries for the item and remembers the item.
  void BuildBookMenu(const std::shared_ptr<Item>& item);
  // Builds the item's menu and opens it next to the anchor (screen coordinates); false when the item
  // offers nothing.
  bool OpenBookMenu(const std::shared_ptr<Item>& item, const MWRect& anchor);
  void BookMenuAction(const std::shared_ptr<PopupMenuItemData>& entry);

  // The reader answered a confirmation (command 501 or 502 with the button).
  void ConfirmDelete(int answer);
  void ConfirmCloudDelete(int answer);
  // The cloud deleter ended with an exit status (command 300 with kCloudDeleterEnded).
  void OnCloudDeleterEnded(int status);
  bool CloudDeleterRunning() const { return cloud_deleter_ > 0; }

  // Asks the library's scanner, when it runs, to scan a path again ("" for every storage).
  static void RequestRescan(const std::string& path);

 private:
  void OpenWith(const Book& book, const std::string& handler);
  void AskToDelete(const std::shared_ptr<Item>& item, const Book& book);
  void AskToDeleteFromCloud(const std::shared_ptr<Item>& item, const Book& book);
  void Ask(const std::string& question, int command);
  void ChangeReadMark(const std::shared_ptr<Book>& book, bool completed);
  void StartLcpHelper(const Book& book, bool renew);
  void UploadToCloud(const Book& book);
  // The library changed: the scanner and the home screen's list are brought up to date.
  void FinishDeletion();
  void ReportCloudFailure();
  void LeaveAddBooksView();
  static void CloudDeleterTimeout(void* context);

  Controller& controller_;
  int cloud_deleter_ = -1;
};

}  // namespace marrowleaf::desktop
