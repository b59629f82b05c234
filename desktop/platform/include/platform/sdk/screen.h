// The screen of the device: its size, the panel (status bar) at the bottom, and the e-ink updates.
// The simulator records every update in the journal with its kind and rectangle.
#pragma once

int ScreenWidth();
int ScreenHeight();
int PanelHeight();
int ScreenDpi();

// Whole screen with a flash: removes all ghosting.
void FullUpdate();
// Part of the screen, without a flash.
void PartialUpdate(int x, int y, int width, int height);
// Whole screen without a flash.
void SoftUpdate();
// Fast black-and-white update for quick feedback.
void DynamicUpdate(int x, int y, int width, int height);
// Blocks until the last update has been shown.
void WaitForUpdateComplete();
void ClearScreen();

// Makes the panel half transparent (percent 0..100) while menus are open.
void SetPanelTransparent(int percent);
void SetPanelType(int type);
// Shows or hides the line between the panel and the application's screen.
void SetPanelSeparatorEnabled(int enabled);
void DrawPanel(int icon, const char* text, const char* title, int percent);
int IsPanelFocused();
void SetFocusOnPanel(int focused);

void SetOrientation(int orientation);
void SetDefaultOrientation(int orientation);
int GetOrientation();

void ShowHourglassForce();
void DisableExitHourglass();
void RestoreStartupLogo();
