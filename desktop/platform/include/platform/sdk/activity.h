// Work the application runs on its own threads. The simulator's script waits for it in "idle".
#pragma once

// Counts work queued or running on another thread: +1 when it is queued, -1 when it has finished
// and its result has been handed to the event loop. Safe from any thread.
void ReportBackgroundWork(int delta);
