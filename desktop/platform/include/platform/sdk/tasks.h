// Tasks: the other programs of the device. On the device the task manager runs them; in the
// simulator they are child processes of stand-in programs under the device root, started from an
// argument vector (never through a shell) and written to the journal. While a started task runs it
// holds the screen: the application receives EVT_BACKGROUND, and EVT_FOREGROUND when it ends.
#pragma once

// Flags of OpenTask and OpenBook.
enum TaskFlags {
  TASK_FLAG_BACKGROUND = 0x01,  // start without taking the screen
  TASK_FLAG_NEW_INSTANCE = 0x04,
  TASK_FLAG_SYSTEM = 0x20,
  TASK_FLAG_SWITCH = 0x80,  // bring the task to the front
};

// Starts the application at a device path with argc arguments. Returns the new task id (> 0), or
// -1 when the program doesn't exist or can't be started.
int OpenTask(const char* path, int argc, const char* const* argv, int flags);
// Opens a book in the reader that handles its file type; parameters are the reader's extra
// argument text (split at spaces; nullptr for none). Returns the task id or -1.
int OpenBook(const char* path, const char* parameters, int flags);
// Starts a task with a full argument vector (argv ends with nullptr), a name and a title.
int NewTask(const char* path, const char* const* argv, const char* name, const char* title,
            int reserved, unsigned int flags);
// Starts a helper program behind the application, from a full argument vector (argv[0] is the
// program's name, the list ends with nullptr), and reports its end: EVT_USERDEFINED is sent to the
// application's event handler with par1 = report and par2 = the program's exit status (128 + the
// signal when it was killed). Returns the task id, or -1 when the program can't be started (then
// nothing is reported).
int StartTaskReportingEnd(const char* path, const char* const* argv, int report);
// The id of a running task whose program has this file name or path, else -1.
int FindTaskByAppName(const char* name);
// The id of a running task that has this book open, else -1; subtask receives 0.
int FindTaskByBook(const char* path, int* subtask);
// Asks a task to close (force: terminate it). Returns 0 when the task existed.
int CloseTask(int task, int subtask, int force);
// Brings a task to the front. Returns 0 when the task exists.
int SetActiveTask(int task, int subtask);
// Sends a request with a payload to a task and waits up to timeout_ms for the answer.
// Returns 0 when delivered, -1 when the task doesn't exist.
int SendRequestTo(int task, int request, const void* data, int length, int flags, int timeout_ms);
// Number of running tasks started by this application.
int RunningTaskCount();
// Sends a command to the device services (journaled). Returns 0.
int pk_ipc_cmd(int command, int argument);
// Ends this application: the event loop finishes after the current event.
void CloseApp();
// Associates a reader with a file (the "open with" choice).
int SetFileHandler(const char* path, const char* handler);

// Replaces this process by the program at a device path, with argv = {path} (the program's
// arguments may follow, ending with nullptr). Returns only on failure, with -1.
int ExecProgram(const char* path, const char* const* arguments = nullptr);
