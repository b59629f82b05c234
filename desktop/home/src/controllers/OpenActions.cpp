#include "controllers/OpenActions.h"

#include <string>

#include "controllers/Controller.h"
#include "controllers/TaskStarter.h"
#include "platform/mw/AccessibilityOpen.h"
#include "platform/sdk/dialogs.h"
#include "platform/sdk/events.h"
#include "platform/sdk/files.h"
#include "platform/sdk/log.h"
#include "platform/sdk/network.h"
#include "platform/sdk/timers.h"
#include "platform/utils/BookStoreVersionProxy.h"
#include "platform/utils/DynamicLoadServiceWrapper.h"

namespace marrowleaf::desktop {
namespace {

using utilities::BookStoreVersionProxy;
using utilities::DynamicLoadServiceWrapper;

constexpr const char* kLibrary = "/ebrmain/bin/explorer.app";
constexpr const char* kGalleryTask = "gallery.app";
constexpr const char* kMediaExplorer = "mediaexplorer.app";
constexpr int kRedrawItemMs = 1500;
constexpr int kMissingBookMessageMs = 3000;
// The reader's flags for a book opened from the home screen.
constexpr int kBookFlags = 1;

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

void OpenActions::OpenBook(const std::shared_ptr<Book>& book) {
  MW_RETURN_VOID_IF(!book, "no book");
  if (book->is_more) {
    OpenGroupInLibrary();
  } else if (book->cloud && !book->local) {
    // The book opens once it is downloaded: the reader hears which one first.
    AccessibilityOpenBook(book->title.c_str());
    DynamicLoadServiceWrapper::MWCloudDownloadAndOpenBook(book->id);
  } else if (EndsWith(book->path, ".lcpl") || EndsWith(book->path, ".acsm")) {
    FulfilLicence(book->path);
  } else if (EndsWith(book->path, ".file")) {
    DownloadPartnerBook(book->path);
  } else {
    OpenInReader(book);
  }
}

// The "more" tile of the add-books grid: the library shows every book of that moment.
void OpenActions::OpenGroupInLibrary() {
  HomeFrame* frame = controller_.Frame();
  const std::shared_ptr<Item> group = frame != nullptr ? frame->AddBooksView().GetItem() : nullptr;
  if (!group)
    return;
  TaskStarter::Start(kLibrary, {"-a/" + std::to_string(group->timestamp_)}, "@Library");
}

// Licences are fulfilled online; without a network nothing happens (the tile stays as it is).
void OpenActions::FulfilLicence(const std::string& path) {
  if (NetConnect(nullptr) != 0)
    return;
  DynamicLoadServiceWrapper::AddAcsmToFulfillmentQueue(path, -1, "");
  controller_.Redraw();
  DynamicLoadServiceWrapper::RunAcsmFulfill();
}

// The tiles show the download's progress: they are drawn again through the cover path once the
// downloader has had time to start. Two taps within the delay arm one timer.
void OpenActions::DownloadPartnerBook(const std::string& path) {
  DynamicLoadServiceWrapper::RunMencaDownloader(path);
  if (QueryTimer(&OpenActions::RedrawItemTimer) == 0)
    SetHardTimer("RedrawItemTimer", &OpenActions::RedrawItemTimer, kRedrawItemMs);
}

void OpenActions::RedrawItemTimer() {
  SendEvent(GetEventHandler(), EVT_USERDEFINED, kCoverReadyNotification, 0);
}

// A book whose file went away since the library was scanned would start the reader on nothing:
// the reader is told instead, and the home screen asks for its books again.
void OpenActions::OpenInReader(const std::shared_ptr<Book>& book) {
  if (book->path.empty() || pk_access(book->path.c_str(), 0) != 0) {
    Message(ICON_WARNING, book->title.c_str(), "@BookFileMissing", kMissingBookMessageMs);
    controller_.RequestBookItems();
    return;
  }
  controller_.storeEmpikUsageStatisticsEvent(book, "product_open");
  TaskStarter::OpenBook(book->path, book->title, nullptr, kBookFlags);
}

void OpenActions::OpenApplication(const std::shared_ptr<AppData>& app) {
  MW_RETURN_VOID_IF(!app || !app->known(), "no application");
  const AppJsonDBData& record = *app->record();
  const std::string& path = record.path();
  if (path.find(kMediaExplorer) != std::string::npos) {
    const int gallery = FindTaskByAppName(kGalleryTask);
    if (gallery != -1) {
      SetActiveTask(gallery, 0);
      return;
    }
  }
  if (BookStoreVersionProxy::isStoreApplication(path)) {
    AccessibilityOpenTask(BookStoreVersionProxy::kStoreProgram, "@BookStore");
    if (BookStoreVersionProxy::openStore({}) != 0)
      TaskStarter::ReportFailedStart("@BookStore");
    return;
  }
  TaskStarter::Start(path, record.params(), record.title());
}

}  // namespace marrowleaf::desktop
