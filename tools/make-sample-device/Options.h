#pragma once

#include <string>

namespace marrowleaf::tools {

// The command line of make-sample-device:
//   make-sample-device --root DIR [--profile NAME] [--books N] [--first-boot] [--force]
class Options {
 public:
  // Fills the options from the arguments; false with a message for the user on a bad command line.
  bool Parse(int argc, const char* const* argv, std::string* error);
  static std::string Usage();

  std::string root;
  std::string profile = "6in-1072";
  int books = 0;
  bool books_given = false;
  bool first_boot = false;
  bool force = false;
  bool help = false;

 private:
  bool ParseBooks(const std::string& text, std::string* error);
};

}  // namespace marrowleaf::tools
