#include "controls/PanelHooks.h"

void UpdateSegmentInfo() {}
void RepaintPanel() {}
void UpdateTimeText() {}
void SelectListSegment(int32_t) {}
void UpdatePanelToggles() {}
void ToggleSegmentList() {}
void FillSegmentList() {}
void CreatePanelTooltips() {}
