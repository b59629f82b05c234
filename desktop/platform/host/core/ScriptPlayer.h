#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace marrowleaf::platform {

class EventLoop;

// Drives the simulated device from a script (MARROWLEAF_SCRIPT), one command a line:
//   tap X Y | hold X Y | swipe X1 Y1 X2 Y2 | key NAME | wait MS | idle | event NAME [P1 P2]
//   answer N | screenshot FILE | windows FILE | quit
// "windows FILE" writes what the screen shows as data: every shown window with its class, name,
// screen rectangle, text and focus (a JSON array), so that tests can read the screen.
// The events "network-up" and "network-down" change the device's network (NetworkService) before
// the program hears of them.
// Blank lines and lines starting with '#' are skipped. The whole script is checked before the
// program starts, so a typo fails at once with its line number instead of halfway through a run.
// The script ends with the device's exit event ("quit") even when its last line doesn't say so.
// Each command done leaves a "script" line (its line number and verb) in the journal.
// A modal dialog waits while the script goes on, so that it can be read back and answered ("answer
// N", a tap on a button, keys); "answer N" given before a dialog opens is kept for the next one.
class ScriptPlayer {
 public:
  struct Command {
    int line = 0;
    std::string verb;
    std::vector<std::string> args;
  };
  // Writes something to a file of the PC (a screenshot, the window list); false when it couldn't.
  using FileHook = std::function<bool(const std::string& file)>;

  // Parses a script; on failure returns null and sets error to "<source>:<line>: <problem>".
  static std::unique_ptr<ScriptPlayer> Parse(const std::string& text, const std::string& source,
                                             std::string* error);
  static std::unique_ptr<ScriptPlayer> FromFile(const std::string& path, std::string* error);
  // The script named by MARROWLEAF_SCRIPT, read and checked on the first call and kept for the
  // process's life; null when none is named or it can't be used (error then says why). A process
  // that replaced itself (a restart) goes on where the one before stopped, so a script that asks
  // for a restart is not played again from its first line.
  static ScriptPlayer* FromEnvironment(std::string* error);
  // Called just before the process replaces itself: the new process goes on at the command the
  // script of FromEnvironment has reached.
  static void HandOverToReplacement();
  // What a headless run without a script does: wait until idle, take a screenshot, quit.
  static std::unique_ptr<ScriptPlayer> DefaultHeadless(const std::string& screenshot_file);

  explicit ScriptPlayer(std::vector<Command> commands) : commands_(std::move(commands)) {}

  void SetScreenshotHook(FileHook hook) { file_hooks_["screenshot"] = std::move(hook); }
  void SetWindowsHook(FileHook hook) { file_hooks_["windows"] = std::move(hook); }

  // Runs the commands that are ready now. Returns false when the run must end at once.
  bool Advance(EventLoop& loop);
  // When the script wants to run again (INT64_MAX: on the next event only).
  int64_t WakeDeadline() const { return wake_deadline_ms_; }
  bool Finished() const { return next_ >= commands_.size() && quit_sent_; }
  // True once the exit event was sent ("quit", or the script's end).
  bool QuitSent() const { return quit_sent_; }
  // A written script answers the dialogs it meets; the default headless run leaves them to their
  // default button at once.
  bool AnswersDialogs() const { return answers_dialogs_; }
  // The script line of the next command to run (past the last line when all have run).
  int NextLine() const;
  // Drops the commands before a script line.
  void ResumeAt(int line);

 private:
  // kPosted: done, and the events it posted are handled before the next command runs.
  enum class Step { kDone, kWaiting, kPosted };
  Step Execute(const Command& command, EventLoop& loop);
  Step ExecuteInput(const Command& command);
  void SendQuit(EventLoop& loop);

  std::vector<Command> commands_;
  size_t next_ = 0;
  int resumed_at_line_ = 0;
  int64_t wake_deadline_ms_ = INT64_MAX;
  int64_t wait_until_ms_ = -1;      // "wait" in progress
  int64_t idle_give_up_ms_ = -1;    // "idle" in progress
  int64_t quit_give_up_ms_ = -1;    // after "quit": the program must close by then
  int hold_phase_ = 0;              // "hold": 1 while the pointer is down
  bool quit_sent_ = false;
  bool answers_dialogs_ = true;
  std::map<std::string, FileHook> file_hooks_;
};

// Maps a script's event name ("foreground", "sd-in", ...) or number to an SDK event type; -1 if unknown.
int ScriptEventType(const std::string& name);
// Maps a key name ("ok", "back", "left", ...) to a key code; -1 if unknown.
int ScriptKeyCode(const std::string& name);

}  // namespace marrowleaf::platform
