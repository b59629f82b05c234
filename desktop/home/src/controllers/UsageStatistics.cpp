#include "controllers/UsageStatistics.h"

#include <map>

#include "platform/sdk/device.h"
#include "platform/sdk/log.h"
#include "platform/utils/CfgWrapper.h"
#include "platform/utils/DbManager.h"
#include "platform/utils/UsageStatisticsManager.h"

namespace marrowleaf::desktop {
namespace {

bool CarriesUserId(const std::string& event) {
  return event == "product_open" || event == "product_download";
}

std::string PartnerUser() {
  const utilities::CfgWrapper info(UsageStatistics::kInfoPath);
  return info.read("user_email");
}

}  // namespace

UsageStatistics::UsageStatistics() = default;
UsageStatistics::~UsageStatistics() = default;

void UsageStatistics::StoreEvent(const std::shared_ptr<Book>& book, const std::string& event) {
  MW_RETURN_VOID_IF(event.empty(), "");
  MW_RETURN_VOID_IF(
      PARTNER_LEGIMI != GetCustomizedPartner() && PARTNER_EMPIKGO != GetCustomizedPartner(), "");
  MW_RETURN_VOID_IF(!book, "no book");
  const std::string empik_id = utilities::db::DbManager::Instance()->GetFileProp(
      book->fast_hash, utilities::db::kFilePropPartnerId);
  MW_RETURN_VOID_IF(empik_id.empty(), "");
  const std::string empik_user = PartnerUser();
  MW_RETURN_VOID_IF(empik_user.empty(), "");
  if (!statistics_manager_)
    statistics_manager_ = utilities::createUsageStatisticsManager();
  std::map<std::string, std::string> parameters = {{"product_id", empik_id},
                                                   {"destination", "MW_dashboard"}};
  if (CarriesUserId(event))
    parameters["user_id"] = empik_user;
  statistics_manager_->recordEvent("empik-2", event, "desktop", parameters);
}

}  // namespace marrowleaf::desktop
