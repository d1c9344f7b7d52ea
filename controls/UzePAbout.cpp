#include "controls/UzePAbout.h"

void ShowAboutBox() {}
