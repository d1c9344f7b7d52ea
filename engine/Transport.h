// Playback state and the current segment.
#pragma once

#include <cstdint>

extern int32_t CurrentSegment;  // index into SegmentList

// Makes index the current segment when it names one; otherwise nothing changes.
void SetCurrentSegment(int32_t index);
