// What playback tells the control panel and the segment list window. The panel
// and the list are not built yet: these calls have no effect so far.
#pragma once

#include <cstdint>

void UpdateSegmentInfo();  // the current segment's size and length in the panel
void RepaintPanel();
void UpdateTimeText();     // the running time, every tick
void SelectListSegment(int32_t index);
void UpdatePanelToggles();  // the panel's Full-screen and Segments buttons follow their flags
void ToggleSegmentList();
void FillSegmentList();
void CreatePanelTooltips();  // the tooltips of the panel's buttons take the menu texts  // the segment list window lists the film's titles
