// Named one-shot timers. Callbacks run on the event-loop thread. Arming a name that is armed
// restarts it with the new period. Timers are driven by the event loop's monotonic clock, which
// tests can replace (platform/sdk/clock.h).
#pragma once

typedef void (*TimerProc)();
typedef void (*TimerProcEx)(void* context);

void SetHardTimer(const char* name, TimerProc callback, int milliseconds);
void SetHardTimerEx(const char* name, TimerProcEx callback, void* context, int milliseconds);
// Same as SetHardTimer; the device distinguishes timers that wake it from sleep, the simulator not.
void SetWeakTimer(const char* name, TimerProc callback, int milliseconds);
void ClearTimer(TimerProc callback);
void ClearTimerByName(const char* name);
// 1 when a timer with this callback is armed, else 0.
int QueryTimer(TimerProc callback);
int QueryTimerByName(const char* name);
