// Writing and deleting single registry values by full path, for the Options
// commands: "HKCU\Software\...\ValueName", a value and a type name.
#pragma once

#include <cstdint>
#include <string>

#include "registry/registry.h"

namespace brv {

class RegWriter {
 public:
  explicit RegWriter(Registry& registry) : registry_(registry) {}
  RegWriter(const RegWriter&) = delete;
  RegWriter& operator=(const RegWriter&) = delete;

  // Stores a value, creating the keys on its path that are missing. `name` is
  // a root ("HKCU", "HKLM", "HKCR", "HKEY_USERS", "HKEY_CURRENT_CONFIG" or a
  // full root name such as "HKEY_CURRENT_USER"), the key path and the value
  // name, separated by backslashes. `type` is "REG_SZ" (the text, stored with
  // its NUL), "REG_DWORD" (the number the decimal text spells) or
  // "REG_BINARY" (that number as four bytes, least significant first).
  // Returns the platform's error number: kErrorBadPathname for a name that
  // ends in a backslash, has an empty part or an unknown root;
  // kErrorInvalidParameter for an unknown type or a text that is not a
  // decimal number from 0 to 4294967295 where one is needed.
  long RegWrite(const std::string& name, const std::string& value, const std::string& type);
  // The same with a number: stored as a number, or as its decimal text for
  // "REG_SZ".
  long RegWrite(const std::string& name, uint32_t value, const std::string& type);
  // Deletes the named value; its key stays. A value that does not exist is a
  // failure (kErrorFileNotFound).
  long RegDelete(const std::string& name);
  // Reads the named value as stored.
  long RegRead(const std::string& name, RegData* data);

 private:
  long Store(const std::string& name, const RegData& data);

  Registry& registry_;
};

// A value's place in the registry, split from its full path.
struct ValuePath {
  RegAddress key;     // in the 64-bit view: the values the commands write are shared
  std::string value;  // value name, never empty
};

// Splits a full value path; kErrorSuccess or kErrorBadPathname.
long SplitValuePath(const std::string& name, ValuePath* path);

// The number a text of decimal digits spells, if it fits in 32 bits.
bool ParseDecimal(const std::string& text, uint32_t* number);

}  // namespace brv
