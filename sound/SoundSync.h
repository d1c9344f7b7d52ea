// Playing a segment's sound track in step with the pictures. The wave output is
// not built yet: these calls have no effect so far.
#pragma once

extern bool WaveOpen;     // a wave-output device is open
extern bool IsWindowsNT;  // decides how the sound is started

void PrepareSound();      // chooses and opens the segment's sound source
void StartSound();        // places the sound at the current frame and starts it
void PauseSound();
void StopSound();
void CloseWaveOut();
void WaitForSoundQueue();  // the sound's share of waiting for the next block
void WaveBufferDone(void* header);  // a wave buffer has finished playing
