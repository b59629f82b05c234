#include "platform/utils/PartnerStoreClient.h"

#include <mutex>

#include "DeviceProfile.h"
#include "Journal.h"
#include "platform/sdk/device.h"

namespace marrowleaf::utilities {
namespace {

constexpr int kPartnerWithOwnStore = 21;

// The simulator's client: whether the reader activated the partner's store is the device profile's
// "partner_store_activated"; activating records the request in the journal, where the partner's
// sign-in program would take over.
class SimulatedPartnerStoreClient : public PartnerStoreClient {
 public:
  int IsActivated() const override {
    return platform::DeviceProfile::Get().Int("partner_store_activated") != 0 ? 1 : 0;
  }
  void Activate() override {
    Json::Value fields(Json::objectValue);
    fields["call"] = "activate";
    platform::Journal::Append("partner-store", std::move(fields));
  }
};

}  // namespace

std::shared_ptr<PartnerStoreClient> createTeaClient() {
  static std::once_flag made;
  static std::shared_ptr<PartnerStoreClient>* client = new std::shared_ptr<PartnerStoreClient>();
  std::call_once(made, [] {
    if (GetCustomizedPartner() == kPartnerWithOwnStore)
      *client = std::make_shared<SimulatedPartnerStoreClient>();
  });
  return *client;
}

}  // namespace marrowleaf::utilities
