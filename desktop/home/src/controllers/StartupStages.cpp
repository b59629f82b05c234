#include "controllers/StartupStages.h"

#include <chrono>
#include <set>
#include <string>

#include "platform/sdk/log.h"

namespace marrowleaf::desktop {

void StartupStages::Mark(const char* stage) {
  static auto* marked = new std::set<std::string>();
  if (!marked->insert(stage).second)
    return;
  const long long now = std::chrono::duration_cast<std::chrono::microseconds>(
                            std::chrono::steady_clock::now().time_since_epoch())
                            .count();
  MW_LOG(MW_LOG_VERBOSE, "start-up stage [%s] at [%lld] us", stage, now);
}

}  // namespace marrowleaf::desktop
