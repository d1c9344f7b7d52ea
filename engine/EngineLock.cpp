#include "engine/EngineLock.h"

TCriticalSection* EngineLock = nullptr;
