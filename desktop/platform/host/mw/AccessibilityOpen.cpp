#include "platform/mw/AccessibilityOpen.h"

#include <string>

#include "platform/mw/MWAccessibilityAudio.h"
#include "platform/sdk/lang.h"

namespace {

std::string FileName(const char* path) {
  const std::string text = path != nullptr ? path : "";
  const size_t slash = text.rfind('/');
  return slash == std::string::npos ? text : text.substr(slash + 1);
}

void SayOpening(const std::string& what) {
  MWAccessibilityAudio::PlayGroup({GetLangText("@Opening"), what});
}

}  // namespace

void AccessibilityOpenTask(const char* path, const char* what) {
  const bool named = what != nullptr && *what != '\0';
  SayOpening(named ? GetLangText(what) : FileName(path));
}

void AccessibilityOpenBook(const char* title) {
  SayOpening(title != nullptr ? title : "");
}
