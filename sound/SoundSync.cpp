#include "sound/SoundSync.h"

bool WaveOpen = false;
bool IsWindowsNT = true;

void PrepareSound() {}
void StartSound() {}
void PauseSound() {}
void StopSound() {}
void CloseWaveOut() {}
void WaitForSoundQueue() {}
void WaveBufferDone(void*) {}
