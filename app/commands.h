#pragma once
// Command ids of the main window (the low word of WM_COMMAND) and its private messages. A skin
// control sends its own index, so the first four controls of a skin issue these commands. Win32
// files only.
#include <windows.h>

#include <cstdint>

constexpr int32_t COMMAND_DISPLAY_SETUP = 0;
constexpr int32_t COMMAND_FAN_BACKLIGHT = 1;
constexpr int32_t COMMAND_HIDE_TO_TRAY = 2;
constexpr int32_t COMMAND_QUIT = 3;

// The notification icon's callback message.
constexpr uint32_t TRAY_CALLBACK_MESSAGE = WM_USER + 100;
static_assert(TRAY_CALLBACK_MESSAGE == 1124, "the callback message other programs may post");
