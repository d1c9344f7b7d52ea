#include "engine/UzeBlocks.h"

#include "app/TestLog.h"

TQueue* BlockQueue = nullptr;
TBlock* Blocks[BlockCount] = {};

namespace {
void Debug(const char* text) { ShowMessageBox(nullptr, text, "Debug", MB_ICONERROR); }
}  // namespace

bool TQueue::AddBlock(TBlock* block) {
  if (!block) return false;
  {
    TLockGuard lock(FLock);
    if (FCount < BlockCount) {
      FItems[FCount++] = block;
      return true;
    }
  }
  Debug("AddBlock: FCount > BlockCount");
  return false;
}

TBlock* TQueue::First() {
  TLockGuard lock(FLock);
  return FCount > 0 ? FItems[0] : nullptr;
}

void TQueue::RemoveFirst() {
  TLockGuard lock(FLock);
  if (FCount == 0) return;
  for (int32_t i = 1; i < FCount; ++i) FItems[i - 1] = FItems[i];
  FItems[--FCount] = nullptr;
}

void TQueue::Clear() {
  TLockGuard lock(FLock);
  while (FCount > 0) FItems[--FCount] = nullptr;
}

int32_t TQueue::Count() {
  TLockGuard lock(FLock);
  return FCount;
}

void TQueue::DoMessage(UINT message, WPARAM tag) {
  if (!WindowHandle) return Debug("DoMessage: WindowHandle = 0");
  if (Count() == 0) return Debug("DoMessage: FCount = 0");
  if (message == UM_BLOCKFULL || message == UM_BLOCKEMPTY) {
    TBlock* head = First();
    RemoveFirst();  // only the clock thread takes blocks off, so the head is still this one
    PostMessageA(WindowHandle, message, tag, reinterpret_cast<LPARAM>(head));  // a failed post is ignored
  } else if (message == UM_BLOCKERROR) {
    Debug("DoMessage: UM_BLOCKERROR");
  } else {
    Debug("DoMessage: Msg out of bounds");
  }
}

void ResetBlocks() {
  BlockQueue->Clear();
  for (TBlock* b : Blocks) b->DataSize = 0;
}

void CreateBlocks() {
  BlockQueue = new TQueue;
  for (TBlock*& b : Blocks) b = new TBlock;
}

void FreeBlocks() {
  delete BlockQueue;
  BlockQueue = nullptr;
  for (TBlock*& b : Blocks) {
    delete b;
    b = nullptr;
  }
}
