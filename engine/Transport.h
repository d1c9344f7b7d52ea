// The transport: the play state, the current segment, and the commands Play,
// Pause, Stop, Previous and Next. Every change of segment goes through
// StartSegment, which prepares the segment from scratch and plays it.
#pragma once

#include <cstdint>

enum TPlayState : uint8_t { psStopped = 0, psPlaying = 1, psPaused = 2 };

extern uint8_t PlayState;
extern int32_t CurrentSegment;  // index into SegmentList
extern bool SegmentStarted;     // some segment got past its display preparation

// Makes index the current segment when it names one (stopping the clock);
// otherwise nothing changes.
void SetCurrentSegment(int32_t index);
void SetPlayState(uint8_t state);
// Prepares the segment and starts playing it; false when it did not start.
bool StartSegment(int32_t index);
void PlayFilm();
void PauseFilm();
// closeOnFinish false: stop without ending the program (a film is being replaced).
void StopFilm(bool closeOnFinish = true);
void PreviousSegment();
void NextSegment();

// Set while the main window is being destroyed, so that a Stop under the
// close-on-finish option does not destroy it a second time.
extern bool MainWindowClosing;
