#include "app/FilmDialogs.h"

void OpenFilmFile() {}
void ShowFilmProperties() {}
