#pragma once
// Control ids shared by the resource script and the code, and the names the resources go by.

// The resource names, for the code: the script spells them as bare names (SEARCH, ABOUT, LR, GEN,
// icon2), since a name given as a string there would join a string just before it. The system
// matches names without regard to case.
#ifndef RC_INVOKED
constexpr char SEARCH_DIALOG_NAME[] = "SEARCH";
constexpr char ABOUT_DIALOG_NAME[] = "ABOUT";
constexpr char DISPLAY_SETUP_DIALOG_NAME[] = "LR";
constexpr char FAN_BACKLIGHT_DIALOG_NAME[] = "GEN";
constexpr char APP_ICON_NAME[] = "icon2";
// Not in the script: a class registered in the plain form shows the system's default icon.
constexpr char PLAIN_CLASS_ICON_NAME[] = "icon1";
#endif

// SEARCH
#define IDC_DEVICE_LIST 101

// LR: Display Information Setup
#define IDC_ITEM_LIST 101
#define IDC_DRIVE_LIST 201
#define IDC_USED_SPACE 203
#define IDC_AVAILABLE_SPACE 204
#define IDC_DRIVE_LABEL 1003
#define IDC_ADDITIONAL_SETTING 1004

// GEN: Fan Speed & Backlight Control. Each arrows scroll bar is its edit's id + 1.
#define IDC_BACKLIGHT_OFF 201
#define IDC_BACKLIGHT_ALWAYS 202
#define IDC_BACKLIGHT_ON_FROM 203
#define IDC_BACKLIGHT_FROM 204
#define IDC_BACKLIGHT_FROM_ARROWS 205
#define IDC_BACKLIGHT_TO 206
#define IDC_BACKLIGHT_TO_ARROWS 207
#define IDC_FAN_OFF 301
#define IDC_FAN_MANUAL 302
#define IDC_FAN_AUTO 303
#define IDC_LOW_THRESHOLD 304
#define IDC_LOW_THRESHOLD_ARROWS 305
#define IDC_HIGH_THRESHOLD 306
#define IDC_HIGH_THRESHOLD_ARROWS 307
#define IDC_FAN_RATIO 308
#define IDC_FAN_RATIO_ARROWS 309
#define IDC_LOW_THRESHOLD_LABEL 1005
#define IDC_HIGH_THRESHOLD_LABEL 1006
#define IDC_FAN_RATIO_LABEL 1007
