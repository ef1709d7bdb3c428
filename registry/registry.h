// The registry as the program sees it: the operations it uses, with the
// platform's error numbers and value types. Implemented over the Win32
// registry (win32_registry_win.cpp) and in memory (memory_registry.cpp).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace brv {

// Predefined root keys, by their 32-bit handle values.
using RootKey = uint32_t;
inline constexpr RootKey kClassesRoot = 0x80000000u;
inline constexpr RootKey kCurrentUser = 0x80000001u;
inline constexpr RootKey kLocalMachine = 0x80000002u;
inline constexpr RootKey kUsers = 0x80000003u;
inline constexpr RootKey kPerformanceData = 0x80000004u;
inline constexpr RootKey kCurrentConfig = 0x80000005u;
inline constexpr RootKey kDynData = 0x80000006u;

// Platform error numbers the program meets.
inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorAccessDenied = 5;
inline constexpr long kErrorInvalidHandle = 6;
inline constexpr long kErrorInvalidParameter = 87;
inline constexpr long kErrorBadPathname = 161;
inline constexpr long kErrorMoreData = 234;
inline constexpr long kErrorNoMoreItems = 259;
inline constexpr long kErrorKeyDeleted = 1018;

// Value types.
inline constexpr uint32_t kRegNone = 0;
inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegExpandSz = 2;
inline constexpr uint32_t kRegBinary = 3;
inline constexpr uint32_t kRegDword = 4;
inline constexpr uint32_t kRegMultiSz = 7;

// Value data as stored: its type and its bytes (strings as UTF-16LE).
struct RegData {
  uint32_t type = kRegNone;
  std::string bytes;
};

// An open key. Closing happens when the object goes.
class RegKey {
 public:
  RegKey() = default;
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  virtual ~RegKey() = default;

  // Name of the sub-key or value at an index counted from 0;
  // kErrorNoMoreItems past the last one.
  virtual long EnumKey(uint32_t index, std::string* name) = 0;
  virtual long EnumValue(uint32_t index, std::string* name) = 0;
  // An empty name is the key's default value.
  virtual long QueryValue(const std::string& name, RegData* data) = 0;
  virtual long SetValue(const std::string& name, const RegData& data) = 0;
  virtual long DeleteValue(const std::string& name) = 0;
};

class Registry {
 public:
  enum class Access { Read, ReadWrite };

  virtual ~Registry() = default;
  // Sub-key paths are backslash-separated; an empty path is the root itself.
  virtual long OpenKey(RootKey root, const std::string& path, Access access,
                       std::unique_ptr<RegKey>* key) = 0;
  // Opens the key for reading and writing, creating it and any missing
  // parents.
  virtual long CreateKey(RootKey root, const std::string& path, std::unique_ptr<RegKey>* key) = 0;
  // Deletes a key with all its values and sub-keys. An empty path is refused.
  virtual long DeleteTree(RootKey root, const std::string& path) = 0;
  // Deletes one named value of a key.
  virtual long DeleteValue(RootKey root, const std::string& path, const std::string& name) = 0;
};

}  // namespace brv
