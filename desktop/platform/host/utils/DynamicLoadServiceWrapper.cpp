// The download service of the simulator: every operation is journaled ("dynamic-load") and handed
// to a helper program of the device, started behind the home screen from an argument vector. The
// sample device's helpers are stand-ins that record how they were started.
#include "platform/utils/DynamicLoadServiceWrapper.h"

#include <json/value.h>

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "Journal.h"
#include "TaskManager.h"
#include "platform/sdk/log.h"

namespace marrowleaf::utilities {
namespace {

constexpr const char* kCloudDownloader = "/ebrmain/bin/cloud_book_downloader.app";
constexpr const char* kFulfiller = "/ebrmain/bin/acsm_fulfiller.app";
constexpr const char* kMencaDownloader = "/ebrmain/bin/menca_downloader.app";
constexpr const char* kLoanReturn = "/ebrmain/bin/loan_return.app";

struct QueuedFile {
  std::string data;
  bool running = false;
};

// The fulfilment queue and the progress the tiles show. Never destroyed: the helper's end is
// reported on the reaper's thread, which may still run while the process ends.
struct FulfilmentState {
  std::mutex mutex;
  std::map<std::string, int> percent_by_path;
  std::map<std::string, QueuedFile> queue;
  std::vector<std::string> order;
};

FulfilmentState& State() {
  static auto* state = new FulfilmentState();
  return *state;
}

bool Acceptable(const std::string& text) {
  return !text.empty() && text.size() <= DynamicLoadServiceWrapper::kMaxArgumentBytes;
}

void JournalCall(const char* call, Json::Value fields) {
  fields["call"] = call;
  platform::Journal::Append("dynamic-load", std::move(fields));
}

// Starts a helper behind the home screen; -1 when it can't be started.
int StartHelper(const char* program, std::vector<std::string> arguments,
                std::function<void(int code)> on_end = nullptr) {
  platform::TaskStart start;
  start.program = program;
  start.arguments = std::move(arguments);
  start.on_end = std::move(on_end);
  const int task = platform::TaskManager::Get().Start(start);
  MW_RETURN_IF(task < 0, -1, "can't start %s", program);
  return 0;
}

void ForgetFiles(const std::vector<std::string>& paths) {
  FulfilmentState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  for (const std::string& path : paths) {
    state.queue.erase(path);
    state.percent_by_path.erase(path);
  }
  std::vector<std::string> order;
  for (const std::string& path : state.order) {
    if (state.queue.count(path) != 0)
      order.push_back(path);
  }
  state.order.swap(order);
}

}  // namespace

int DynamicLoadServiceWrapper::GetAcsmFileStatus(const std::string& path) {
  FulfilmentState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  auto found = state.percent_by_path.find(path);
  return found == state.percent_by_path.end() ? -1 : found->second;
}

void DynamicLoadServiceWrapper::SetAcsmFileStatus(const std::string& path, int percent) {
  FulfilmentState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (percent < 0) {
    state.percent_by_path.erase(path);
  } else {
    state.percent_by_path[path] = percent > 100 ? 100 : percent;
  }
}

int DynamicLoadServiceWrapper::MWCloudDownloadAndOpenBook(int64_t book_id) {
  Json::Value fields;
  fields["id"] = static_cast<Json::Int64>(book_id);
  JournalCall("cloud_download_and_open", fields);
  MW_RETURN_IF(book_id <= 0, -1, "no cloud book %lld", static_cast<long long>(book_id));
  return StartHelper(kCloudDownloader, {"--open", std::to_string(book_id)});
}

int DynamicLoadServiceWrapper::AddAcsmToFulfillmentQueue(const std::string& path, int priority,
                                                         const std::string& data) {
  Json::Value fields;
  fields["path"] = path;
  fields["priority"] = priority;
  JournalCall("queue", fields);
  MW_RETURN_IF(!Acceptable(path) || data.size() > kMaxArgumentBytes, -1, "refused licence file");
  FulfilmentState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (state.queue.count(path) != 0)
    return 0;
  state.queue[path] = QueuedFile{data, false};
  if (priority >= 0 && static_cast<size_t>(priority) < state.order.size()) {
    state.order.insert(state.order.begin() + priority, path);
  } else {
    state.order.push_back(path);
  }
  state.percent_by_path[path] = 0;
  return 0;
}

int DynamicLoadServiceWrapper::RunAcsmFulfill() {
  std::vector<std::string> files;
  std::vector<std::string> arguments;
  {
    FulfilmentState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    for (const std::string& path : state.order) {
      QueuedFile& file = state.queue[path];
      if (file.running)
        continue;
      file.running = true;
      files.push_back(path);
      arguments.push_back(path);
      if (!file.data.empty())
        arguments.push_back("--data=" + file.data);
    }
  }
  Json::Value fields;
  fields["files"] = platform::ToJsonArray(files);
  JournalCall("fulfil", fields);
  if (files.empty())
    return 0;
  // The helper reports each file's end itself on the device; here the whole batch ends with it.
  // The end is recorded before the files leave the queue, so whoever sees a file's status clear
  // also finds its end in the journal.
  auto finished = [files](int code) {
    Json::Value result;
    result["files"] = platform::ToJsonArray(files);
    result["code"] = code;
    JournalCall("fulfilled", result);
    ForgetFiles(files);
  };
  if (StartHelper(kFulfiller, arguments, finished) != 0) {
    ForgetFiles(files);
    return -1;
  }
  return 0;
}

int DynamicLoadServiceWrapper::RunMencaDownloader(const std::string& path) {
  Json::Value fields;
  fields["path"] = path;
  JournalCall("partner_download", fields);
  MW_RETURN_IF(!Acceptable(path), -1, "refused download");
  return StartHelper(kMencaDownloader, {path});
}

int DynamicLoadServiceWrapper::RunLoanTokenReturn(const std::string& path,
                                                  const std::string& loan_id) {
  Json::Value fields;
  fields["path"] = path;
  fields["loan_id"] = loan_id;
  JournalCall("loan_return", fields);
  MW_RETURN_IF(!Acceptable(path) || !Acceptable(loan_id), -1, "refused loan return");
  return StartHelper(kLoanReturn, {path, loan_id});
}

}  // namespace marrowleaf::utilities
