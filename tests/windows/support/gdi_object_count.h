#pragma once
// How many GDI objects this process holds, to catch leaks across repeated paints.
#include <cstdint>

// GetGuiResources where it works. Wine's is a stub (0, ERROR_CALL_NOT_IMPLEMENTED), so there the
// process's handle table is probed instead: Wine accepts a handle given as a bare table index.
int32_t CountGdiObjects();
