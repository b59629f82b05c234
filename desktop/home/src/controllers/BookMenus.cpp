#include "controllers/BookMenus.h"

#include <cstdio>
#include <string>
#include <vector>

#include "controllers/BookMenuBuilder.h"
#include "controllers/Controller.h"
#include "controllers/TaskStarter.h"
#include "platform/mw/AccessibilityOpen.h"
#include "platform/mw/MWAppFrame.h"
#include "platform/sdk/clock.h"
#include "platform/sdk/dialogs.h"
#include "platform/sdk/lang.h"
#include "platform/sdk/log.h"
#include "platform/sdk/network.h"
#include "platform/sdk/screen.h"
#include "platform/sdk/tasks.h"
#include "platform/sdk/timers.h"
#include "platform/utils/BookStoreVersionProxy.h"
#include "platform/utils/DynamicLoadServiceWrapper.h"

namespace marrowleaf::desktop {
namespace {

using utilities::BookStoreVersionProxy;
using utilities::DynamicLoadServiceWrapper;

constexpr const char* kBookInfoPath = "/ebrmain/bin/bookinfo.app";
constexpr const char* kLcpHelperPath = "/ebrmain/bin/lcpdrmhelperui.app";
constexpr const char* kUploaderPath = "/ebrmain/bin/cloud_book_uploader.app";
constexpr const char* kUploaderName = "cloud_book_uploader.app";
constexpr const char* kDeleterPath = "/ebrmain/bin/cloud_book_deleter.app";
constexpr const char* kScannerPath = "/ebrmain/bin/scanner.app";
constexpr const char* kCloudDeleterTimer = "CloudDeleterTimeout";
constexpr int kScanRequest = 84;
constexpr int kScanRequestTimeoutMs = 2000;
constexpr int kUploaderFlags = 0x25;
constexpr int kCloseTries = 10;
constexpr int kCloseWaitMs = 100;
constexpr int kQuestionBytes = 1024;
constexpr int kNetworkMessageMs = 4000;
constexpr int kCloudFailureMessageMs = 3000;
constexpr int kDeleteFailedMessageMs = 4000;

bool IsSingleBook(const Item& item) {
  return item.type_ == ITEM_ADDED || item.type_ == ITEM_OPENED;
}

std::shared_ptr<Book> FirstBook(const std::shared_ptr<Item>& item) {
  return item && !item->books_.empty() ? item->books_.front() : nullptr;
}

bool NetworkUsable() {
  return GetNetState() == NET_CONNECTED || NetConnect2(nullptr, 1) == 0;
}

}  // namespace

void BookMenus::BuildBookMenu(const std::shared_ptr<Item>& item) {
  controller_.menu_item_ = item;
  PopupMenuItemDataList& menu = *controller_.menu_items_;
  if (!item) {
    menu.Clear();
    return;
  }
  if (!controller_.lcp_helper_)
    controller_.lcp_helper_ = utilities::createLCPDRMHelper();
  BookMenuBuilder::Facts facts;
  if (HomeData* data = controller_.parts_.data)
    facts = BookMenuBuilder::Gather(*item, *data, controller_.lcp_helper_.get());
  BookMenuBuilder::Build(*item, facts, menu);
}

bool BookMenus::OpenBookMenu(const std::shared_ptr<Item>& item, const MWRect& anchor) {
  BuildBookMenu(item);
  return controller_.OpenBuiltMenu(anchor);
}

void BookMenus::BookMenuAction(const std::shared_ptr<PopupMenuItemData>& entry) {
  const std::shared_ptr<Item> item = controller_.menu_item_;
  const std::shared_ptr<Book> book = FirstBook(item);
  if (!entry || !item)
    return;
  HomeData* data = controller_.parts_.data;
  switch (entry->action) {
    case BookMenuBuilder::kRemoveFromHome:
      if (data != nullptr)
        data->removeFromHome(item);
      controller_.RequestBookItems();
      break;
    case BookMenuBuilder::kOpenWith:
      if (book)
        OpenWith(*book, entry->data);
      break;
    case BookMenuBuilder::kDelete:
      if (book)
        AskToDelete(item, *book);
      break;
    case BookMenuBuilder::kBookInfo:
      if (book) {
        std::vector<std::string> arguments;
        if (!book->path.empty())
          arguments.push_back(book->path);
        arguments.push_back("--id");
        arguments.push_back(std::to_string(book->id));
        TaskStarter::Start(kBookInfoPath, arguments, "@BookInfo");
      }
      break;
    case BookMenuBuilder::kMarkAsRead:
    case BookMenuBuilder::kClearMark:
      ChangeReadMark(book, entry->action == BookMenuBuilder::kMarkAsRead);
      break;
    case BookMenuBuilder::kLoanReturn:
      if (book)
        DynamicLoadServiceWrapper::RunLoanTokenReturn(book->path, book->loan_id);
      break;
    case BookMenuBuilder::kBuy:
      if (book) {
        AccessibilityOpenTask(BookStoreVersionProxy::kStoreProgram, "@BookStore");
        BookStoreVersionProxy::openStoreBookCardForBuy(book->store_id);
      }
      break;
    case BookMenuBuilder::kRemoveFromCloud:
      if (book)
        AskToDeleteFromCloud(item, *book);
      break;
    case BookMenuBuilder::kLcpReturn:
    case BookMenuBuilder::kLcpRenew:
      if (book)
        StartLcpHelper(*book, entry->action == BookMenuBuilder::kLcpRenew);
      break;
    case BookMenuBuilder::kUploadToCloud:
      if (book)
        UploadToCloud(*book);
      break;
    default:
      MW_LOG(MW_LOG_WARNING, "Unhandled book menu action %d", entry->action);
      break;
  }
  LeaveAddBooksView();
  controller_.menu_item_.reset();
}

void BookMenus::LeaveAddBooksView() {
  HomeFrame* frame = controller_.frame_;
  if (frame == nullptr || controller_.state_ != STATE_ADD_BOOKS_VIEW ||
      !frame->AddBooksView().IsVisible())
    return;
  frame->AddBooksView().Hide();
  frame->MainView().Show();
  controller_.OpenState(STATE_MAIN_WINDOW, STATE_OPEN_RETURN);
}

// Every reader that has the file open lets it go first (asked, then made to), so that the chosen
// reader opens the file alone.
void BookMenus::OpenWith(const Book& book, const std::string& handler) {
  for (int force = 0; force <= 1; ++force) {
    for (int attempt = 0; attempt < kCloseTries; ++attempt) {
      int subtask = 0;
      const int task = FindTaskByBook(book.path.c_str(), &subtask);
      if (task < 0)
        break;
      CloseTask(task, subtask, force);
      platform::SleepMs(kCloseWaitMs);
    }
  }
  SetFileHandler(book.path.c_str(), handler.c_str());
  controller_.OpenBookAction(FirstBook(controller_.menu_item_));
}

void BookMenus::Ask(const std::string& question, int command) {
  controller_.Redraw();
  if (controller_.frame_ != nullptr)
    controller_.frame_->ReDrawFrame();
  if (MWAppFrame* frame = MWAppFrame::m_curFrame)
    frame->ShowDialog(ICON_QUESTION, "@Delete", question.c_str(), "@No", "@Yes", nullptr, command);
}

void BookMenus::AskToDelete(const std::shared_ptr<Item>& item, const Book& book) {
  controller_.pending_item_ = item;
  std::string question;
  if (IsSingleBook(*item)) {
    char text[kQuestionBytes];
    pk_lang_format(text, sizeof(text), "@AreYouSureYouWantToDeleteBookFromDevice_s",
                   book.title.c_str());
    question = text;
  } else {
    question = GetLangTextPlural("@AreYouSureYouWantToDeleteBookFromDevice", item->books_count_);
  }
  Ask(question, CMD_CONFIRM_DELETE);
}

void BookMenus::AskToDeleteFromCloud(const std::shared_ptr<Item>& item, const Book& book) {
  controller_.pending_item_ = item;
  char text[kQuestionBytes];
  pk_lang_format(text, sizeof(text), "@Delete_book_from_cloud", book.title.c_str());
  Ask(text, CMD_CONFIRM_CLOUD_DELETE);
}

void BookMenus::ChangeReadMark(const std::shared_ptr<Book>& book, bool completed) {
  if (!book)
    return;
  controller_.storeEmpikUsageStatisticsEvent(book, completed ? "product_finish" : "product_unfinish");
  if (HomeData* data = controller_.parts_.data)
    data->markAsRead(book, completed);
  controller_.RequestBookItems();
  if (controller_.frame_ != nullptr)
    controller_.frame_->MainView().MarkAsChanged();
}

void BookMenus::StartLcpHelper(const Book& book, bool renew) {
  if (!NetworkUsable()) {
    const char* text = GetLangText("@NET_ENETWORK");
    Message(ICON_ERROR, text, text, kNetworkMessageMs);
    return;
  }
  const char* action = renew ? "RenewLoan" : "EarlyReturn";
  TaskStarter::Start(kLcpHelperPath, {action, book.path}, renew ? "@RenewLoan" : "@Loan_return");
  if (renew)
    MW_LOG(MW_LOG_INFO, "res = %s %s", kLcpHelperPath, action);
}

void BookMenus::UploadToCloud(const Book& book) {
  const std::string id = std::to_string(book.id);
  const char* const argv[] = {kUploaderPath, id.c_str(), nullptr};
  NewTask(kUploaderPath, argv, kUploaderName, kUploaderName, 0, kUploaderFlags);
}

void BookMenus::ConfirmDelete(int answer) {
  const std::shared_ptr<Item> item = std::move(controller_.pending_item_);
  controller_.pending_item_.reset();
  HomeData* data = controller_.parts_.data;
  if (answer != kAnswerYes || !item || data == nullptr)
    return;
  int kept = 0;
  if (IsSingleBook(*item)) {
    kept = data->deleteBook(FirstBook(item));
  } else if (item->type_ == ITEM_ADDED_GROUP) {
    if (item->books_count_ > kHourglassBooks)
      ShowHourglassForce();
    kept = data->deleteGroupFiles(item);
  }
  // A write-protected card keeps its files; the reader must know that they are still there.
  if (kept > 0)
    Message(ICON_WARNING, "@Delete", "@DeleteFailed", kDeleteFailedMessageMs);
  FinishDeletion();
}

void BookMenus::ConfirmCloudDelete(int answer) {
  const std::shared_ptr<Item> item = controller_.pending_item_;
  if (answer != kAnswerYes || !item) {
    controller_.pending_item_.reset();
    return;
  }
  const std::shared_ptr<Book> book = FirstBook(item);
  if (!IsSingleBook(*item) || !book || book->id == 0) {
    FinishDeletion();
    controller_.pending_item_.reset();
    return;
  }
  // One deletion at a time: the reader sees the outcome of each.
  if (CloudDeleterRunning()) {
    ReportCloudFailure();
    return;
  }
  const std::string id = std::to_string(book->id);
  const char* const argv[] = {kDeleterPath, id.c_str(), nullptr};
  cloud_deleter_ = StartTaskReportingEnd(kDeleterPath, argv, kCloudDeleterEnded);
  if (cloud_deleter_ < 0) {
    ReportCloudFailure();
    return;
  }
  SetHardTimerEx(kCloudDeleterTimer, &BookMenus::CloudDeleterTimeout, this,
                 kCloudDeleterTimeoutMs);
}

void BookMenus::OnCloudDeleterEnded(int status) {
  // A deleter that was given up on (its time ran out) has been answered already.
  if (!CloudDeleterRunning())
    return;
  cloud_deleter_ = -1;
  ClearTimerByName(kCloudDeleterTimer);
  if (status != 0) {
    ReportCloudFailure();
    return;
  }
  FinishDeletion();
  controller_.pending_item_.reset();
}

void BookMenus::CloudDeleterTimeout(void* context) {
  auto* menus = static_cast<BookMenus*>(context);
  const int task = menus->cloud_deleter_;
  if (task < 0)
    return;
  menus->cloud_deleter_ = -1;
  MW_LOG(MW_LOG_WARNING, "cloud deleter [%d] did not end in %d ms", task, kCloudDeleterTimeoutMs);
  CloseTask(task, 0, 1);
  menus->ReportCloudFailure();
}

void BookMenus::ReportCloudFailure() {
  Message(ICON_ERROR, "@FailedToRemoveFileFromCloud", "@FailedToRemoveFileFromCloud",
          kCloudFailureMessageMs);
}

void BookMenus::FinishDeletion() {
  RequestRescan("");
  controller_.RequestBookItems();
}

void BookMenus::RequestRescan(const std::string& path) {
  const int scanner = FindTaskByAppName(kScannerPath);
  if (scanner <= 0)
    return;
  const std::string payload = path.empty() ? std::string() : "-scan:" + path;
  SendRequestTo(scanner, kScanRequest, payload.c_str(), static_cast<int>(payload.size()), 0,
                kScanRequestTimeoutMs);
}

}  // namespace marrowleaf::desktop
