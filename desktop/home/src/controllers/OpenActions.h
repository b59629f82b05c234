#pragma once

#include <memory>

#include "data/AppData.h"
#include "data/Book.h"

namespace marrowleaf::desktop {

class Controller;

// Opening one book or one application, shared by the home screen, the add-books grid and the
// applications screen. A book opens in its reader, or goes to the download service when it is only
// in the cloud, a licence to fulfil (".acsm", ".lcpl") or a partner's placeholder (".file"); the
// "more" tile of a group opens the library at that group. Event-loop thread only.
class OpenActions {
 public:
  explicit OpenActions(Controller& controller) : controller_(controller) {}

  void OpenBook(const std::shared_ptr<Book>& book);
  void OpenApplication(const std::shared_ptr<AppData>& app);

 private:
  void OpenGroupInLibrary();
  void FulfilLicence(const std::string& path);
  void DownloadPartnerBook(const std::string& path);
  void OpenInReader(const std::shared_ptr<Book>& book);
  static void RedrawItemTimer();

  Controller& controller_;
};

}  // namespace marrowleaf::desktop
