#pragma once
// Control ids shared by the resource script and the code. The resources themselves go by name
// ("SEARCH", "ABOUT", "LR", "GEN", "icon2"); names are not case-sensitive.

// SEARCH
#define IDC_DEVICE_LIST 101
