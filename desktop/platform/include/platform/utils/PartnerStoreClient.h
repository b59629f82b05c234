#pragma once

#include <memory>

namespace marrowleaf::utilities {

// The client of the store service of a partner that runs its own store (customised partner 21):
// it knows whether the reader has activated the partner's recommendations on this device.
class PartnerStoreClient {
 public:
  virtual ~PartnerStoreClient() = default;
  // Nonzero when the reader activated the partner's store on this device.
  virtual int IsActivated() const = 0;
  // Starts the activation (the partner's sign-in).
  virtual void Activate() = 0;
};

// The partner store client, created once per process; nullptr on devices of other partners.
std::shared_ptr<PartnerStoreClient> createTeaClient();

}  // namespace marrowleaf::utilities
