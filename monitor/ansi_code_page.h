#pragma once
// Conversions between UTF-16 and the ANSI code page, passed in so that name comparisons made the
// Windows way can run on the host too.
#include <string>

struct AnsiCodePage {
  // Each returns false when the text cannot be converted.
  bool (*toAnsi)(const std::u16string& text, std::string* ansi);
  bool (*toWide)(const std::string& ansi, std::u16string* text);
};

// A code page holding ASCII only: every other character becomes '?'.
const AnsiCodePage& AsciiCodePage();

// The system's ANSI code page (CP_ACP), through the system's own conversions. Windows builds only.
const AnsiCodePage& SystemCodePage();
