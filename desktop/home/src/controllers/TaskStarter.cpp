#include "controllers/TaskStarter.h"

#include "platform/mw/AccessibilityOpen.h"
#include "platform/sdk/dialogs.h"
#include "platform/sdk/log.h"

namespace marrowleaf::desktop {
namespace {

constexpr int kFailedStartMessageMs = 3000;

}  // namespace

int TaskStarter::Start(const std::string& path, const std::vector<std::string>& arguments,
                       const std::string& what, int flags) {
  AccessibilityOpenTask(path.c_str(), what.c_str());
  std::vector<const char*> argv;
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  const int task = OpenTask(path.c_str(), static_cast<int>(argv.size()), argv.data(), flags);
  MW_LOG(MW_LOG_INFO, "res = %s %d", path.c_str(), task);
  if (task < 0)
    ReportFailedStart(what.empty() ? path : what);
  return task;
}

int TaskStarter::OpenBook(const std::string& path, const std::string& title,
                          const char* parameters, int flags) {
  AccessibilityOpenBook(title.c_str());
  const int task = ::OpenBook(path.c_str(), parameters, flags);
  if (task < 0)
    ReportFailedStart(title.empty() ? path : title);
  return task;
}

void TaskStarter::ReportFailedStart(const std::string& what) {
  Message(ICON_WARNING, what.c_str(), "@CantStartApplication",
          kFailedStartMessageMs);
}

}  // namespace marrowleaf::desktop
