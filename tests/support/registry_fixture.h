// What the tests seed and check, on any registry: identifiers, the panels'
// keys, values set and read back, class registrations, whole-tree dumps.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "catalogue/bhos.h"
#include "catalogue/context_menus.h"
#include "catalogue/toolbar_buttons.h"
#include "catalogue/toolbars.h"
#include "registry/registry.h"

namespace brv {

inline constexpr char kA[] = "{AAAAAAAA-0000-0000-0000-000000000001}";
inline constexpr char kB[] = "{BBBBBBBB-0000-0000-0000-000000000002}";
inline constexpr char kC[] = "{CCCCCCCC-0000-0000-0000-000000000003}";
inline constexpr char kLowerA[] = "{aaaaaaaa-0000-0000-0000-000000000001}";
// The browser's own bands, which no delete removes.
inline constexpr char kLinks[] = "{0E5CBF21-D15F-11D0-8301-00AA005B4383}";
inline constexpr char kAddressBar[] = "{01E04581-4EEE-11D0-BFE9-00AA005B4383}";
// A name outside every code page, and how the upper-casing lists show it.
inline constexpr char kNonAnsi[] = "{\xC3\xA9\xE4\xB8\xAD-\xD0\xB6-\xF0\x9F\x98\x80}";
inline constexpr char kNonAnsiShown[] = "{\xC3\x89\xE4\xB8\xAD-\xD0\x96-\xF0\x9F\x98\x80}";

// The key of an entry of each panel, and of a class.
inline std::string Bho(const std::string& name) {
  return std::string(kBhoPath) + "\\" + name;
}
inline std::string Button(const std::string& name) {
  return std::string(kExtensionsPath) + "\\" + name;
}
inline std::string MenuEntry(const std::string& name) {
  return std::string(kMenuExtPath) + "\\" + name;
}
inline std::string Clsid(const std::string& id) {
  return "CLSID\\" + id;
}
// Where a 64-bit program finds the 32-bit view's class key of an identifier.
inline std::string Clsid32(const std::string& id) {
  return "Wow6432Node\\CLSID\\" + id;
}
// Where a 64-bit program finds the 32-bit view's copy of a Software path.
inline std::string Wow(const std::string& softwarePath) {
  const size_t slash = softwarePath.find('\\');
  return softwarePath.substr(0, slash) + "\\Wow6432Node" + softwarePath.substr(slash);
}

// Writes, creating the key: a string value stored with its NUL, or data as
// given.
void SetString(Registry& registry, RootKey root, const std::string& path, const std::string& name,
               const std::string& value);
void SetString(Registry& registry, const RegAddress& at, const std::string& name,
               const std::string& value);
void SetData(Registry& registry, RootKey root, const std::string& path, const std::string& name,
             const RegData& data);
void CreateKey(Registry& registry, RootKey root, const std::string& path);
// A class registration under HKEY_CLASSES_ROOT\CLSID (or at `classKey`): its
// name as the default value, its file as the default value of `server`.
void RegisterClass(Registry& registry, const std::string& id, const std::string& name,
                   const std::string& file, const char* server = "InprocServer32");
void RegisterClass(Registry& registry, const RegAddress& classKey, const std::string& name,
                   const std::string& file, const char* server = "InprocServer32");

bool KeyExists(Registry& registry, const RegAddress& at);
bool KeyExists(Registry& registry, RootKey root, const std::string& path);
bool ValueExists(Registry& registry, RootKey root, const std::string& path,
                 const std::string& name);
// A value as stored, or its type kRegNone and the bytes "(missing)".
RegData ReadData(Registry& registry, RootKey root, const std::string& path,
                 const std::string& name);
// A string value's text up to its NUL, or "(missing)".
std::string ReadString(Registry& registry, RootKey root, const std::string& path,
                       const std::string& name);
// Names of the sub-keys or values, as enumerated; none for a missing key.
std::vector<std::string> SubKeys(Registry& registry, RootKey root, const std::string& path);
std::vector<std::string> Values(Registry& registry, RootKey root, const std::string& path);
// The same sorted, for names whose order differs between registries.
std::vector<std::string> Sorted(std::vector<std::string> names);

// String data as the registry stores it (UTF-16, with its NUL), and a
// double word.
RegData Sz(const std::string& text);
RegData Dword(uint32_t number);
bool operator==(const RegData& a, const RegData& b);
std::ostream& operator<<(std::ostream& out, const RegData& data);

// Everything below a key, one line per key and per value, in enumeration
// order (sub-keys sorted, values in creation order), for comparing a whole
// tree before and after: a key is "[path]", its path relative to the one
// dumped ("[]" for that one itself); a value is `[path] "name" type:bytes`,
// its bytes in hex. Names keep their characters except control characters,
// '%', '"' and ']' (written %XX), so that two dumps are equal exactly when
// the trees are. A key that cannot be opened is left out (a missing key
// dumps as nothing); a value that cannot be read shows its error number.
std::vector<std::string> DumpKey(Registry& registry, RootKey root, const std::string& path);
// The same for the key at an address, appended to `lines`, each path led by
// `shown`.
void DumpKeyAt(Registry& registry, const RegAddress& at, const std::string& shown,
               std::vector<std::string>* lines);
// A name as a dump writes it.
std::string DumpedName(const std::string& name);

// Every key and value of HKEY_CLASSES_ROOT, HKEY_CURRENT_USER and
// HKEY_LOCAL_MACHINE as DumpKey writes them, paths led by the root
// ("[HKCU\\Software]"). Seen in the 64-bit view, which holds the 32-bit
// view's own keys under their Wow6432Node keys.
std::vector<std::string> DumpRegistry(Registry& registry);

}  // namespace brv
