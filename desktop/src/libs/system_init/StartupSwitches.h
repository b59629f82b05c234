// The switches the task manager passes to the home screen's executable.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace marrowleaf::desktop {

// The start-up switches, read once from the command line and never changed afterwards.
//
//   -i  start after boot: create the default directories, restore the reading state
//   -c  create the default directories
//   -s  maintenance run: save the reading state and end (-z is the same)
//   -p  the next argument is the profile to switch to
//   -h  together with -i: drop the reader's current book after all
//
// Only arguments of exactly two characters, a dash and a letter, are switches; everything else is
// skipped, and unknown letters are ignored.
class StartupSwitches {
 public:
  // Reads argv[1] to argv[argc - 1], logging each one. on_directory_switch runs at every -i and -c
  // where it stands on the command line, because creating the directories belongs to reading them.
  static StartupSwitches Parse(int argc, const char* const* argv,
                               const std::function<void()>& on_directory_switch = {});

  bool boot_start() const { return boot_start_; }
  bool create_directories() const { return create_directories_; }
  bool maintenance_run() const { return maintenance_run_; }
  bool drop_current_book() const { return drop_current_book_; }
  const std::optional<std::string>& profile_name() const { return profile_name_; }

 private:
  bool boot_start_ = false;
  bool create_directories_ = false;
  bool maintenance_run_ = false;
  bool drop_current_book_ = false;
  std::optional<std::string> profile_name_;
};

}  // namespace marrowleaf::desktop
