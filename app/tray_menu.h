#pragma once
// The notification icon's menu (right button on the icon): restore, About, the device choice
// and quitting, all while the window stays hidden. Win32 files only.

// Shows the tray menu at the cursor and carries out the chosen item.
void ShowTrayMenu();
