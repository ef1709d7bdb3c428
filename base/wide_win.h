// UTF-8 text to and from the UTF-16 the Win32 functions take, both lossless
// (see base/text.h). The one conversion every Windows-side file uses.
#pragma once

#include <string>

#include "base/text.h"

namespace brv {

inline std::wstring ToWide(const std::string& text) {
  std::u16string units = Utf8ToUtf16(text);
  return std::wstring(units.begin(), units.end());
}

inline std::string FromWide(const wchar_t* text, size_t length) {
  return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

}  // namespace brv
