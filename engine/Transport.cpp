#include "engine/Transport.h"

#include "app/Globals.h"
#include "foundation/SegmentList.h"

int32_t CurrentSegment = 0;

void SetCurrentSegment(int32_t index) {
  if (index >= 0 && SegmentList && index < SegmentList->Count()) CurrentSegment = index;
}
