// The one lock between the window thread and the playback clock's thread. The
// main window creates it when it is created and frees it when it is destroyed.
#pragma once

#include "foundation/zeClasses.h"

extern TCriticalSection* EngineLock;
