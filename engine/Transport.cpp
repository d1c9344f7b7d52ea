#include "engine/Transport.h"

#include <windows.h>

#include "app/Globals.h"
#include "app/MainForm.h"
#include "app/TestLog.h"
#include "app/WindowLayout.h"
#include "controls/PanelHooks.h"
#include "engine/Clock.h"
#include "engine/Display.h"
#include "engine/EngineLock.h"
#include "engine/FrameFeed.h"
#include "engine/PictureLayout.h"
#include "engine/UzeBlocks.h"
#include "foundation/SegmentList.h"
#include "foundation/ZecabClasses.h"
#include "resources/resource.h"
#include "shell/Format.h"
#include "shell/UzeCmd.h"
#include "shell/zePStrings.h"
#include "sound/SoundSync.h"

uint8_t PlayState = psStopped;
int32_t CurrentSegment = 0;
bool SegmentStarted = false;
bool MainWindowClosing = false;

void SetCurrentSegment(int32_t index) {
  if (index >= 0 && SegmentList && index < SegmentList->Count()) {
    SetClock(false);
    CurrentSegment = index;
  }
}

void SetPlayState(uint8_t state) {
  if (state == PlayState) return;
  PlayState = state;
  UpdateMenuState();
  RepaintPanel();
}

bool StartSegment(int32_t index) {
  if (index < 0 || !SegmentList) return false;
  if (index >= SegmentList->Count()) {
    StopFilm();
    return false;
  }
  SetClock(false);
  {
    TLockGuard lock(*EngineLock);  // a tick still running on the timer thread finishes first
    BlockQueue->Clear();
  }
  ++StartCounter;  // messages of earlier starts are recognised and dropped
  SetCurrentSegment(index);
  FrameIndex = -1;
  UpdateSegmentInfo();
  TSegmentInfo* segment = SegmentList->Item(CurrentSegment);
  // A picture whose largest record cannot fit a block cannot be played.
  if (!engine::PictureFitsBlock(engine::MaxFrameSize(segment->Width, segment->Height))) {
    ShowMessageBox(nullptr, Format(texts::PictureTooLarge, {segment->Width, segment->Height}), texts::Error, MB_OK);
    PostMessageA(MainWindow, WM_COMMAND, CMD_NEXT, static_cast<LPARAM>(StartCounter));
    return false;
  }
  if (!PrepareDisplay()) return false;
  ClearBuffers();
  CursorPos = PrevCursorPos = {-CursorCell.Width, -CursorCell.Height};
  CurrentCursor = nullptr;
  TicksPerFrame = (segment->Flags & 1) ? 3 : 1;
  segment->FrameData->SetPosition(0);
  segment->CursorTrack->SetPosition(0);
  TickCount = 0;
  SegmentStarted = true;
  AutoFullScreen();
  SetPlayState(psStopped);
  LayoutPicture();
  PublishEvent(evSegmentStart, index);
  ResetBlocks();
  Stopping = false;
  PrimeBlocks();
  SegmentEnded = false;
  ComputeTickInterval();
  StopSound();
  PrepareSound();
  SetClock(true);
  SetPlayState(psPlaying);
  SelectListSegment(CurrentSegment);
  return true;
}

void PlayFilm() {
  if (!SegmentList || PlayState == psPlaying || SegmentList->Count() == 0) return;
  if (PlayState == psPaused) {
    SetClock(true);
  } else {
    FullScreenAtPlay = FullScreen;
    SaveWindowPlacement();
    if (!StartSegment(CurrentSegment)) return;
  }
  SetPlayState(psPlaying);
  PublishEvent(evPlay, 0);
}

void PauseFilm() {
  if (!SegmentList || PlayState != psPlaying) return;
  SetPlayState(psPaused);
  SetClock(false);
  PublishEvent(evPause, 0);
}

void StopFilm(bool closeOnFinish) {
  if (!SegmentList) return;
  SetClock(false);
  StopSound();
  Stopping = true;
  BlockQueue->Clear();
  ++StartCounter;  // a Next still on its way from the clock is now late
  PublishEvent(evStop, 0);
  if (Cmd.CloseOnFinish && closeOnFinish) {
    if (!MainWindowClosing) DestroyWindow(MainWindow);
    return;
  }
  SetCurrentSegment(0);
  SetPlayState(psStopped);
  RestoreScreenMode();
  if (MainWindow) InvalidateRect(MainWindow, nullptr, TRUE);
  FrameIndex = -1;
  UpdateSegmentInfo();
  RepaintPanel();
}

void PreviousSegment() { StartSegment(CurrentSegment - 1); }

void NextSegment() { StartSegment(CurrentSegment + 1); }
