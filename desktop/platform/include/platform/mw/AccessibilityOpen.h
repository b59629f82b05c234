#pragma once

// What the screen reader says before another task takes the screen, so that a reader who can't see
// it knows what opens. Both speak through MWAccessibilityAudio (journaled as "speech", spoken aloud
// while the screen reader is on). Event-loop thread only.

// The program at path opens; what is a language key ("@Library") or a title as it stands. Without
// a text the program's file name is said.
void AccessibilityOpenTask(const char* path, const char* what);
// A book opens in its reader.
void AccessibilityOpenBook(const char* title);
