#include "system_init/StartupSwitches.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace marrowleaf::desktop {
namespace {

// The letter of a switch, or 0 when the argument is not one.
char SwitchLetter(const char* argument) {
  if (argument == nullptr || std::strlen(argument) != 2 || argument[0] != '-')
    return 0;
  const unsigned char letter = static_cast<unsigned char>(argument[1]);
  return std::isalpha(letter) ? static_cast<char>(letter) : 0;
}

}  // namespace

StartupSwitches StartupSwitches::Parse(int argc, const char* const* argv,
                                       const std::function<void()>& on_directory_switch) {
  StartupSwitches switches;
  for (int index = 1; index < argc; ++index) {
    const char* argument = argv[index] ? argv[index] : "";
    std::fprintf(stderr, "system_init: argv[%d] = %s\n", index, argument);
    switch (SwitchLetter(argument)) {
      case 'i':
        switches.boot_start_ = true;
        if (on_directory_switch)
          on_directory_switch();
        break;
      case 'c':
        switches.create_directories_ = true;
        if (on_directory_switch)
          on_directory_switch();
        break;
      case 's':
      case 'z':
        switches.maintenance_run_ = true;
        break;
      case 'h':
        switches.drop_current_book_ = true;
        break;
      case 'p':
        // A -p at the very end has no name to take; it is ignored and an earlier name stays.
        if (index + 1 < argc && argv[index + 1] != nullptr) {
          switches.profile_name_ = std::string(argv[index + 1]);
          ++index;
        }
        break;
      default:
        break;
    }
  }
  return switches;
}

}  // namespace marrowleaf::desktop
