#include "views/StoreSpeech.h"

#include "platform/sdk/lang.h"

namespace marrowleaf::desktop {

std::vector<std::string> StoreSpeech::Parts(
    const std::vector<std::pair<const char*, std::string>>& labelled) {
  std::vector<std::string> parts;
  for (const auto& [key, text] : labelled) {
    if (!text.empty())
      parts.push_back(std::string(GetLangText(key)) + ": " + text);
  }
  parts.push_back(GetLangText("@AccessibilityRecommendationBook"));
  return parts;
}

}  // namespace marrowleaf::desktop
