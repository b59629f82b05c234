#include "controllers/CoverConnection.h"

#include "data/CoverCacheManager.h"

namespace marrowleaf::desktop {

void CoverConnection::OnCoverReady() { covers_->OnCoverReady(); }

void CoverConnection::SaveCache() { covers_->SaveCache(); }

}  // namespace marrowleaf::desktop
