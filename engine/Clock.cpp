#include "engine/Clock.h"

#include <mmsystem.h>

#include <cstdio>
#include <string>

#include "app/Globals.h"
#include "app/TestLog.h"
#include "controls/PanelHooks.h"
#include "engine/Display.h"
#include "engine/EngineLock.h"
#include "engine/FrameDecoder.h"
#include "engine/FrameFeed.h"
#include "engine/PictureLayout.h"
#include "engine/TickInterval.h"
#include "engine/Transport.h"
#include "foundation/Exception.h"
#include "foundation/SegmentList.h"
#include "sound/SoundSync.h"

int32_t TickInterval = 100;
int32_t TimerResolution = 25;
UINT TimerId = 0;
int32_t TickCount = 0;
int32_t TicksPerFrame = 1;
volatile bool ClockRunning = false;
int32_t SpeedPosition = engine::kNormalSpeedPosition;

namespace {

bool startPending = false;
bool lowerPriorityPending = false;

// With VARORIVI_TESTLOG_PICTURES set as well, every shown picture's hash follows
// its frame line, so a test can check each picture without a screenshot.
bool LogPictures() {
  static const bool wanted = GetEnvironmentVariableA("VARORIVI_TESTLOG_PICTURES", nullptr, 0) > 0;
  return wanted;
}

void LogPaintedFrame() {
  if (!TestLogActive()) return;
  const std::string position = std::to_string(CurrentSegment) + " " + std::to_string(FrameIndex);
  TestLog("frame", position + " " + std::to_string(TickCount));
  if (LogPictures() && FramePixels) {
    GdiFlush();
    char hash[16];
    snprintf(hash, sizeof hash, "%08x",
             engine::PictureHash(FramePixels, static_cast<int64_t>(Layout.FilmWidth) * Layout.FilmHeight));
    TestLog("picture", position + " " + hash);
  }
}

void TickBody() {
  if (startPending) {
    startPending = false;
    TimerResolution = engine::TimerResolutionFor(TickInterval);
    StartSound();
    ClockRunning = true;
    TimerId = timeSetEvent(static_cast<UINT>(TickInterval), static_cast<UINT>(TimerResolution), Tick, 0,
                           TIME_PERIODIC | TIME_CALLBACK_FUNCTION);
    if (TimerId == 0) {
      ClockRunning = false;
      throw Exception("MMTimer = 0");
    }
    lowerPriorityPending = true;
  } else if (lowerPriorityPending) {
    lowerPriorityPending = false;
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
  }
  {
    TFrameDC frame;
    RestoreBackground(frame.Handle());  // take back last tick's cursor
  }
  if (TicksPerFrame == 1) {
    UnpackFrame();
    ApplyXorFrame();
    ReadCursorTrack();
    {
      TFrameDC frame;
      SaveBackground(frame.Handle());
      DrawCurrentCursor(frame.Handle());
    }
    CommitCursorPos();
    PaintFrame();
    LogPaintedFrame();
  } else {
    const int32_t phase = TickCount % TicksPerFrame;
    ReadCursorTrack();
    {
      TFrameDC frame;
      SaveBackground(frame.Handle());
      DrawCurrentCursor(frame.Handle());
      if (phase != 0) PaintCursorArea(frame.Handle());
      CommitCursorPos();
      if (phase == 1) UnpackFrame();
      if (phase == 2) {
        RestoreBackground(frame.Handle());
        ApplyXorFrame();
        SaveBackground(frame.Handle());
        DrawCurrentCursor(frame.Handle());
      }
    }
    if (phase == 0) {
      PaintFrame();
      LogPaintedFrame();
    }
  }
  UpdateTimeText();
  AdvanceFrame();
  ++TickCount;
  Sleep(1);
}

}  // namespace

void ComputeTickInterval() {
  TSegmentInfo* segment = SegmentList ? SegmentList->Item(CurrentSegment) : nullptr;
  if (!segment) return;
  TickInterval = engine::ComputeTickInterval(segment->FrameRate, TicksPerFrame, engine::SpeedFactors[SpeedPosition]);
}

void SetClock(bool on) {
  if (!on) PauseSound();
  ClockRunning = false;
  if (TimerId != 0) {
    timeKillEvent(TimerId);
    TimerId = 0;
  }
  if (on) {
    if (TickInterval < 1) TickInterval = 1;
    startPending = true;
    Tick(0, 0, 0, 0, 0);
  }
}

void CALLBACK Tick(UINT id, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) {
  const bool onTimerThread = id != 0;
  if (onTimerThread && !ClockRunning) return;  // a tick that was already due when the clock stopped
  TLockGuard lock(*EngineLock);
  if (!onTimerThread) return TickBody();  // the first tick's errors reach whoever started the clock
  try {
    TickBody();
  } catch (const std::exception& e) {
    ReportEngineError(e.what());
  } catch (...) {
    ReportEngineError("Error in playback");
  }
}

void ReportEngineError(const char* text) {
  if (TimerId != 0) {
    ClockRunning = false;
    timeKillEvent(TimerId);
    TimerId = 0;
  }
  PostMessageA(MainWindow, UM_ENGINEERROR, 0, reinterpret_cast<LPARAM>(new std::string(text)));
}
