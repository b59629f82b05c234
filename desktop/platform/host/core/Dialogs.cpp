// Messages and modal dialogs of the SDK. Their texts are resolved in the current language (keys
// begin with "@"), journaled and shown over the application by the DialogLayer. A message closes
// by itself after its time-out; a modal dialog holds its caller in a modal session of the event
// loop until a tap, a key or the script answers it, or takes its first button when nobody can.
#include "platform/sdk/dialogs.h"

#include <json/value.h>

#include <optional>
#include <string>
#include <vector>

#include "DialogAnswerQueue.h"
#include "DialogLayer.h"
#include "EventLoop.h"
#include "Journal.h"
#include "ModalDialog.h"
#include "platform/sdk/lang.h"
#include "platform/sdk/log.h"

using marrowleaf::platform::DialogAnswerQueue;
using marrowleaf::platform::DialogBox;
using marrowleaf::platform::DialogLayer;
using marrowleaf::platform::EventLoop;
using marrowleaf::platform::Journal;
using marrowleaf::platform::ModalDialog;
using marrowleaf::platform::ToJsonArray;

namespace {

// Longer texts can't be shown in a dialog anyway; the cap keeps the journal lines bounded.
constexpr size_t kMaxTextBytes = 4096;

std::string Translated(const char* text) {
  if (text == nullptr)
    return "";
  const char* translated = GetLangText(text);
  std::string result = translated ? translated : text;
  if (result.size() > kMaxTextBytes) {
    // Cut before a whole character, never inside one.
    size_t cut = kMaxTextBytes;
    while (cut > 0 && (static_cast<unsigned char>(result[cut]) & 0xc0) == 0x80) --cut;
    result.resize(cut);
  }
  // Texts from files may hold any bytes; the screen, like the journal, shows only text.
  return marrowleaf::platform::RepairUtf8(result);
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

DialogBox MakeBox(DialogBox::Kind kind, int icon, const char* title, const char* text) {
  DialogBox box;
  box.kind = kind;
  box.icon = icon;
  box.title = Translated(title);
  box.text = Translated(text);
  return box;
}

Json::Value JournalFields(const DialogBox& box) {
  Json::Value fields;
  fields["icon"] = box.icon;
  fields["title"] = box.title;
  fields["text"] = box.text;
  return fields;
}

void ShowMessage(DialogBox box, int timeout_ms) {
  const int id = DialogLayer::Get().Open(std::move(box));
  // One message at a time: a new one replaces the old one and its time-out.
  EventLoop::Get().ArmSystemTimer("sdk-message", [id] { DialogLayer::Get().Close(id); },
                                  timeout_ms);
}

// Shows the dialog and waits in a modal session for its answer; the first button when nobody can
// answer (no event loop runs, or a headless run without a script).
int AskInModalSession(DialogBox box) {
  EventLoop& loop = EventLoop::Get();
  if (!loop.CanRunModal())
    return ModalDialog::kDefaultAnswer;
  const size_t buttons = box.buttons.size();
  const int id = DialogLayer::Get().Open(std::move(box));
  ModalDialog session(id, buttons);
  loop.RunModal(session);
  DialogLayer::Get().Close(id);
  return session.Answer();
}

}  // namespace

void Message(int icon, const char* title, const char* text, int timeout_ms) {
  DialogBox box = MakeBox(DialogBox::Kind::kMessage, icon, title, text);
  Json::Value fields = JournalFields(box);
  fields["timeout"] = timeout_ms;
  Journal::Append("message", fields);
  EventLoop& loop = EventLoop::Get();
  if (loop.OnLoopThread()) {
    ShowMessage(std::move(box), timeout_ms);
    return;
  }
  // Only the event-loop thread draws.
  loop.PostTask([box = std::move(box), timeout_ms]() mutable {
    ShowMessage(std::move(box), timeout_ms);
  });
}

int DialogSynchro(int icon, const char* title, const char* text, const char* button1,
                  const char* button2, const char* button3) {
  DialogBox box = MakeBox(DialogBox::Kind::kDialog, icon, title, text);
  box.buttons = ButtonCaptions(button1, button2, button3);
  Json::Value fields = JournalFields(box);
  fields["buttons"] = ToJsonArray(box.buttons);
  int answer = 0;
  if (box.buttons.empty()) {
    // Nothing could answer it.
    answer = 0;
  } else if (const std::optional<int> queued = DialogAnswerQueue::Get().Pop()) {
    // Answered before it showed.
    answer = ModalDialog::ValidAnswer(*queued, box.buttons.size());
  } else {
    answer = AskInModalSession(std::move(box));
  }
  fields["answer"] = answer;
  Journal::Append("dialog", fields);
  return answer;
}

void QueueDialogAnswer(int button) {
  if (!DialogAnswerQueue::Get().Push(button)) {
    MW_LOG(MW_LOG_WARNING, "dialog answer %d dropped: too many queued", button);
  }
}
