// The block queue: the hand-over of frame records between the window thread,
// which reads them from disk into two 16 MiB blocks, and the clock thread, which
// plays them and hands each played-out block back for refilling.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "engine/BlockFill.h"
#include "foundation/zeClasses.h"

constexpr UINT UM_BLOCKFULL = WM_USER + 100;
constexpr UINT UM_BLOCKEMPTY = WM_USER + 101;
constexpr UINT UM_BLOCKERROR = WM_USER + 102;
constexpr int32_t BlockCount = 2;

class TBlock {
 public:
  TBlock() : Data(engine::kBlockSize) {}
  int32_t DataSize = 0;  // bytes of whole records at the start of Data; 0: free
  std::vector<uint8_t> Data;
};

// First in, first out; the head is the block being played. Both threads use it,
// so every change happens under the queue's own lock.
class TQueue {
 public:
  bool AddBlock(TBlock* block);
  TBlock* First();
  void RemoveFirst();
  void Clear();
  // Takes the head block off and posts it to WindowHandle with the message
  // (lParam: the block, wParam: tag, which names the segment start it belongs to).
  void DoMessage(UINT message, WPARAM tag = 0);
  int32_t Count();

  HWND WindowHandle = nullptr;

 private:
  TCriticalSection FLock;
  int32_t FCount = 0;
  TBlock* FItems[BlockCount] = {};
};

extern TQueue* BlockQueue;
extern TBlock* Blocks[BlockCount];

// Empties the queue and marks both blocks free.
void ResetBlocks();
// Made at program start and freed at its end (32 MiB that playing never reallocates).
void CreateBlocks();
void FreeBlocks();
