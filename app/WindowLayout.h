// Window layout and full-screen mode. The picture sits at the client area's
// top-left corner, unscaled, until fitting and scaling are built.
#pragma once

extern bool PanelShown;
extern bool SegmentListShown;
extern bool FullScreen;
extern bool FullScreenAtPlay;

void LayoutPicture();
void AutoFullScreen();
void SaveWindowPlacement();
void RestoreScreenMode();
void PlaceChildWindows();
void ToggleControlPanel();
void ToggleFullScreen();
