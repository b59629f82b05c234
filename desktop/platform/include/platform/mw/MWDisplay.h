#pragma once

#include <string>

// The simulator's screen as the application frame uses it. The frame opens it before its event
// loop runs and closes it after: in between, every screen update reaches the screen (a window on
// the PC, or a picture in memory for headless runs) and the window's mouse and keyboard reach the
// program as device input.

// Opens the screen chosen by MARROWLEAF_DISPLAY ("sdl" or "headless"; without it a window when the
// PC has a display). Calling it again while the screen is open does nothing.
void InstallDisplay();
// True when a person uses the screen (a window): a run without a script then waits for them
// instead of settling, taking a screenshot and closing. Closing the window sends the exit event.
bool DisplayIsInteractive();
// Writes the screen as the panel shows it (16 grey levels, or colour on a colour panel) to a PNG
// file of the PC. The hook of the script's "screenshot FILE".
bool SaveDisplayScreenshot(const std::string& host_file);
// Writes a text file of the PC (a name a script gave), replacing it atomically: the hook of the
// script's "windows FILE". False when it can't.
bool SaveSimulatorFile(const std::string& host_file, const std::string& content);
// Closes the screen (and its window).
void CloseDisplay();
