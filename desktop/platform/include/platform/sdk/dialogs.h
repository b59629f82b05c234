// Messages and modal dialogs, drawn by the system over the application's screen. The simulator also
// journals them. Called on the event-loop thread (a message from another thread shows at the loop's
// next turn).
#pragma once

enum DialogIcon {
  ICON_INFORMATION = 1,
  ICON_QUESTION = 2,
  ICON_WARNING = 3,
  ICON_ERROR = 4,
};

// A note that closes by itself after timeout_ms; a new message replaces it. Input still goes to the
// application meanwhile.
void Message(int icon, const char* title, const char* text, int timeout_ms);
// A modal question; returns the number of the button chosen (1..3), or 0 when dismissed (the Back
// key). The application receives nothing until it is answered: its events and timers wait. In the
// simulator it is answered by a tap or the keys, or by the script ("answer N"); a headless run
// without a script, or a script that ends, takes the first button.
int DialogSynchro(int icon, const char* title, const char* text, const char* button1,
                  const char* button2, const char* button3);

// The answer the open dialog, or else the next one, receives: queued by the script driver
// ("answer N").
void QueueDialogAnswer(int button);
