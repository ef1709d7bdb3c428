// Reading single registry values by full path ("HKEY_CLASSES_ROOT\CLSID\...").
#pragma once

#include <string>

#include "registry/registry.h"

namespace brv {

inline constexpr const char* kError = "Error";

// The predefined handle of a root name (exact, case-sensitive); 0 for any
// other name.
RootKey RootKeyFromName(const std::string& name);
// The full name of a predefined handle ("HKEY_LOCAL_MACHINE"); empty for any
// other handle.
std::string RootKeyName(RootKey root);
// A key's full path as the 64-bit Registry Editor shows it
// ("HKEY_LOCAL_MACHINE\Software\Wow6432Node\..." for the 32-bit view of the
// machine's Software key).
std::string ShownKeyPath(const RegAddress& key);
// The same for a root name as a user writes it: in any case, and the short
// forms "HKCU", "HKLM" and "HKCR" too.
RootKey RootKeyFromUserName(const std::string& name);

// Splits a full path into its root handle and its sub-key path. A path that
// does not begin with "HKEY_", or that ends in a backslash, is rejected: the
// result is false and neither output changes.
bool SplitRegPath(std::string& path, RootKey& root);

// A string value (REG_SZ or REG_EXPAND_SZ) as stored: its text without the
// terminating NUL, and whether it was stored with one.
struct RegString {
  std::string text;
  bool terminated = false;
};

// The one read of a value's data ("" names the key's default value): the
// registry's error opening the key or reading the value, else kErrorSuccess.
long QueryData(Registry& registry, const RegAddress& at, const std::string& valueName,
               RegData* data);

// The one typed read of a string value ("" names the key's default value):
// kErrorSuccess and the value; the registry's error opening the key or
// reading the value; kErrorUnsupportedType for a value of another type.
long QueryString(Registry& registry, const RegAddress& at, const std::string& valueName,
                 RegString* value);

// The string value `valueName` ("" for the default value) of the key at
// `path`: the value's text with leading and trailing spaces removed, keeping
// its terminating NUL if it was stored with one; "Error" when the path is
// rejected, the key cannot be opened or the value cannot be read or is not a
// string; empty text when the root name is unknown.
// `view` is the view the key is read in.
std::string GetRegString(Registry& registry, const std::string& path, const std::string& valueName,
                         View view = View::k64);
// The same for a key given by its address ("" for an unknown root). With
// `code`, the result of the read is kept there too (kErrorSuccess for an
// unknown root, which is not read), so that callers judge failure by it and
// not by the text.
std::string GetRegString(Registry& registry, const RegAddress& at, const std::string& valueName,
                         long* code = nullptr);

}  // namespace brv
