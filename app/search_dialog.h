#pragma once
// The SEARCH dialog: lists the idle bridges other than the linked one and returns the user's
// choice, or picks by itself when there is nothing to choose. Win32 files only.
#include <windows.h>

#include <cstdint>

// A bridge index 0 to 15, SEARCH_NONE_FOUND, SEARCH_CANCELLED, or -1 when the dialog could not
// be created. `owner` may be null (start-up, device arrival).
int32_t RunSearchDialog(HWND owner);

// Brings the SEARCH dialog on screen, if there is one, to the foreground.
void BringSearchDialogForward();
