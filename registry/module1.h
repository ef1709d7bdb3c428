// Reading single registry values by full path ("HKEY_CLASSES_ROOT\CLSID\...").
#pragma once

#include <string>

#include "registry/registry.h"

namespace brv {

inline constexpr const char* kError = "Error";

// The predefined handle of a root name (exact, case-sensitive); 0 for any
// other name.
RootKey RootKeyFromName(const std::string& name);
// The same for a root name as a user writes it: in any case, and the short
// forms "HKCU", "HKLM" and "HKCR" too.
RootKey RootKeyFromUserName(const std::string& name);

// Splits a full path into its root handle and its sub-key path. A path that
// does not begin with "HKEY_", or that ends in a backslash, is rejected: the
// result is false and neither output changes.
bool SplitRegPath(std::string& path, RootKey& root);

// The string value `valueName` ("" for the default value) of the key at
// `path`: the value's text with leading and trailing spaces removed, keeping
// its terminating NUL if it was stored with one; "Error" when the path is
// rejected, the key cannot be opened or the value cannot be read or is not a
// string; empty text when the root name is unknown.
// `view` is the view the key is read in.
std::string GetRegString(Registry& registry, const std::string& path, const std::string& valueName,
                         View view = View::k64);
// The same for a key given by its address ("" for an unknown root).
std::string GetRegString(Registry& registry, const RegAddress& at, const std::string& valueName);

// True when a GetRegString result, trimmed, is "Error".
inline bool IsError(const std::string& result) {
  return result == kError;
}

}  // namespace brv
