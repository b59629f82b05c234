// Messages and modal dialogs. The simulator journals them; a modal dialog is answered by the script
// ("answer N") or, without one, by its first button.
#pragma once

enum DialogIcon {
  ICON_INFORMATION = 1,
  ICON_QUESTION = 2,
  ICON_WARNING = 3,
  ICON_ERROR = 4,
};

// A note that closes by itself after timeout_ms.
void Message(int icon, const char* title, const char* text, int timeout_ms);
// A modal question; returns the number of the button chosen (1..3), or 0 when dismissed.
int DialogSynchro(int icon, const char* title, const char* text, const char* button1,
                  const char* button2, const char* button3);

// The answer the next dialog receives, queued by the script driver ("answer N").
void QueueDialogAnswer(int button);
