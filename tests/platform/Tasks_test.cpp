#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "EventLoop.h"
#include "ReaderRegistry.h"
#include "TaskManager.h"
#include "platform/sdk/device.h"
#include "platform/sdk/events.h"
#include "platform/sdk/filetypes.h"
#include "platform/sdk/tasks.h"
#include "support/JournalReader.h"
#include "support/TempDeviceRoot.h"

namespace marrowleaf::platform {
namespace {

using test::JournalReader;
using test::TempDeviceRoot;

// Writes its arguments, NUL-separated, and the device root it was given, then stays running until
// the test creates "/tmp/release", so the test can look at it while it runs.
constexpr const char* kRecorder =
    "#!/bin/sh\n"
    "out=\"$MARROWLEAF_ROOT/tmp/args-$(basename \"$0\")\"\n"
    "printf '%s\\0' \"$@\" > \"$out.part\" && mv \"$out.part\" \"$out\"\n"
    "while [ ! -e \"$MARROWLEAF_ROOT/tmp/release\" ]; do sleep 0.02; done\n";

std::vector<int> g_events;
// The application's own wake-ups (par1, par2).
std::vector<std::pair<int, int>> g_user_events;

int RecordEvent(int type, int par1, int par2) {
  g_events.push_back(type);
  if (type == EVT_USERDEFINED)
    g_user_events.emplace_back(par1, par2);
  return 1;
}

std::vector<std::string> SplitAtNul(const std::string& text) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t end; (end = text.find('\0', start)) != std::string::npos; start = end + 1) {
    parts.push_back(text.substr(start, end - start));
  }
  return parts;
}

class TasksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EventLoop::Get().Reset();
    EventLoop::Get().SetHandler(RecordEvent);
    g_events.clear();
    g_user_events.clear();
  }

  void TearDown() override {
    // Tasks outlive the home screen by design, so the test ends its own.
    for (int task : started_) {
      if (TaskManager::Get().Table().Get(task))
        CloseTask(task, 0, 1);
      TaskManager::Get().WaitUntilEnded(task, 5000);
    }
    EventLoop::Get().Reset();
  }

  void InstallScript(const std::string& device_path, const std::string& body) {
    root_.Write(device_path, body);
    chmod(root_.Host(device_path).c_str(), 0755);
  }

  void InstallCopy(const std::string& device_path, const std::string& host_program) {
    std::ifstream in(host_program, std::ios::binary);
    std::ofstream out(root_.Host(device_path), std::ios::binary);
    out << in.rdbuf();
    out.close();
    chmod(root_.Host(device_path).c_str(), 0755);
  }

  // Starts a copy of the host's sleep, installed as /ebrmain/bin/<name>, for 30 seconds.
  int StartSleeper(const std::string& name, int flags) {
    root_.MakeFolder("/ebrmain/bin");
    if (!root_.Exists("/ebrmain/bin/" + name))
      InstallCopy("/ebrmain/bin/" + name, "/bin/sleep");
    const char* argv[] = {"30"};
    return Started(OpenTask(("/ebrmain/bin/" + name).c_str(), 1, argv, flags));
  }

  int Started(int task) {
    if (task > 0)
      started_.push_back(task);
    return task;
  }

  // The arguments a recorder program received, once it has written them.
  std::vector<std::string> RecordedArguments(const std::string& program_name) {
    const std::string path = "/tmp/args-" + program_name;
    for (int i = 0; i < 500 && !root_.Exists(path); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return SplitAtNul(root_.Read(path));
  }

  void ReleaseRecorders() { root_.Write("/tmp/release", ""); }

  void DeliverEvents() {
    g_events.clear();
    EventLoop::Get().RunPending();
  }

  TempDeviceRoot root_;
  std::vector<int> started_;
};

TEST_F(TasksTest, ArgumentsReachTheProgramUnchangedWithoutAShell) {
  root_.MakeFolder("/ebrmain/bin");
  InstallScript("/ebrmain/bin/recorder.app", kRecorder);
  const std::vector<std::string> arguments = {"two words",      "say \"hi\"", "'single'", "$HOME",
                                              "; touch /tmp/x", "",           "tab\there"};
  std::vector<const char*> argv;
  for (const auto& argument : arguments) argv.push_back(argument.c_str());

  const int task =
      Started(OpenTask("/ebrmain/bin/recorder.app", static_cast<int>(argv.size()), argv.data(), 0));

  ASSERT_GT(task, 0);
  EXPECT_EQ(RecordedArguments("recorder.app"), arguments);
  ReleaseRecorders();
  EXPECT_TRUE(TaskManager::Get().WaitUntilEnded(task, 5000));
}

TEST_F(TasksTest, RunningTaskIsFoundByNameAndGoneAfterItIsClosed) {
  const int task = StartSleeper("sleeper.app", 0);
  ASSERT_GT(task, 0);
  EXPECT_EQ(FindTaskByAppName("sleeper.app"), task);
  EXPECT_EQ(FindTaskByAppName("/ebrmain/bin/sleeper.app"), task);
  EXPECT_EQ(FindTaskByAppName("sleeper"), -1);
  EXPECT_EQ(RunningTaskCount(), 1);
  // The program sees the name it has on the device, not the host path. The command line changes
  // a moment after the start returns (once the exec has happened; later still under an emulator),
  // so look until it is there.
  const pid_t pid = TaskManager::Get().Table().Get(task)->pid;
  std::string first;
  for (int i = 0; i < 400 && first != "/ebrmain/bin/sleeper.app"; ++i) {
    std::ifstream cmdline("/proc/" + std::to_string(pid) + "/cmdline", std::ios::binary);
    first.clear();
    std::getline(cmdline, first, '\0');
    if (first != "/ebrmain/bin/sleeper.app")
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_EQ(first, "/ebrmain/bin/sleeper.app");

  EXPECT_EQ(CloseTask(task, 0, 0), 0);
  ASSERT_TRUE(TaskManager::Get().WaitUntilEnded(task, 5000));
  EXPECT_EQ(FindTaskByAppName("sleeper.app"), -1);
  EXPECT_EQ(RunningTaskCount(), 0);
  EXPECT_EQ(CloseTask(task, 0, 0), -1);
  const auto ends = JournalReader(root_.HostRoot()).Events("task_end");
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_EQ(ends[0]["code"].asInt(), 128 + SIGTERM);
}

TEST_F(TasksTest, MissingOrNonExecutableProgramIsNotStarted) {
  root_.Write("/ebrmain/bin/plain.app", "#!/bin/sh\n");
  chmod(root_.Host("/ebrmain/bin/plain.app").c_str(), 0644);
  root_.MakeFolder("/ebrmain/bin/folder.app");

  EXPECT_EQ(OpenTask("/ebrmain/bin/missing.app", 0, nullptr, 0x80), -1);
  EXPECT_EQ(OpenTask("/ebrmain/bin/plain.app", 0, nullptr, 0x80), -1);
  EXPECT_EQ(OpenTask("/ebrmain/bin/folder.app", 0, nullptr, 0x80), -1);
  const char* holes[] = {"a", nullptr};
  EXPECT_EQ(OpenTask("/ebrmain/bin/plain.app", 2, holes, 0), -1);

  EXPECT_EQ(RunningTaskCount(), 0);
  DeliverEvents();
  EXPECT_TRUE(g_events.empty()) << "a task that never started must not take the screen";
}

TEST_F(TasksTest, HomeScreenStaysInTheBackgroundUntilTheLastSwitchedTaskEnds) {
  const int behind = StartSleeper("sleeper.app", 0);
  DeliverEvents();
  EXPECT_TRUE(g_events.empty()) << "a task without the switch flag stays behind";

  const int first = StartSleeper("sleeper.app", TASK_FLAG_SWITCH);
  const int second = StartSleeper("sleeper.app", TASK_FLAG_SWITCH);
  ASSERT_GT(first, 0);
  ASSERT_GT(second, 0);
  DeliverEvents();
  EXPECT_EQ(g_events, std::vector<int>{EVT_BACKGROUND});
  DeviceSharedState* state = GetDeviceSharedState();
  ASSERT_NE(state, nullptr);
  EXPECT_EQ(state->foreign_task_in_front, 1);

  CloseTask(first, 0, 1);
  CloseTask(behind, 0, 1);
  ASSERT_TRUE(TaskManager::Get().WaitUntilEnded(first, 5000));
  ASSERT_TRUE(TaskManager::Get().WaitUntilEnded(behind, 5000));
  DeliverEvents();
  EXPECT_TRUE(g_events.empty());
  EXPECT_EQ(state->foreign_task_in_front, 1);

  CloseTask(second, 0, 1);
  ASSERT_TRUE(TaskManager::Get().WaitUntilEnded(second, 5000));
  DeliverEvents();
  EXPECT_EQ(g_events, std::vector<int>{EVT_FOREGROUND});
  EXPECT_EQ(state->foreign_task_in_front, 0);
}

TEST_F(TasksTest, ActivatedTaskTakesTheScreenOnce) {
  const int task = StartSleeper("gallery.app", TASK_FLAG_BACKGROUND);
  ASSERT_GT(task, 0);

  EXPECT_EQ(SetActiveTask(task, 0), 0);
  EXPECT_EQ(SetActiveTask(task, 0), 0);
  EXPECT_EQ(SetActiveTask(task + 1000, 0), -1);
  DeliverEvents();
  EXPECT_EQ(g_events, std::vector<int>{EVT_BACKGROUND});

  CloseTask(task, 0, 1);
  ASSERT_TRUE(TaskManager::Get().WaitUntilEnded(task, 5000));
  DeliverEvents();
  EXPECT_EQ(g_events, std::vector<int>{EVT_FOREGROUND});
}

TEST_F(TasksTest, BookOpensInTheReaderOfItsExtensionWithParametersSplitAtSpaces) {
  root_.Write("/ebrmain/config/readers.cfg", "epub=/ebrmain/bin/epub.app\npdf = relative.app\n");
  InstallScript("/ebrmain/bin/epub.app", kRecorder);
  const std::string book = "/mnt/ext1/Books/A \"quoted\" book.EPUB";

  const int task = Started(OpenBook(book.c_str(), "-page  12 -x", 0));

  ASSERT_GT(task, 0);
  EXPECT_EQ(RecordedArguments("epub.app"), (std::vector<std::string>{book, "-page", "12", "-x"}));
  int subtask = -1;
  EXPECT_EQ(FindTaskByBook(book.c_str(), &subtask), task);
  EXPECT_EQ(subtask, 0);
  EXPECT_EQ(FindTaskByBook("/mnt/ext1/Books/other.epub", nullptr), -1);
  DeliverEvents();
  EXPECT_EQ(g_events, std::vector<int>{EVT_BACKGROUND}) << "a book always takes the screen";
  ReleaseRecorders();
  EXPECT_TRUE(TaskManager::Get().WaitUntilEnded(task, 5000));
}

TEST_F(TasksTest, BookWithoutItsOwnReaderGoesToTheDefaultReaderOrFailsAndAProgramRunsItself) {
  // A relative reader in the configuration is ignored: only device paths name programs.
  root_.Write("/ebrmain/config/readers.cfg", "pdf=relative.app\n");
  EXPECT_EQ(OpenBook("/mnt/ext1/a.pdf", nullptr, 0), -1);
  ASSERT_EQ(JournalReader(root_.HostRoot()).Events("book").size(), 1u)
      << "the book is journaled even when no reader exists";

  InstallScript("/ebrmain/bin/reader.app", kRecorder);
  const int task = Started(OpenBook("/mnt/ext1/a.pdf", nullptr, 0));
  ASSERT_GT(task, 0);
  EXPECT_EQ(RecordedArguments("reader.app"), std::vector<std::string>{"/mnt/ext1/a.pdf"});
  EXPECT_EQ(JournalReader(root_.HostRoot()).Events("book")[1]["reader"].asString(),
            "/ebrmain/bin/reader.app");

  // A program opened as a book runs with the parameters as its arguments.
  InstallScript("/ebrmain/bin/settings.app", kRecorder);
  const int program = Started(OpenBook("/ebrmain/bin/settings.app", "-o accounts", 0));
  ASSERT_GT(program, 0);
  EXPECT_EQ(RecordedArguments("settings.app"), (std::vector<std::string>{"-o", "accounts"}));
  EXPECT_EQ(FindTaskByAppName("settings.app"), program);
  ReleaseRecorders();
  EXPECT_TRUE(TaskManager::Get().WaitUntilEnded(task, 5000));
  EXPECT_TRUE(TaskManager::Get().WaitUntilEnded(program, 5000));
}

TEST_F(TasksTest, ChosenHandlerOpensThatFileOnly) {
  root_.Write("/ebrmain/config/readers.cfg", "fb2=/ebrmain/bin/reader.app\n");
  InstallScript("/ebrmain/bin/reader.app", kRecorder);
  InstallScript("/ebrmain/bin/other.app", kRecorder);

  EXPECT_EQ(SetFileHandler("/mnt/ext1/chosen.fb2", "other.app"), 0);
  EXPECT_EQ(SetFileHandler("/mnt/ext1/chosen.fb2", "../../outside.app"), -1);
  const int chosen = Started(OpenBook("/mnt/ext1/chosen.fb2", nullptr, 0));
  const int plain = Started(OpenBook("/mnt/ext1/plain.fb2", nullptr, 0));

  EXPECT_EQ(RecordedArguments("other.app"), std::vector<std::string>{"/mnt/ext1/chosen.fb2"});
  EXPECT_EQ(RecordedArguments("reader.app"), std::vector<std::string>{"/mnt/ext1/plain.fb2"});
  ReleaseRecorders();
  EXPECT_TRUE(TaskManager::Get().WaitUntilEnded(chosen, 5000));
  EXPECT_TRUE(TaskManager::Get().WaitUntilEnded(plain, 5000));
}

TEST_F(TasksTest, StandInServicesRecordWhatWasAsked) {
  const int task = StartSleeper("scanner.app", 0);
  ASSERT_GT(task, 0);
  const std::string text = "-scan:/mnt/ext1/Bücher";
  const unsigned char binary[] = {0x01, 0xff, 0x00, 0x41};

  EXPECT_EQ(SendRequestTo(task, 84, text.c_str(), static_cast<int>(text.size() + 1), 0, 2000), 0);
  EXPECT_EQ(SendRequestTo(task, 84, binary, sizeof binary, 0, 2000), 0);
  EXPECT_EQ(SendRequestTo(task + 1000, 84, nullptr, 0, 0, 2000), -1);
  EXPECT_EQ(pk_ipc_cmd(0x602, 0), 0);
  CloseApp();

  const JournalReader journal(root_.HostRoot());
  const auto requests = journal.Events("request");
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0]["payload"].asString(), text);
  EXPECT_EQ(requests[0]["request"].asInt(), 84);
  EXPECT_EQ(requests[1]["payload_hex"].asString(), "01ff0041");
  EXPECT_EQ(requests[2]["result"].asInt(), -1);
  const auto commands = journal.Events("ipc");
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0]["command"].asInt(), 0x602);
  EXPECT_EQ(journal.Events("exit").size(), 1u);
  EXPECT_TRUE(EventLoop::Get().ExitRequested());
}

TEST_F(TasksTest, ExecProgramReplacesTheProcessOrFails) {
  InstallScript("/ebrmain/bin/bookshelf.app", kRecorder);
  ReleaseRecorders();
  EXPECT_EQ(ExecProgram("/ebrmain/bin/missing.app"), -1);

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const char* arguments[] = {"--restart", "a b", nullptr};
    ExecProgram("/ebrmain/bin/bookshelf.app", arguments);
    _exit(99);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the program ran in place of the child";
  EXPECT_EQ(RecordedArguments("bookshelf.app"), (std::vector<std::string>{"--restart", "a b"}));
}

TEST_F(TasksTest, AHelperProgramsEndReachesTheApplicationWithItsExitStatus) {
  InstallScript("/ebrmain/bin/failing.app", "#!/bin/sh\nexit 3\n");
  InstallCopy("/ebrmain/bin/hanging.app", "/bin/sleep");
  const char* failing_argv[] = {"/ebrmain/bin/failing.app", "42", nullptr};
  const char* hanging_argv[] = {"/ebrmain/bin/hanging.app", "30", nullptr};

  const int failing = Started(StartTaskReportingEnd("/ebrmain/bin/failing.app", failing_argv, 501));
  const int hanging = Started(StartTaskReportingEnd("/ebrmain/bin/hanging.app", hanging_argv, 502));
  ASSERT_GT(failing, 0);
  ASSERT_GT(hanging, 0);
  EXPECT_EQ(StartTaskReportingEnd("/ebrmain/bin/missing.app", failing_argv, 503), -1);
  ASSERT_TRUE(TaskManager::Get().WaitUntilEnded(failing, 5000));
  CloseTask(hanging, 0, 1);
  ASSERT_TRUE(TaskManager::Get().WaitUntilEnded(hanging, 5000));
  // The reaper posts a helper's end after the task has left the table: it may come a moment later.
  for (int i = 0; i < 500 && g_user_events.size() < 2; ++i) {
    EventLoop::Get().RunPending();
    if (g_user_events.size() < 2)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }

  EXPECT_EQ(g_user_events,
            (std::vector<std::pair<int, int>>{{501, 3}, {502, 128 + SIGKILL}}));
  const auto starts = JournalReader(root_.HostRoot()).Events("task");
  ASSERT_EQ(starts.size(), 3u);
  EXPECT_EQ(starts[0]["args"][0].asString(), "42");
  EXPECT_EQ(starts[0]["report"].asInt(), 501);
  EXPECT_EQ(std::count(g_events.begin(), g_events.end(), EVT_BACKGROUND), 0)
      << "a helper never takes the screen";
}

TEST_F(TasksTest, TheFileTypeTableListsItsReadersAndANamedReaderOpensTheFileChosenForIt) {
  root_.Write("/ebrmain/config/readers.cfg", "epub=/ebrmain/bin/reader.app\n");
  root_.Write("/ebrmain/config/extensions.cfg",
              "handler.FBReader=/ebrmain/bin/fbreader.app\n"
              "handler.Broken=fbreader.app\n"
              "EPUB=Reader,FBReader\n"
              "rtf=\n");
  InstallScript("/ebrmain/bin/reader.app", kRecorder);
  InstallScript("/ebrmain/bin/fbreader.app", kRecorder);

  const FileTypeInfo* types = GetSupportedFileTypes();
  ASSERT_EQ(GetSupportedFileTypesLength(), 2);
  EXPECT_STREQ(types[0].extension, "epub");
  EXPECT_STREQ(types[0].handlers, "Reader,FBReader");
  EXPECT_STREQ(types[1].extension, "rtf");
  EXPECT_STREQ(types[1].handlers, "");

  EXPECT_EQ(SetFileHandler("/mnt/ext1/a.epub", "FBReader"), 0);
  const int chosen = Started(OpenBook("/mnt/ext1/a.epub", nullptr, 0));
  EXPECT_EQ(RecordedArguments("fbreader.app"), std::vector<std::string>{"/mnt/ext1/a.epub"});
  // A program the table names without a device path is no program.
  EXPECT_EQ(SetFileHandler("/mnt/ext1/b.epub", "Broken"), 0);
  EXPECT_EQ(ReaderRegistry::Get().ReaderFor("/mnt/ext1/b.epub"), "/ebrmain/bin/Broken");
  ReleaseRecorders();
  EXPECT_TRUE(TaskManager::Get().WaitUntilEnded(chosen, 5000));

  root_.Write("/ebrmain/config/extensions.cfg", "");
  GetSupportedFileTypes();
  EXPECT_EQ(GetSupportedFileTypesLength(), 0) << "the table is read anew at each call";
}

}  // namespace
}  // namespace marrowleaf::platform
