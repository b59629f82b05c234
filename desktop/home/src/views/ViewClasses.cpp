#include "views/ViewClasses.h"

#include <memory>

#include "platform/mw/WindowFactory.h"
#include "views/AddBooksView.h"
#include "views/AppItem.h"
#include "views/ApplicationContainer.h"
#include "views/ApplicationsList.h"
#include "views/ApplicationsView.h"
#include "views/BindScrollBookGrid.h"
#include "views/BookItem.h"
#include "views/BookItemPostDraw.h"
#include "views/DesktopContainer.h"
#include "views/DetailedBookItem.h"
#include "views/LoanBackground.h"
#include "views/MainViewHelper.h"
#include "views/NewsItem.h"
#include "views/PointsContainer.h"
#include "views/StarsContainer.h"
#include "views/popup_menu/PopupMenu.h"
#include "views/popup_menu/PopupMenuList.h"
#include "views/popup_menu/PopupMenuRow.h"

namespace marrowleaf::desktop {
namespace {

template <typename T>
void Register(const char* name) {
  WindowFactory::Register(name, [] { return std::unique_ptr<MWWindow>(new T()); });
}

}  // namespace

void RegisterViewClasses() {
  Register<AddBooksView>("AddBooksView");
  Register<BindScrollBookGrid>("BindScrollBookGrid");
  Register<AppItem>("AppItem");
  Register<ApplicationContainer>("ApplicationContainer");
  Register<ApplicationsList>("ApplicationsList");
  Register<ApplicationsView>("ApplicationsView");
  Register<BookItem>("BookItem");
  Register<BookItemPostDraw>("BookItemPostDraw");
  Register<StarsContainer>("StarsContainer");
  Register<LoanBackground>("LoanBackground");
  Register<DesktopContainer>("DesktopContainer");
  Register<DetailedBookItem>("DetailedBookItem");
  Register<MainViewHelper>("MainViewHelper");
  Register<NewsItem>("NewsItem");
  Register<PointsContainer>("PointsContainer");
  Register<PopupMenu>("PopupMenu");
  Register<PopupMenuList>("PopupMenuList");
  Register<PopupMenuRow>("PopupMenuRow");
}

}  // namespace marrowleaf::desktop
