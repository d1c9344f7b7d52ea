// The playback clock: one periodic multimedia timer whose ticks move the cursor,
// show frames when they are due and step through the records, all under EngineLock.
#pragma once

#include <windows.h>

#include <cstdint>

extern int32_t TickInterval;     // timer period in milliseconds
extern int32_t TimerResolution;  // timer resolution in milliseconds
extern UINT TimerId;             // 0: no timer
extern int32_t TickCount;        // ticks since the segment started
extern int32_t TicksPerFrame;    // 1, or 3 when the segment records the cursor three times per frame
extern volatile bool ClockRunning;
extern int32_t SpeedPosition;    // the speed slider's position, 0 to 8 (3: normal)

// Recomputes TickInterval for the current segment and speed.
void ComputeTickInterval();
// false stops the clock; true starts it, running the first tick at once on this thread.
void SetClock(bool on);
// The timer callback.
void CALLBACK Tick(UINT id, UINT msg, DWORD_PTR user, DWORD_PTR dw1, DWORD_PTR dw2);

// Hands an error found inside a tick to the window thread, which stops playback
// and reports it: a tick on the timer thread must not show boxes or stop itself.
void ReportEngineError(const char* text);
constexpr UINT UM_ENGINEERROR = WM_USER + 110;
