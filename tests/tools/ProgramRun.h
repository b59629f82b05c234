#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace marrowleaf::test {

// Runs a program to its end, as a real child process, with this process's environment changed by
// the given variables (an empty value removes the variable). Its standard output and error are
// collected in one text.
class ProgramRun {
 public:
  ProgramRun(const std::string& program, const std::vector<std::string>& arguments,
             const std::map<std::string, std::string>& environment = {}) {
    const std::string output_file = OutputFile();
    std::vector<std::string> strings = {program};
    strings.insert(strings.end(), arguments.begin(), arguments.end());
    std::vector<std::string> variables = Environment(environment);
    std::vector<char*> argv = Pointers(&strings);
    std::vector<char*> envp = Pointers(&variables);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) == 0) {
      int status = 0;
      while (waitpid(pid, &status, 0) < 0) {
      }
      exit_code_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    std::ifstream in(output_file);
    std::stringstream text;
    text << in.rdbuf();
    output_ = text.str();
    unlink(output_file.c_str());
  }

  // The exit status; -1 when the program couldn't start or was killed.
  int ExitCode() const { return exit_code_; }
  const std::string& Output() const { return output_; }

 private:
  static std::string OutputFile() {
    char name[] = "/tmp/marrowleaf-program-output-XXXXXX";
    int fd = mkstemp(name);
    if (fd >= 0)
      close(fd);
    return name;
  }

  static std::vector<std::string> Environment(const std::map<std::string, std::string>& changes) {
    std::vector<std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
      std::string variable = *entry;
      if (changes.count(variable.substr(0, variable.find('='))) == 0)
        variables.push_back(variable);
    }
    for (const auto& [name, value] : changes) {
      if (!value.empty())
        variables.push_back(name + "=" + value);
    }
    return variables;
  }

  static std::vector<char*> Pointers(std::vector<std::string>* strings) {
    std::vector<char*> pointers;
    for (std::string& text : *strings) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
  }

  int exit_code_ = -1;
  std::string output_;
};

}  // namespace marrowleaf::test
