// The registry as the program sees it: the operations it uses, with the
// platform's error numbers and value types. Implemented over the Win32
// registry (win32_registry_win.cpp) and in memory (memory_registry.cpp).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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
inline constexpr long kErrorCantOpen = 1011;
inline constexpr long kErrorKeyDeleted = 1018;
inline constexpr long kErrorUnsupportedType = 1630;

// Value types.
inline constexpr uint32_t kRegNone = 0;
inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegExpandSz = 2;
inline constexpr uint32_t kRegBinary = 3;
inline constexpr uint32_t kRegDword = 4;
inline constexpr uint32_t kRegMultiSz = 7;

// The two views of the registry on 64-bit Windows: what 64-bit programs see,
// and what 32-bit programs see, where Windows redirects HKEY_LOCAL_MACHINE\Software
// to Software\Wow6432Node and HKEY_CLASSES_ROOT\CLSID to Wow6432Node\CLSID.
// Keys outside the redirected ones (HKEY_CURRENT_USER\Software) are the same
// in both; on 32-bit Windows both views are one.
enum class View : uint8_t { k64, k32 };

// A key: its root, the view it is seen in and its sub-key path
// (backslash-separated; empty for the root itself).
struct RegAddress {
  RootKey root = 0;
  View view = View::k64;
  std::string path;
};

// The names of a sub-key path, in order. Empty names between or after
// separators are skipped, as the registry skips them.
inline std::vector<std::string> PathNames(const std::string& path) {
  std::vector<std::string> names;
  for (size_t start = 0; start <= path.size();) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) names.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

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
  // The key's full name as the system knows it: two open keys with the same
  // name are one key (so two views that name the same key are one view).
  virtual long FullName(std::string* name) = 0;
  // When the key (its values, not its sub-keys' values) was last written:
  // 100-nanosecond intervals since 1601-01-01 UTC.
  virtual long LastWriteTime(int64_t* time) = 0;

  // All sub-key (or value) names, in enumeration order, appended to `names`:
  // kErrorSuccess at the end, or the first other error, with the names
  // before it appended.
  long SubKeyNames(std::vector<std::string>* names) { return Names(&RegKey::EnumKey, names); }
  long ValueNames(std::vector<std::string>* names) { return Names(&RegKey::EnumValue, names); }

 private:
  long Names(long (RegKey::*enumerate)(uint32_t, std::string*), std::vector<std::string>* names) {
    std::string name;
    for (uint32_t index = 0;; ++index) {
      const long r = (this->*enumerate)(index, &name);
      if (r == kErrorNoMoreItems) return kErrorSuccess;
      if (r != kErrorSuccess) return r;
      names->push_back(name);
    }
  }
};

class Registry {
 public:
  enum class Access { Read, ReadWrite };

  virtual ~Registry() = default;
  // Every key on the path is opened as the system opens it: a registry link
  // leads to its target.
  virtual long OpenKey(const RegAddress& at, Access access, std::unique_ptr<RegKey>* key) = 0;
  // Opens the key at the address itself, for reading: where it is a registry
  // link, the link, not its target.
  virtual long OpenLink(const RegAddress& at, std::unique_ptr<RegKey>* key) = 0;
  // Opens the key for reading and writing, creating it and any missing
  // parents.
  virtual long CreateKey(const RegAddress& at, std::unique_ptr<RegKey>* key) = 0;
  // Deletes a key with all its values and sub-keys, in the address's view.
  // Links are deleted as links (their targets stay). What can be deleted
  // goes; a sub-key the system refuses stays, and then so does the key, and
  // the first refusal is returned. An empty path is refused.
  virtual long DeleteTree(const RegAddress& at) = 0;
  // Deletes one named value of a key.
  virtual long DeleteValue(const RegAddress& at, const std::string& name) = 0;

  // The same in the 64-bit view, the only view of the keys both share.
  long OpenKey(RootKey root, const std::string& path, Access access, std::unique_ptr<RegKey>* key) {
    return OpenKey(RegAddress{root, View::k64, path}, access, key);
  }
  long CreateKey(RootKey root, const std::string& path, std::unique_ptr<RegKey>* key) {
    return CreateKey(RegAddress{root, View::k64, path}, key);
  }
  long DeleteTree(RootKey root, const std::string& path) {
    return DeleteTree(RegAddress{root, View::k64, path});
  }
  long DeleteValue(RootKey root, const std::string& path, const std::string& name) {
    return DeleteValue(RegAddress{root, View::k64, path}, name);
  }
};

}  // namespace brv
