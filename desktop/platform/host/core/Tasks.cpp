// The task functions of the SDK: each call is written to the journal, then carried out by the
// TaskManager on real child processes. The calls that stand in for other services of the device
// (requests to tasks, IPC commands, file handlers) only record what was asked.
#include "platform/sdk/tasks.h"

#include <json/value.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "Journal.h"
#include "LoopControl.h"
#include "ProcessLauncher.h"
#include "ReaderRegistry.h"
#include "ScriptPlayer.h"
#include "TaskManager.h"
#include "platform/sdk/events.h"
#include "platform/sdk/log.h"

using marrowleaf::platform::Journal;
using marrowleaf::platform::ProcessLauncher;
using marrowleaf::platform::ReaderRegistry;
using marrowleaf::platform::TaskManager;
using marrowleaf::platform::TaskStart;
using marrowleaf::platform::ToJsonArray;

namespace {

constexpr size_t kMaxPayloadBytes = 4096;

std::string Text(const char* text) {
  return text ? text : "";
}

// Copies count arguments; false when one of them is missing or there are too many.
bool CopyArguments(int count, const char* const* argv, std::vector<std::string>* arguments) {
  if (count <= 0)
    return true;
  if (argv == nullptr || static_cast<size_t>(count) > ProcessLauncher::kMaxArguments)
    return false;
  for (int i = 0; i < count; ++i) {
    if (argv[i] == nullptr)
      return false;
    arguments->emplace_back(argv[i]);
  }
  return true;
}

// Copies a nullptr-terminated list; false when it doesn't end within the limit.
bool CopyTerminatedArguments(const char* const* argv, std::vector<std::string>* arguments) {
  if (argv == nullptr)
    return true;
  for (size_t i = 0; argv[i] != nullptr; ++i) {
    if (i >= ProcessLauncher::kMaxArguments)
      return false;
    arguments->emplace_back(argv[i]);
  }
  return true;
}

// The reader's extra argument text, split at spaces; runs of spaces make no empty arguments.
std::vector<std::string> SplitAtSpaces(const std::string& text) {
  std::vector<std::string> words;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find(' ', start);
    const size_t stop = end == std::string::npos ? text.size() : end;
    if (stop > start)
      words.push_back(text.substr(start, stop - start));
    start = stop + 1;
  }
  return words;
}

// A request's payload for the journal: its text when it is text (a trailing NUL dropped), else hex.
void AddPayload(const void* data, int length, Json::Value* fields) {
  if (data == nullptr || length <= 0) {
    (*fields)["payload"] = "";
    return;
  }
  const size_t size = std::min(static_cast<size_t>(length), kMaxPayloadBytes);
  std::string payload(static_cast<const char*>(data), size);
  while (!payload.empty() && payload.back() == '\0') payload.pop_back();
  if (payload.find('\0') == std::string::npos && marrowleaf::platform::IsValidUtf8(payload)) {
    (*fields)["payload"] = payload;
    return;
  }
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char byte : payload) {
    hex.push_back(kDigits[byte >> 4]);
    hex.push_back(kDigits[byte & 0xf]);
  }
  (*fields)["payload_hex"] = hex;
}

void JournalTaskStart(const std::string& path, const std::vector<std::string>& arguments, int flags,
                      Json::Value fields = Json::Value(Json::objectValue)) {
  fields["path"] = path;
  fields["args"] = ToJsonArray(arguments);
  fields["flags"] = flags;
  Journal::Append("task", fields);
}

// A task takes the screen unless it is asked to start behind the home screen.
bool TakesScreen(unsigned int flags) {
  return (flags & TASK_FLAG_SWITCH) != 0 && (flags & TASK_FLAG_BACKGROUND) == 0;
}

int StartApplication(const std::string& path, std::vector<std::string> arguments,
                     unsigned int flags, std::function<void(int code)> on_end = nullptr) {
  TaskStart start;
  start.program = path;
  start.arguments = std::move(arguments);
  start.takes_screen = TakesScreen(flags);
  start.on_end = std::move(on_end);
  return TaskManager::Get().Start(start);
}

}  // namespace

int OpenTask(const char* path, int argc, const char* const* argv, int flags) {
  MW_RETURN_IF(path == nullptr, -1, "no path");
  std::vector<std::string> arguments;
  MW_RETURN_IF(!CopyArguments(argc, argv, &arguments), -1, "bad arguments for %s", path);
  JournalTaskStart(path, arguments, flags);
  return StartApplication(path, std::move(arguments), static_cast<unsigned int>(flags));
}

int NewTask(const char* path, const char* const* argv, const char* name, const char* title,
            int /*reserved*/, unsigned int flags) {
  MW_RETURN_IF(path == nullptr, -1, "no path");
  std::vector<std::string> arguments;
  MW_RETURN_IF(!CopyTerminatedArguments(argv, &arguments), -1, "bad arguments for %s", path);
  // The vector is a full one: its first entry is the program's own name, which the launcher sets.
  if (!arguments.empty())
    arguments.erase(arguments.begin());
  Json::Value fields;
  fields["name"] = Text(name);
  fields["title"] = Text(title);
  JournalTaskStart(path, arguments, static_cast<int>(flags), fields);
  return StartApplication(path, std::move(arguments), flags);
}

int StartTaskReportingEnd(const char* path, const char* const* argv, int report) {
  MW_RETURN_IF(path == nullptr, -1, "no path");
  std::vector<std::string> arguments;
  MW_RETURN_IF(!CopyTerminatedArguments(argv, &arguments), -1, "bad arguments for %s", path);
  if (!arguments.empty())
    arguments.erase(arguments.begin());
  Json::Value fields;
  fields["report"] = report;
  JournalTaskStart(path, arguments, TASK_FLAG_BACKGROUND, fields);
  // The end is seen on the reaper's thread; the application hears of it through its event loop.
  return StartApplication(path, std::move(arguments), TASK_FLAG_BACKGROUND, [report](int code) {
    SendEvent(GetEventHandler(), EVT_USERDEFINED, report, code);
  });
}

int OpenBook(const char* path, const char* parameters, int flags) {
  MW_RETURN_IF(path == nullptr || *path == '\0', -1, "no book");
  const std::string book = path;
  const std::string reader = ReaderRegistry::Get().ReaderFor(book);
  Json::Value fields;
  fields["path"] = book;
  fields["params"] = Text(parameters);
  fields["flags"] = flags;
  fields["reader"] = reader;
  Journal::Append("book", fields);
  TaskStart start;
  start.program = reader;
  start.book = book;
  // A program opened as a book runs itself; a reader gets the book as its first argument.
  if (reader != book)
    start.arguments.push_back(book);
  for (auto& word : SplitAtSpaces(Text(parameters))) start.arguments.push_back(std::move(word));
  start.takes_screen = true;
  return TaskManager::Get().Start(start);
}

int FindTaskByAppName(const char* name) {
  if (name == nullptr)
    return -1;
  return TaskManager::Get().Table().FindByAppName(name);
}

int FindTaskByBook(const char* path, int* subtask) {
  if (subtask)
    *subtask = 0;
  if (path == nullptr)
    return -1;
  return TaskManager::Get().Table().FindByBook(path);
}

int CloseTask(int task, int subtask, int force) {
  const int result = TaskManager::Get().Close(task, force != 0);
  Json::Value fields;
  fields["task"] = task;
  fields["subtask"] = subtask;
  fields["force"] = force != 0;
  fields["result"] = result;
  Journal::Append("close", fields);
  return result;
}

int SetActiveTask(int task, int subtask) {
  const int result = TaskManager::Get().Activate(task);
  Json::Value fields;
  fields["task"] = task;
  fields["subtask"] = subtask;
  fields["result"] = result;
  Journal::Append("activate", fields);
  return result;
}

int SendRequestTo(int task, int request, const void* data, int length, int flags, int timeout_ms) {
  // The simulator has no channel into the stand-in programs: a request reaches a running task by
  // being recorded.
  const int result = TaskManager::Get().Table().Get(task) ? 0 : -1;
  Json::Value fields;
  fields["task"] = task;
  fields["request"] = request;
  AddPayload(data, length, &fields);
  fields["flags"] = flags;
  fields["timeout"] = timeout_ms;
  fields["result"] = result;
  Journal::Append("request", fields);
  return result;
}

int RunningTaskCount() {
  return TaskManager::Get().Table().Count();
}

int pk_ipc_cmd(int command, int argument) {
  Json::Value fields;
  fields["command"] = command;
  fields["argument"] = argument;
  Journal::Append("ipc", fields);
  return 0;
}

void CloseApp() {
  Journal::Append("exit");
  marrowleaf::platform::RequestLoopExit();
}

int SetFileHandler(const char* path, const char* handler) {
  MW_RETURN_IF(path == nullptr || handler == nullptr, -1, "no path or handler");
  Json::Value fields;
  fields["path"] = path;
  fields["handler"] = handler;
  Journal::Append("handler", fields);
  return ReaderRegistry::Get().SetHandler(path, handler) ? 0 : -1;
}

int ExecProgram(const char* path, const char* const* arguments) {
  MW_RETURN_IF(path == nullptr, -1, "no path");
  std::vector<std::string> list;
  MW_RETURN_IF(!CopyTerminatedArguments(arguments, &list), -1, "bad arguments for %s", path);
  Json::Value fields;
  fields["path"] = path;
  fields["args"] = ToJsonArray(list);
  Journal::Append("exec", fields);
  marrowleaf::platform::ScriptPlayer::HandOverToReplacement();
  ProcessLauncher::Replace(path, list);
  return -1;
}
