// Frame records from the segment's frame data to the picture: refilling blocks
// on the window thread, stepping through them on the clock's thread, and
// applying the current record to the picture.
#pragma once

#include <windows.h>

#include <cstdint>

class TBlock;

extern const uint8_t* Frame;   // the current record inside the head block; null before a segment starts
extern int32_t FrameIndex;     // index of the current frame; -1 while no segment is prepared
extern bool SegmentEnded;      // the last frame has been reached
extern volatile bool Stopping; // Stop is in progress: nobody waits for blocks any more
extern uint32_t StartCounter;  // counts segment starts; tags the queue's messages
extern bool FeedFailed;        // a refill failed; the segment ends at the next due frame

// UM_BLOCKEMPTY: refills the block from the current segment's frame data and queues
// it. A message tagged with an earlier start is dropped.
void DoBlockEmpty(TBlock* block, WPARAM tag);
// Fills both blocks for a segment start and makes the first record current.
void PrimeBlocks();
// Steps to the next record when a frame is due; ends the segment after its last.
void AdvanceFrame();
// Waits, in 1 ms sleeps, until a block is at the head of the queue, or until
// none can come (Stop, the clock stopped, no data left anywhere).
void WaitForQueue();
constexpr DWORD kQueueWaitLimitMs = 5000;
// Checks the current record before it is applied.
void UnpackFrame();
// XORs the current record into the picture.
void ApplyXorFrame();
