#include "controllers/StoreActions.h"

#include <vector>

#include "controllers/TaskStarter.h"
#include "platform/mw/AccessibilityOpen.h"
#include "platform/sdk/clock.h"
#include "platform/sdk/device.h"
#include "platform/sdk/log.h"
#include "platform/sdk/network.h"
#include "platform/sdk/screen.h"
#include "platform/utils/BookStoreVersionProxy.h"
#include "platform/utils/PartnerStoreClient.h"

namespace marrowleaf::desktop {
namespace {

using utilities::BookStoreVersionProxy;

constexpr const char* kBrowser = "/ebrmain/bin/browser.app";
constexpr const char* kStore = "/ebrmain/bin/bookstore.app";
constexpr const char* kBinFolder = "/ebrmain/bin/";
constexpr const char* kBookStoreText = "@BookStore";
constexpr int kPromotionFlags = 0x81;
constexpr int kBrowserCloseWaitMs = 3000;
constexpr int kNetworkUpBits = 0xf00;
constexpr int kStoreVersionById = 2;

bool IsPromotionPartner(int partner) {
  return partner == StoreActions::kPartnerPromotionA || partner == StoreActions::kPartnerPromotionB;
}

void StartBrowser(const std::vector<std::string>& arguments) {
  TaskStarter::Start(kBrowser, arguments, kBookStoreText);
}

}  // namespace

void StoreActions::ShowHourglassWithoutNetwork() {
  if ((QueryNetwork() & kNetworkUpBits) == 0)
    ShowHourglassForce();
}

bool StoreActions::OpenStoreBook(const Book& book, const std::string& promotion) {
  ShowHourglassWithoutNetwork();
  const int partner = GetCustomizedPartner();
  if (partner == kPartnerOwnStore) {
    OpenPartnerStore(book.store_url);
    return false;
  }
  if (partner == kPartnerUmbreit || partner == kPartnerKnv) {
    MW_RETURN_IF(book.store_url.empty(), false, "store tile without a link");
    const std::string program = std::string(kBinFolder) +
                                (partner == kPartnerKnv ? "knv_store_app" : "umbreit_store_app");
    TaskStarter::Start(program, {"-url=" + book.store_url}, kBookStoreText);
    return false;
  }
  if (IsPromotionPartner(partner)) {
    MW_RETURN_IF(book.store_url.empty(), false, "store tile without a link");
    TaskStarter::Start(kStore, {"-promotion", book.store_url}, kBookStoreText, kPromotionFlags);
    return false;
  }
  const bool by_id = BookStoreVersionProxy::storeVersion(false) == kStoreVersionById;
  const std::string& address = by_id ? book.store_id : book.store_url;
  MW_RETURN_IF(address.empty(), false, "store tile without a link");
  AccessibilityOpenTask(kStore, kBookStoreText);
  if (BookStoreVersionProxy::openStoreRecomendationBook(promotion, address) != 0)
    TaskStarter::ReportFailedStart(kBookStoreText);
  return true;
}

// The partner's own store: its page in the browser once the reader has activated it on this
// device, otherwise the activation.
void StoreActions::OpenPartnerStore(const std::string& link) {
  const std::shared_ptr<utilities::PartnerStoreClient> client = utilities::createTeaClient();
  MW_RETURN_VOID_IF(!client, "no partner store client");
  if (client->IsActivated() != 0) {
    MW_RETURN_VOID_IF(link.empty(), "store tile without a link");
    StartBrowser({"-store", "-nostartlogo", "-notoolbar", "-fullscreen", link});
    return;
  }
  CloseBrowser();
  client->Activate();
}

// The activation runs in the browser too: one left open would keep the old page.
void StoreActions::CloseBrowser() {
  const int browser = FindTaskByAppName(kBrowser);
  if (browser == -1)
    return;
  MW_LOG(MW_LOG_INFO, "Killing browser with pid [%d]", browser);
  CloseTask(browser, -1, 1);
  platform::SleepMs(kBrowserCloseWaitMs);
}

bool StoreActions::OpenNews(const Book& book) {
  if (book.store_url.empty())
    return false;
  ShowHourglassWithoutNetwork();
  StartBrowser({"-store", "-nostartlogo", "-simpletoolbar", book.store_url});
  return true;
}

void StoreActions::OpenStoreBlock(const std::string& promotion, const std::string& link) {
  const int partner = GetCustomizedPartner();
  if (partner == kPartnerOwnStore) {
    if (!link.empty())
      StartBrowser({"-store", "-nostartlogo", "-notoolbar", "-fullscreen", link});
    return;
  }
  if (IsPromotionPartner(partner)) {
    MW_RETURN_VOID_IF(link.empty(), "store block without a link");
    TaskStarter::Start(kStore, {"-promotion", link}, kBookStoreText, kPromotionFlags);
    return;
  }
  AccessibilityOpenTask(kStore, kBookStoreText);
  if (BookStoreVersionProxy::openRecomendationMore(promotion, link) != 0)
    TaskStarter::ReportFailedStart(kBookStoreText);
}

void StoreActions::ActivateRecommendations() {
  const int manager = NetMgrStatus();
  if (manager == 0 || manager == -1)
    NetMgr(1);
  if (GetCustomizedPartner() == kPartnerOwnStore) {
    ActivatePartnerStore();
  } else {
    NetConnect(nullptr);
  }
  MW_LOG(MW_LOG_VERBOSE, "TODO: Run activate recommendation service");
}

void StoreActions::ActivatePartnerStore() {
  if (NetConnect2(nullptr, 0) != 0)
    return;
  const std::shared_ptr<utilities::PartnerStoreClient> client = utilities::createTeaClient();
  if (!client)
    return;
  CloseBrowser();
  client->Activate();
}

}  // namespace marrowleaf::desktop
