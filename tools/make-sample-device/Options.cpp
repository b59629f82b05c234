#include "Options.h"

#include <cerrno>
#include <cstdlib>

namespace marrowleaf::tools {

namespace {

// Enough for a large library; a bigger number is almost certainly a typing error.
constexpr long kMaxBooks = 100000;

}  // namespace

bool Options::Parse(int argc, const char* const* argv, std::string* error) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const bool has_value = i + 1 < argc;
    if (argument == "--help" || argument == "-h") {
      help = true;
    } else if (argument == "--first-boot") {
      first_boot = true;
    } else if (argument == "--force") {
      force = true;
    } else if (argument == "--root" || argument == "--profile" || argument == "--books") {
      if (!has_value) {
        *error = argument + " needs a value";
        return false;
      }
      const std::string value = argv[++i];
      if (argument == "--root") {
        root = value;
      } else if (argument == "--profile") {
        profile = value;
      } else if (!ParseBooks(value, error)) {
        return false;
      }
    } else {
      *error = "unknown argument: " + argument;
      return false;
    }
  }
  if (!help && root.empty()) {
    *error = "--root is required";
    return false;
  }
  return true;
}

bool Options::ParseBooks(const std::string& text, std::string* error) {
  char* end = nullptr;
  errno = 0;
  long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno != 0 || value < 0 || value > kMaxBooks) {
    *error = "--books takes a number from 0 to " + std::to_string(kMaxBooks);
    return false;
  }
  books = static_cast<int>(value);
  books_given = true;
  return true;
}

std::string Options::Usage() {
  return "usage: make-sample-device --root DIR [--profile NAME] [--books N] [--first-boot] "
         "[--force]\n"
         "  --root DIR      the device root folder to create (MARROWLEAF_ROOT of the simulator)\n"
         "  --profile NAME  the device to simulate (default 6in-1072)\n"
         "  --books N       the number of sample books\n"
         "  --first-boot    a device fresh from the factory: the first-run steps are still to do\n"
         "  --force         write over an existing device\n";
}

}  // namespace marrowleaf::tools
