#pragma once
// The main window: a borderless popup painted by the skin, and the hub of the system. Win32 only.
#include <windows.h>

constexpr const char* MAIN_WINDOW_CLASS = "Torvex";
constexpr const char* MAIN_WINDOW_CAPTION = "Velquin Torvex Ver 1.0";
constexpr const char* SKIN_SECTION = "MAIN";

// Registers the class in its extended form, or the plain form when that fails.
bool RegisterMainWindowClass(HINSTANCE instance);

// Creates the main window; WM_CREATE loads the skin, links the chosen meter and starts the
// refresh cycle. Returns null when creation fails.
HWND CreateMainWindow(HINSTANCE instance);

// Stops the refresh cycle, releases the meter, removes the notification icon and saves the
// settings: the end of every run, whether the user or the installer quits or Windows ends the
// session. Runs once; after it nothing links, and the icon does not come back.
void EndRun(HWND window);

// Sends WM_DESTROY to the main window, which runs the shutdown steps. The window itself is not
// destroyed; it goes away with the process.
void QuitApplication();
