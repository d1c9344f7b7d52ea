// The event publisher: the point where the player announces its life-cycle and
// transport events to whoever subscribed.
#pragma once

#include <cstdint>
#include <vector>

enum TEventCode : uint8_t {
  evStartup = 0,        // the main window has been created and painted
  evPlay = 1,           // playback switched to playing
  evPause = 2,          // playback switched from playing to paused
  evStop = 3,           // Stop was carried out
  evSegmentStart = 4,   // a segment is being started; parameter: its index
  evMainDestroyed = 6,  // the main window is being destroyed
};

using TEventProc = void (*)(uint8_t code, int32_t param, void* data);

class TEventPublisher {
 public:
  TEventPublisher() = default;
  ~TEventPublisher() { FCount = 0; }
  TEventPublisher(const TEventPublisher&) = delete;
  TEventPublisher& operator=(const TEventPublisher&) = delete;

  // A subscriber added during a notification is first called by the next one;
  // one removed during a notification is not called again.
  void Subscribe(TEventProc proc);
  void Unsubscribe(TEventProc proc);
  // Calls the subscribers in the order they subscribed, on the calling thread.
  void Notify(uint8_t code, int32_t param, void* data);
  int32_t Count() const { return FCount; }

 private:
  void Compact();

  std::vector<TEventProc> FSubscribers;  // removed ones are blanked until no notification runs
  int32_t FCount = 0;
  int32_t FNotifying = 0;
};

extern TEventPublisher EventPublisher;
// The data pointer of every notification points here; the player never uses it.
extern int32_t EventData;

// Publishes on EventPublisher with the process-wide data pointer.
inline void PublishEvent(uint8_t code, int32_t param) { EventPublisher.Notify(code, param, &EventData); }
