#pragma once

#include "controllers/CoverCache.h"

namespace marrowleaf::desktop {

class CoverCacheManager;

// Connects the controller to the process-wide cover cache manager.
class CoverConnection : public CoverCache {
 public:
  explicit CoverConnection(CoverCacheManager* covers) : covers_(covers) {}

  void OnCoverReady() override;
  void SaveCache() override;

 private:
  CoverCacheManager* covers_;
};

}  // namespace marrowleaf::desktop
