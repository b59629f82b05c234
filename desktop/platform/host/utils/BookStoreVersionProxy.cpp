// The store tasks of the simulator: each opens the store program of the device with the page in
// its arguments (an argument vector, never a shell), journaled as "store" and as the task it
// starts.
#include "platform/utils/BookStoreVersionProxy.h"

#include <json/value.h>

#include "DeviceProfile.h"
#include "Journal.h"
#include "platform/sdk/log.h"
#include "platform/sdk/tasks.h"

namespace marrowleaf::utilities {
namespace {

constexpr int kDefaultStoreVersion = 2;

bool Acceptable(const std::vector<std::string>& arguments) {
  for (const std::string& argument : arguments) {
    if (argument.size() > BookStoreVersionProxy::kMaxArgumentBytes)
      return false;
  }
  return true;
}

// Refused calls (complete false: the page's book is missing) are journaled as well.
int OpenStorePage(const char* call, const std::vector<std::string>& arguments,
                  bool complete = true) {
  Json::Value fields;
  fields["call"] = call;
  fields["args"] = platform::ToJsonArray(arguments);
  platform::Journal::Append("store", fields);
  MW_RETURN_IF(!complete, -1, "no book for %s", call);
  MW_RETURN_IF(!Acceptable(arguments), -1, "store arguments too long for %s", call);
  std::vector<const char*> argv;
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  const int task = OpenTask(BookStoreVersionProxy::kStoreProgram, static_cast<int>(argv.size()),
                            argv.data(), TASK_FLAG_SWITCH);
  return task > 0 ? 0 : -1;
}

}  // namespace

int BookStoreVersionProxy::storeVersion(bool /*refresh*/) {
  const int version = platform::DeviceProfile::Get().Int("store_version");
  return version > 0 ? version : kDefaultStoreVersion;
}

bool BookStoreVersionProxy::isStoreApplication(const std::string& path) {
  return path == kStoreProgram;
}

int BookStoreVersionProxy::openStore(const std::vector<std::string>& arguments) {
  return OpenStorePage("open", arguments);
}

int BookStoreVersionProxy::openStoreRecomendationBook(const std::string& promotion,
                                                      const std::string& book) {
  return OpenStorePage("recommendation_book", {"-recommendation", promotion, book}, !book.empty());
}

int BookStoreVersionProxy::openRecomendationMore(const std::string& promotion,
                                                 const std::string& link) {
  std::vector<std::string> arguments = {"-more", promotion};
  if (!link.empty())
    arguments.push_back(link);
  return OpenStorePage("recommendation_more", arguments);
}

int BookStoreVersionProxy::openStoreBookCardForBuy(const std::string& store_id) {
  return OpenStorePage("book_card", {"-buy", store_id}, !store_id.empty());
}

}  // namespace marrowleaf::utilities
