// The About box. Not built yet: the command has no effect so far.
#pragma once

void ShowAboutBox();
