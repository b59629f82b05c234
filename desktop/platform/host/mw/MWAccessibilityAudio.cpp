#include "platform/mw/MWAccessibilityAudio.h"

#include <json/value.h>

#include "Journal.h"
#include "SpeechOutput.h"
#include "platform/sdk/device_features.h"

using marrowleaf::platform::Journal;
using marrowleaf::platform::SpeechOutput;

std::string MWAccessibilityAudio::PlayGroup(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& part : parts) {
    if (part.empty())
      continue;
    if (!text.empty())
      text += ", ";
    text += part;
  }
  return PlayGroup(text);
}

std::string MWAccessibilityAudio::PlayGroup(const std::string& text) {
  std::string spoken = text.substr(0, kMaxTextBytes);
  if (spoken.empty())
    return spoken;
  Json::Value fields;
  fields["text"] = spoken;
  const bool reader_on = accessibilityFocusEnable() != 0;
  fields["aloud"] = reader_on && SpeechOutput::Get().Speak(spoken);
  Journal::Append("speech", fields);
  return spoken;
}

void MWAccessibilityAudio::Stop() {
  SpeechOutput::Get().Stop();
}
