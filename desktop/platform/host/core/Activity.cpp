#include "platform/sdk/activity.h"

#include "LoopControl.h"

void ReportBackgroundWork(int delta) {
  marrowleaf::platform::AddPendingWork(delta);
}
