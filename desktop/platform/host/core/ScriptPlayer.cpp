#include "ScriptPlayer.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "EventLoop.h"
#include "Journal.h"
#include "NetworkService.h"
#include "platform/sdk/clock.h"
#include "platform/sdk/dialogs.h"
#include "platform/sdk/events.h"
#include "platform/sdk/log.h"

namespace marrowleaf::platform {
namespace {

// How long "idle" waits for the program to settle, and "quit" for it to close, before the run goes
// on regardless; a script must never hang a test run.
constexpr int64_t kIdleGiveUpMs = 60000;
constexpr int64_t kQuitGiveUpMs = 15000;
constexpr int64_t kHoldMs = 500;
constexpr size_t kMaxScriptBytes = 1 << 20;
constexpr const char* kResumeVariable = "MARROWLEAF_SCRIPT_RESUME";

// The script of MARROWLEAF_SCRIPT; never destroyed, since threads may outlive main.
ScriptPlayer*& EnvironmentScript() {
  static ScriptPlayer* script = nullptr;
  return script;
}

struct Arity {
  size_t min;
  size_t max;
};

const std::map<std::string, Arity>& Verbs() {
  static const std::map<std::string, Arity> verbs = {
      {"tap", {2, 2}},   {"hold", {2, 2}},   {"swipe", {4, 4}},      {"key", {1, 2}},
      {"wait", {1, 1}},  {"idle", {0, 0}},   {"event", {1, 3}},      {"answer", {1, 1}},
      {"quit", {0, 0}},  {"screenshot", {1, 1}}, {"windows", {1, 1}},
  };
  return verbs;
}

bool ParseInt(const std::string& text, long* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  *value = std::strtol(text.c_str(), &end, 10);
  return *end == '\0' && *value > -1000000 && *value < 100000000;
}

std::string CheckArguments(const ScriptPlayer::Command& command) {
  long number = 0;
  const std::string& verb = command.verb;
  if (verb == "key") {
    if (command.args.size() == 2 && command.args[1] != "long")
      return "a key is pressed briefly or 'long', not '" + command.args[1] + "'";
    return ScriptKeyCode(command.args[0]) < 0 ? "unknown key '" + command.args[0] + "'" : "";
  }
  if (verb == "event") {
    if (ScriptEventType(command.args[0]) < 0) return "unknown event '" + command.args[0] + "'";
    for (size_t i = 1; i < command.args.size(); ++i) {
      if (!ParseInt(command.args[i], &number)) return "bad number '" + command.args[i] + "'";
    }
    return "";
  }
  if (verb == "screenshot" || verb == "windows") return "";
  for (const auto& arg : command.args) {
    if (!ParseInt(arg, &number) || number < 0) return "bad number '" + arg + "'";
  }
  return "";
}

int Arg(const ScriptPlayer::Command& command, size_t index) {
  return static_cast<int>(std::strtol(command.args.at(index).c_str(), nullptr, 10));
}

}  // namespace

int ScriptEventType(const std::string& name) {
  static const std::map<std::string, int> events = {
      {"foreground", EVT_FOREGROUND}, {"background", EVT_BACKGROUND},
      {"sd-in", EVT_SD_IN},           {"sd-out", EVT_SD_OUT},
      {"usb-in", EVT_USB_IN},         {"usb-out", EVT_USB_OUT},
      {"config-changed", EVT_CONFIGCHANGED}, {"home", EVT_HOME},
      {"restart", EVT_RESTART},       {"show", EVT_SHOW},
      {"library-changed", EVT_LIBRARY_CHANGED}, {"firmware-found", EVT_FIRMWARE_FOUND},
      {"exit", EVT_EXIT},
      {"network-up", EVT_NET_CONNECTED}, {"network-down", EVT_NET_DISCONNECTED},
  };
  auto it = events.find(name);
  if (it != events.end()) return it->second;
  long number = 0;
  return ParseInt(name, &number) && number > 0 ? static_cast<int>(number) : -1;
}

int ScriptKeyCode(const std::string& name) {
  static const std::map<std::string, int> keys = {
      {"back", KEY_BACK}, {"delete", KEY_DELETE}, {"ok", KEY_OK},     {"up", KEY_UP},
      {"down", KEY_DOWN}, {"left", KEY_LEFT},     {"right", KEY_RIGHT}, {"minus", KEY_MINUS},
      {"plus", KEY_PLUS}, {"menu", KEY_MENU},     {"prev", KEY_PREV}, {"next", KEY_NEXT},
      {"home", KEY_HOME}, {"power", KEY_POWER}, {"prev2", KEY_PREV2}, {"next2", KEY_NEXT2},
  };
  auto it = keys.find(name);
  return it == keys.end() ? -1 : it->second;
}

std::unique_ptr<ScriptPlayer> ScriptPlayer::Parse(const std::string& text,
                                                  const std::string& source, std::string* error) {
  std::vector<Command> commands;
  std::istringstream lines(text);
  std::string line;
  int number = 0;
  while (std::getline(lines, line)) {
    ++number;
    std::istringstream words(line);
    Command command;
    command.line = number;
    if (!(words >> command.verb) || command.verb[0] == '#') continue;
    for (std::string word; words >> word;) command.args.push_back(word);
    auto verb = Verbs().find(command.verb);
    std::string problem;
    if (verb == Verbs().end()) {
      problem = "unknown command '" + command.verb + "'";
    } else if (command.args.size() < verb->second.min || command.args.size() > verb->second.max) {
      problem = "wrong number of arguments for '" + command.verb + "'";
    } else {
      problem = CheckArguments(command);
    }
    if (!problem.empty()) {
      if (error) *error = source + ":" + std::to_string(number) + ": " + problem;
      return nullptr;
    }
    commands.push_back(std::move(command));
  }
  return std::make_unique<ScriptPlayer>(std::move(commands));
}

std::unique_ptr<ScriptPlayer> ScriptPlayer::FromFile(const std::string& path, std::string* error) {
  // The script is a file of the host, not of the device, so it is read without the device root.
  // Read a block at a time: a buffer of the cap's size, zeroed up front, cost every run a page
  // fault per 4 KiB of it though scripts are a few lines long.
  std::ifstream in(path, std::ios::binary);
  std::string text;
  char block[16384];
  while (in && text.size() <= kMaxScriptBytes) {
    in.read(block, sizeof block);
    text.append(block, static_cast<size_t>(in.gcount()));
  }
  if (!in.eof() || in.bad() || text.size() > kMaxScriptBytes) {
    if (error) *error = path + ": can't read the script (missing, unreadable or over 1 MiB)";
    return nullptr;
  }
  return Parse(text, path, error);
}

ScriptPlayer* ScriptPlayer::FromEnvironment(std::string* error) {
  ScriptPlayer*& script = EnvironmentScript();
  if (script != nullptr)
    return script;
  const char* path = std::getenv("MARROWLEAF_SCRIPT");
  if (path == nullptr || *path == '\0')
    return nullptr;
  std::unique_ptr<ScriptPlayer> parsed = FromFile(path, error);
  if (!parsed)
    return nullptr;
  if (const char* resume = std::getenv(kResumeVariable)) {
    parsed->ResumeAt(std::atoi(resume));
    // Only this program goes on; the tasks it starts never play the script.
    unsetenv(kResumeVariable);
  }
  script = parsed.release();
  return script;
}

void ScriptPlayer::HandOverToReplacement() {
  if (const ScriptPlayer* script = EnvironmentScript())
    setenv(kResumeVariable, std::to_string(script->NextLine()).c_str(), 1);
}

int ScriptPlayer::NextLine() const {
  if (next_ < commands_.size())
    return commands_[next_].line;
  return std::max(resumed_at_line_, commands_.empty() ? 1 : commands_.back().line + 1);
}

void ScriptPlayer::ResumeAt(int line) {
  size_t first = 0;
  while (first < commands_.size() && commands_[first].line < line) ++first;
  commands_.erase(commands_.begin(), commands_.begin() + static_cast<std::ptrdiff_t>(first));
  next_ = 0;
  resumed_at_line_ = line;
}

std::unique_ptr<ScriptPlayer> ScriptPlayer::DefaultHeadless(const std::string& screenshot_file) {
  std::vector<Command> commands;
  commands.push_back({0, "idle", {}});
  commands.push_back({0, "screenshot", {screenshot_file}});
  commands.push_back({0, "quit", {}});
  auto player = std::make_unique<ScriptPlayer>(std::move(commands));
  player->answers_dialogs_ = false;
  return player;
}

void ScriptPlayer::SendQuit(EventLoop& loop) {
  quit_sent_ = true;
  quit_give_up_ms_ = CurrentClock().NowMs() + kQuitGiveUpMs;
  loop.Post(nullptr, EVT_EXIT, 0, 0);
}

bool ScriptPlayer::Advance(EventLoop& loop) {
  wake_deadline_ms_ = INT64_MAX;
  while (next_ < commands_.size() && !quit_sent_) {
    const Command& command = commands_[next_];
    const Step step = Execute(command, loop);
    if (step == Step::kWaiting) return true;
    // A mark in the journal for each command done, so that a test can tell what followed which.
    Json::Value fields(Json::objectValue);
    fields["line"] = command.line;
    fields["verb"] = command.verb;
    Journal::Append("script", std::move(fields));
    ++next_;
    // Input is handled before the next command: a screenshot after a key shows what the key did.
    if (step == Step::kPosted) return true;
  }
  if (!quit_sent_) SendQuit(loop);
  if (CurrentClock().NowMs() >= quit_give_up_ms_) {
    MW_LOG(MW_LOG_ERROR, "the program did not close within %lld ms of the exit event",
           static_cast<long long>(kQuitGiveUpMs));
    return false;
  }
  wake_deadline_ms_ = quit_give_up_ms_;
  return true;
}

ScriptPlayer::Step ScriptPlayer::Execute(const Command& command, EventLoop& loop) {
  const int64_t now = CurrentClock().NowMs();
  if (command.verb == "wait") {
    if (wait_until_ms_ < 0) wait_until_ms_ = now + Arg(command, 0);
    if (now < wait_until_ms_) {
      wake_deadline_ms_ = wait_until_ms_;
      return Step::kWaiting;
    }
    wait_until_ms_ = -1;
    return Step::kDone;
  }
  if (command.verb == "idle") {
    if (idle_give_up_ms_ < 0) idle_give_up_ms_ = now + kIdleGiveUpMs;
    if (!loop.IsIdle() && now < idle_give_up_ms_) {
      // Woken by the next event; a timer deadline wakes the loop as well.
      wake_deadline_ms_ = idle_give_up_ms_;
      return Step::kWaiting;
    }
    if (!loop.IsIdle()) MW_LOG(MW_LOG_WARNING, "script line %d: still busy, going on", command.line);
    idle_give_up_ms_ = -1;
    return Step::kDone;
  }
  if (command.verb == "event") {
    const int type = ScriptEventType(command.args[0]);
    // The network's state is the device's, not only news for the program.
    if (type == EVT_NET_CONNECTED || type == EVT_NET_DISCONNECTED)
      NetworkService::Get().SetConnected(type == EVT_NET_CONNECTED);
    int par1 = command.args.size() > 1 ? Arg(command, 1) : 0;
    int par2 = command.args.size() > 2 ? Arg(command, 2) : 0;
    loop.Post(nullptr, type, par1, par2);
    return Step::kPosted;
  }
  if (command.verb == "answer") {
    // An open dialog takes the answer at the loop's next turn, before the next command runs.
    QueueDialogAnswer(Arg(command, 0));
    wake_deadline_ms_ = now;
    return Step::kPosted;
  }
  if (command.verb == "quit") {
    SendQuit(loop);
    return Step::kDone;
  }
  if (command.verb == "screenshot" || command.verb == "windows") {
    auto file_hook = file_hooks_.find(command.verb);
    if (file_hook == file_hooks_.end() || !file_hook->second(command.args[0])) {
      MW_LOG(MW_LOG_WARNING, "script line %d: no %s written to %s", command.line,
             command.verb.c_str(), command.args[0].c_str());
    }
    return Step::kDone;
  }
  return ExecuteInput(command);
}

ScriptPlayer::Step ScriptPlayer::ExecuteInput(const Command& command) {
  EventLoop& loop = EventLoop::Get();
  if (command.verb == "key") {
    int code = ScriptKeyCode(command.args[0]);
    // A long press is a press, the first repeat and a release that says it followed a long press.
    const bool held = command.args.size() == 2;
    loop.Post(nullptr, EVT_KEYPRESS, code, 0);
    if (held)
      loop.Post(nullptr, EVT_KEYREPEAT, code, 1);
    loop.Post(nullptr, EVT_KEYRELEASE, code, held ? 1 : 0);
    return Step::kPosted;
  }
  const int x = Arg(command, 0);
  const int y = Arg(command, 1);
  if (command.verb == "tap") {
    loop.Post(nullptr, EVT_POINTERDOWN, x, y);
    loop.Post(nullptr, EVT_POINTERUP, x, y);
    return Step::kPosted;
  }
  if (command.verb == "hold") {
    const int64_t now = CurrentClock().NowMs();
    if (hold_phase_ == 0) {
      loop.Post(nullptr, EVT_POINTERDOWN, x, y);
      hold_phase_ = 1;
      wait_until_ms_ = now + kHoldMs;
    }
    if (now < wait_until_ms_) {
      wake_deadline_ms_ = wait_until_ms_;
      return Step::kWaiting;
    }
    loop.Post(nullptr, EVT_POINTERLONG, x, y);
    loop.Post(nullptr, EVT_POINTERUP, x, y);
    hold_phase_ = 0;
    wait_until_ms_ = -1;
    return Step::kPosted;
  }
  // swipe: down, a few moves along the line, up.
  const int x2 = Arg(command, 2);
  const int y2 = Arg(command, 3);
  constexpr int kSteps = 4;
  loop.Post(nullptr, EVT_POINTERDOWN, x, y);
  for (int i = 1; i <= kSteps; ++i) {
    loop.Post(nullptr, EVT_POINTERMOVE, x + (x2 - x) * i / kSteps, y + (y2 - y) * i / kSteps);
  }
  loop.Post(nullptr, EVT_POINTERUP, x2, y2);
  return Step::kPosted;
}

}  // namespace marrowleaf::platform
