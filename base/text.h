// Text helpers shared by every layer. Text is UTF-8 inside the program; the
// registry and the windows speak UTF-16. Conversion is lossless in both
// directions: a lone surrogate (which registry names may hold) travels as its
// generalised UTF-8 form, so a name is always addressed as itself.
#pragma once

#include <string>
#include <string_view>

namespace brv {

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// UTF-16LE byte strings, as the registry stores string data.
std::string Utf16LeBytesToUtf8(std::string_view bytes);  // an odd last byte is ignored
std::string Utf8ToUtf16LeBytes(std::string_view text, bool withNul);

// Upper and lower case of one UTF-16 unit, every script of the Basic
// Multilingual Plane, as the registry compares names: one unit gives one
// unit, by the Unicode simple case mappings of the pairs of units that map to
// each other. A unit whose upper case is more than one unit (U+00DF), or
// whose upper case lowers to another unit (U+0131, U+017F, U+00B5, U+03C2), a
// surrogate and a unit without case come back unchanged. UpperCase maps every
// unit of a text so.
char16_t UpperUnit(char16_t c);
char16_t LowerUnit(char16_t c);
std::string UpperCase(std::string_view text);

// Leading and trailing U+0020 removed (tabs and NULs stay).
std::string TrimSpaces(std::string_view text);
std::string TrimLeft(std::string_view text);

// The text up to its first NUL, as a text box keeps it.
std::string CutAtNul(std::string_view text);

bool StartsWith(std::string_view text, std::string_view prefix);

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" with hexadecimal digits.
bool IsClassIdentifier(std::string_view text);

}  // namespace brv
