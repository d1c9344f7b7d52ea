// Binds the system's cabinet library by name at run time, on first need. The
// four decompression functions that <fdi.h> declares are defined in this unit
// as calls through the resolved addresses, so the program never links to
// cabinet.dll itself and starts even where the library is missing.
#pragma once

#include <windows.h>

#include <fdi.h>

// Loads the library and resolves its nine entry points. A library that cannot
// be loaded shows "Cabinet.dll not found" and stays unloaded, so the next
// FDICreate tries again; one that lacks an entry point shows "Cabinet.dll is
// invalid" and stays loaded but unbound. The name is there for the tests.
void LoadCabinetDll(const char* libraryName = "cabinet.dll");
// Frees the library; also done at program end.
void UnloadCabinetDll();
bool CabinetDllLoaded();
// True once all nine entry points are resolved.
bool CabinetDllBound();

// FDICreate loads the library when it is not loaded yet, and returns 0 when
// the library is not bound. FDIIsCabinet, FDICopy and FDIDestroy return FALSE
// then; none of the four ever calls through a missing address.
