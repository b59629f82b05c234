#pragma once

namespace marrowleaf::platform {

// What the SDK's own services ask of the running event loop. Safe from any thread.
void RequestLoopExit();
// Queues an event for the application's handler (dropped when no handler is installed yet).
void PostEvent(int type, int par1, int par2);
// What the device sends a freshly started application: its start event before anything else, then,
// when no other task holds the screen, the foreground and show events.
void PostStartEvents();
// Work in progress on other threads (queries, cover tasks): the script's "idle" waits until the
// count returns to zero.
void AddPendingWork(int delta);

}  // namespace marrowleaf::platform
