#include "platform/utils/HumanText.h"

#include "platform/sdk/lang.h"

namespace marrowleaf::utilities {

namespace {

const char kBlanks[] = " \t\r\n";

}  // namespace

std::string HumanText(const std::string& text) {
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string::npos)
    return "";
  const std::string trimmed = text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
  if (trimmed.size() < 2 || trimmed[0] != '@')
    return trimmed;
  return GetLangText(trimmed.c_str());
}

}  // namespace marrowleaf::utilities
