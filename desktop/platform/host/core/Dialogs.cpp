// Messages and modal dialogs of the SDK. Their texts are resolved in the current language (keys
// begin with "@") and journaled; a modal dialog is answered from the queue the script fills, or by
// its first button.
#include "platform/sdk/dialogs.h"

#include <json/value.h>

#include <string>
#include <vector>

#include "DialogAnswerQueue.h"
#include "Journal.h"
#include "platform/sdk/lang.h"
#include "platform/sdk/log.h"

using marrowleaf::platform::DialogAnswerQueue;
using marrowleaf::platform::Journal;
using marrowleaf::platform::ToJsonArray;

namespace {

// Longer texts can't be shown in a dialog anyway; the cap keeps the journal lines bounded.
constexpr size_t kMaxTextBytes = 4096;

std::string Translated(const char* text) {
  if (text == nullptr)
    return "";
  const char* translated = GetLangText(text);
  std::string result = translated ? translated : text;
  if (result.size() <= kMaxTextBytes)
    return result;
  // Cut before a whole character, never inside one.
  size_t cut = kMaxTextBytes;
  while (cut > 0 && (static_cast<unsigned char>(result[cut]) & 0xc0) == 0x80) --cut;
  result.resize(cut);
  return result;
}

// The captions of the buttons given, in order; a missing or empty caption ends the row.
std::vector<std::string> ButtonCaptions(const char* button1, const char* button2,
                                        const char* button3) {
  std::vector<std::string> captions;
  for (const char* button : {button1, button2, button3}) {
    if (button == nullptr || *button == '\0')
      break;
    captions.push_back(Translated(button));
  }
  return captions;
}

// The queued answer when it names a button (or 0, dismissed); otherwise the first button.
int ChooseAnswer(size_t buttons) {
  if (buttons == 0)
    return 0;
  const std::optional<int> queued = DialogAnswerQueue::Get().Pop();
  if (!queued)
    return 1;
  if (*queued < 0 || static_cast<size_t>(*queued) > buttons)
    return 1;
  return *queued;
}

void AddTexts(int icon, const char* title, const char* text, Json::Value* fields) {
  (*fields)["icon"] = icon;
  (*fields)["title"] = Translated(title);
  (*fields)["text"] = Translated(text);
}

}  // namespace

void Message(int icon, const char* title, const char* text, int timeout_ms) {
  Json::Value fields;
  AddTexts(icon, title, text, &fields);
  fields["timeout"] = timeout_ms;
  Journal::Append("message", fields);
}

int DialogSynchro(int icon, const char* title, const char* text, const char* button1,
                  const char* button2, const char* button3) {
  const std::vector<std::string> buttons = ButtonCaptions(button1, button2, button3);
  const int answer = ChooseAnswer(buttons.size());
  Json::Value fields;
  AddTexts(icon, title, text, &fields);
  fields["buttons"] = ToJsonArray(buttons);
  fields["answer"] = answer;
  Journal::Append("dialog", fields);
  return answer;
}

void QueueDialogAnswer(int button) {
  if (!DialogAnswerQueue::Get().Push(button)) {
    MW_LOG(MW_LOG_WARNING, "dialog answer %d dropped: too many queued", button);
  }
}
