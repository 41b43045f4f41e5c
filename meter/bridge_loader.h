#pragma once
// Loads the bridge vendor's library at run time and installs its functions (Windows only).

// Loads the named library and installs its seven functions. A missing library, or one that lacks
// a function, leaves the absent stand-ins installed; returns whether the library was installed.
bool LoadBridgeLibrary(const char* libraryName);
