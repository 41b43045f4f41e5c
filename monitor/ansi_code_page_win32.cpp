#include <windows.h>

#include <string>

#include "monitor/ansi_code_page.h"

namespace {

bool ToSystemAnsi(const std::u16string& text, std::string* ansi) {
  ansi->clear();
  if (text.empty()) return true;
  auto wide = reinterpret_cast<const wchar_t*>(text.data());
  auto length = static_cast<int>(text.size());
  int bytes = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return false;
  ansi->resize(bytes);
  return WideCharToMultiByte(CP_ACP, 0, wide, length, &(*ansi)[0], bytes, nullptr, nullptr) ==
         bytes;
}

bool FromSystemAnsi(const std::string& ansi, std::u16string* text) {
  text->clear();
  if (ansi.empty()) return true;
  auto length = static_cast<int>(ansi.size());
  int units = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
  if (units <= 0) return false;
  text->resize(units);
  auto wide = reinterpret_cast<wchar_t*>(&(*text)[0]);
  return MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, wide, units) == units;
}

}  // namespace

const AnsiCodePage& SystemCodePage() {
  static const AnsiCodePage codePage{ToSystemAnsi, FromSystemAnsi};
  return codePage;
}
