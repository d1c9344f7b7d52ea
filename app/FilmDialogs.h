// Opening a film file and showing the film's properties. Not built yet: the
// commands have no effect so far.
#pragma once

void OpenFilmFile();
void ShowFilmProperties();
