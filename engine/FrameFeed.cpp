#include "engine/FrameFeed.h"

#include "app/Globals.h"
#include "app/TestLog.h"
#include <algorithm>

#include "engine/BlockFill.h"
#include "engine/Clock.h"
#include "engine/Display.h"
#include "engine/FrameDecoder.h"
#include "engine/PictureLayout.h"
#include "engine/Transport.h"
#include "engine/UzeBlocks.h"
#include "foundation/SegmentList.h"
#include "resources/resource.h"
#include "shell/zePStrings.h"
#include "sound/SoundSync.h"

#include <atomic>

const uint8_t* Frame = nullptr;
int32_t FrameIndex = -1;
bool SegmentEnded = false;
volatile bool Stopping = false;
uint32_t StartCounter = 0;
bool FeedFailed = false;

namespace {

// Blocks handed back to the window thread and not yet refilled: while there are
// any, a tick that needs the next block waits for them.
std::atomic<int> blocksInFlight{0};

TSegmentInfo* CurrentRecord() { return SegmentList ? SegmentList->Item(CurrentSegment) : nullptr; }

// The segment is over: the clock stops and the window thread starts the next
// one, exactly as at the end of its last frame.
void EndSegment() {
  SegmentEnded = true;
  PostMessageA(MainWindow, WM_COMMAND, CMD_NEXT, static_cast<LPARAM>(StartCounter));
  SetClock(false);
}

}  // namespace

namespace {

// Reads whole records into the block and queues it when it got any.
void RefillBlock(TBlock* block) {
  block->DataSize = 0;
  if (FeedFailed) return;  // after a broken record nothing further is read
  TSegmentInfo* segment = CurrentRecord();
  if (!segment) {
    ShowMessageBox(MainWindow, "SegInfo = nil", "Debug", MB_ICONERROR);
    return;
  }
  int32_t size = 0;
  const engine::TFillResult result =
      engine::FillBlock(*segment->FrameData, block->Data.data(), engine::kBlockSize, MaxFrameSize, size);
  const bool broken = result == engine::TFillResult::BadLength || result == engine::TFillResult::ShortRead;
  // The whole records before a broken one still play; the segment then ends there.
  block->DataSize = size;
  if (size > 0) BlockQueue->AddBlock(block);
  if (broken) {
    FeedFailed = true;  // nothing further is read, and the fault is shown once
    ShowMessageBox(MainWindow, result == engine::TFillResult::BadLength ? "DoBlockEmpty: Size = 0" : "DoBlockEmpty: BytesRead <> size",
                   texts::Error, MB_OK);
  }
}

}  // namespace

void DoBlockEmpty(TBlock* block, WPARAM tag) {
  if (!block) {
    ShowMessageBox(MainWindow, "DoBlockEmpty: Block = nil", "Debug", MB_ICONERROR);
    return;
  }
  if (static_cast<uint32_t>(tag) != StartCounter) return;  // from an earlier start: the block was primed since
  const uint32_t start = StartCounter;
  RefillBlock(block);
  if (start == StartCounter) --blocksInFlight;  // a start during its message box counted afresh
}

void PrimeBlocks() {
  FeedFailed = false;
  blocksInFlight = 0;
  for (TBlock* b : Blocks) b->DataSize = 0;
  for (TBlock* b : Blocks) RefillBlock(b);
  FrameIndex = 0;
  TBlock* head = BlockQueue->First();
  Frame = head ? head->Data.data() : nullptr;
  if (TicksPerFrame != 1) {
    UnpackFrame();
    ApplyXorFrame();
  }
}

void AdvanceFrame() {
  if (TickCount % TicksPerFrame != 0 || SegmentEnded) return;
  TSegmentInfo* segment = CurrentRecord();
  if (!segment) return;
  if (FrameIndex >= segment->FrameCount - 1) return EndSegment();
  TBlock* head = BlockQueue->First();
  if (!head) {
    // No record left although frames are due: the data is used up (or could not be
    // read), so the segment ends here rather than waiting for ever.
    if (FeedFailed || (blocksInFlight <= 0 && Blocks[0]->DataSize == 0 && Blocks[1]->DataSize == 0)) EndSegment();
    return;
  }
  ++FrameIndex;
  Frame += engine::RecordLength(Frame);
  if (Frame - head->Data.data() < head->DataSize) return;
  head->DataSize = 0;
  ++blocksInFlight;
  BlockQueue->DoMessage(UM_BLOCKEMPTY, StartCounter);
  WaitForQueue();
  TBlock* next = BlockQueue->First();
  if (next) {
    Frame = next->Data.data();
  } else {
    Frame = nullptr;
    if (!Stopping) EndSegment();  // nothing more could be read: the records are used up
  }
}

void WaitForQueue() {
  WaitForSoundQueue();
  const DWORD start = GetTickCount();
  while (!BlockQueue->First()) {
    if (Stopping || !ClockRunning) return;
    if (blocksInFlight <= 0 && Blocks[0]->DataSize == 0 && Blocks[1]->DataSize == 0) return;
    if (GetTickCount() - start > kQueueWaitLimitMs) return;  // a window thread that never answers
    Sleep(1);
  }
}

void UnpackFrame() {
  TSegmentInfo* segment = CurrentRecord();
  if (!segment) return;
  if (!Frame) {
    if (!FeedFailed) ReportEngineError("UnpackFrame: Frame Is Nil");  // a failed fill was reported already
    return;
  }
  if (!FramePixels && segment->BitsPerPixel >= 24) {
    ReportEngineError("UnpackFrame: PXorFrame Is Nil");
  }
}

void ApplyXorFrame() {
  TSegmentInfo* segment = CurrentRecord();
  if (!segment || segment->BitsPerPixel < 24 || !Frame || !FramePixels) return;
  GdiFlush();  // the cursor was restored through GDI; its pixels must be in place first
  TBlock* head = BlockQueue->First();
  // A record never reaches past the data of its block.
  const int32_t room = head ? static_cast<int32_t>(head->Data.data() + head->DataSize - Frame) : 0;
  const int32_t length = room >= 8 ? std::min(engine::RecordLength(Frame), room) : 0;
  engine::ApplyFrameRecord(Frame, length, FramePixels, static_cast<int64_t>(Layout.FilmWidth) * Layout.FilmHeight);
}
