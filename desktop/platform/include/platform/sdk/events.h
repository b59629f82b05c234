// Events of the device SDK.
//
// An event is a type and two integers, delivered to the application's event handler on the
// event-loop thread. SendEvent may be called from any thread; it queues the event and wakes the loop.
#pragma once

typedef int (*EventHandler)(int type, int par1, int par2);

enum DeviceEvent {
  EVT_INIT = 21,         // the application starts: the first event of the loop
  EVT_EXIT = 22,         // the device asks the application to save and close
  EVT_SHOW = 23,         // the screen must be drawn again (for example after a dialog)
  EVT_KEYPRESS = 25,     // par1 = key code
  EVT_KEYRELEASE = 26,   // par1 = key code, par2 = 0 for a short press, 1 after a long press
  EVT_KEYREPEAT = 28,    // par1 = key code, par2 = repeat count
  EVT_POINTERUP = 29,    // par1 = x, par2 = y
  EVT_POINTERDOWN = 30,  // par1 = x, par2 = y
  EVT_POINTERMOVE = 31,  // par1 = x, par2 = y
  EVT_POINTERLONG = 34,  // par1 = x, par2 = y; the pointer was held 500 ms
  // A window took the press over (a list began to scroll, a page began to turn): whoever waits for
  // the pointer to come up gives up. par1, par2 = the pointer's position.
  EVT_POINTERCANCEL = 44,
  // A tile turned a long press into its hold command: its container forgets where the press
  // started, so the release is no swipe. par1, par2 = the pointer's position.
  EVT_POINTERHOLDTAKEN = 45,
  EVT_CONFIGCHANGED = 73,
  EVT_FOREGROUND = 151,  // this task came to the front
  EVT_BACKGROUND = 152,  // another task took the screen
  EVT_NEWFIRMWARE_ANNOUNCED = 154,  // the panel may show that new firmware waits
  EVT_HOME = 155,        // the user asked for the home screen
  EVT_RESTART = 156,     // the application must start again (for example after a language change)
  EVT_SD_IN = 161,
  EVT_SD_OUT = 162,
  EVT_USB_IN = 163,
  EVT_USB_OUT = 164,
  EVT_USERDEFINED = 212,  // the application's own wake-up, par1 and par2 are its own
  EVT_LIBRARY_CHANGED = 216,  // the file indexer changed the library database
  EVT_FIRMWARE_FOUND = 217,   // a firmware update was downloaded
  EVT_NET_CONNECTED = 256,     // the network came up
  EVT_NET_DISCONNECTED = 257,  // the network went down
};

// Device key codes (par1 of the key events).
enum DeviceKey {
  KEY_BACK = 0x1b,
  KEY_DELETE = 0x08,
  KEY_OK = 0x0a,
  KEY_UP = 0x11,
  KEY_DOWN = 0x12,
  KEY_LEFT = 0x13,
  KEY_RIGHT = 0x14,
  KEY_MINUS = 0x15,
  KEY_PLUS = 0x16,
  KEY_MENU = 0x17,
  KEY_PREV = 0x18,
  KEY_NEXT = 0x19,
  // The second pair of page keys some models have (on the other side of the screen).
  KEY_PREV2 = 0x1c,
  KEY_NEXT2 = 0x1d,
  KEY_HOME = 0x1a,
  KEY_POWER = 0x01,
};

// The handler installed by the running event loop, or nullptr before it starts.
EventHandler GetEventHandler();
// Queues an event for handler; safe from any thread. Events sent before the loop runs wait for it.
void SendEvent(EventHandler handler, int type, int par1, int par2);
