#include "app/WindowLayout.h"

#include "engine/PictureLayout.h"

bool PanelShown = true;
bool SegmentListShown = false;
bool FullScreen = false;
bool FullScreenAtPlay = false;

void LayoutPicture() {
  Layout.Scaled = false;
  Layout.PictureLeft = 0;
  Layout.PictureTop = 0;
  Layout.ScaledWidth = Layout.FilmWidth;
  Layout.ScaledHeight = Layout.FilmHeight;
  Layout.Scale = 1.0f;
}

void AutoFullScreen() {}
void SaveWindowPlacement() {}
void RestoreScreenMode() {}
void PlaceChildWindows() {}
void ToggleControlPanel() {}
void ToggleFullScreen() {}
