#include "monitor/ansi_code_page.h"

namespace {

bool ToAsciiAnsi(const std::u16string& text, std::string* ansi) {
  ansi->clear();
  ansi->reserve(text.size());
  for (char16_t unit : text) ansi->push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
  return true;
}

bool FromAsciiAnsi(const std::string& ansi, std::u16string* text) {
  text->clear();
  text->reserve(ansi.size());
  for (char byte : ansi) {
    auto code = static_cast<unsigned char>(byte);
    text->push_back(code < 0x80 ? static_cast<char16_t>(code) : u'?');
  }
  return true;
}

}  // namespace

const AnsiCodePage& AsciiCodePage() {
  static const AnsiCodePage codePage{ToAsciiAnsi, FromAsciiAnsi};
  return codePage;
}
