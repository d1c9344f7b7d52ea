#include "foundation/ZecabClasses.h"

#include <algorithm>

TEventPublisher EventPublisher;
int32_t EventData = 0;

void TEventPublisher::Subscribe(TEventProc proc) {
  if (proc == nullptr) return;
  FSubscribers.push_back(proc);
  FCount = static_cast<int32_t>(FSubscribers.size());
}

void TEventPublisher::Unsubscribe(TEventProc proc) {
  const auto it = std::find(FSubscribers.begin(), FSubscribers.end(), proc);
  if (it == FSubscribers.end()) return;
  *it = nullptr;  // a notification in progress must neither skip nor repeat anybody
  if (FNotifying == 0) Compact();
}

void TEventPublisher::Compact() {
  FSubscribers.erase(std::remove(FSubscribers.begin(), FSubscribers.end(), nullptr), FSubscribers.end());
  FCount = static_cast<int32_t>(FSubscribers.size());
}

void TEventPublisher::Notify(uint8_t code, int32_t param, void* data) {
  struct Depth {  // also undone when a subscriber throws
    TEventPublisher& p;
    explicit Depth(TEventPublisher& owner) : p(owner) { ++p.FNotifying; }
    ~Depth() {
      if (--p.FNotifying == 0) p.Compact();
    }
  } depth(*this);
  const int32_t count = FCount;  // subscribers added now wait for the next event
  for (int32_t i = 0; i < count; ++i) {
    if (TEventProc proc = FSubscribers[static_cast<size_t>(i)]) proc(code, param, data);
  }
}
