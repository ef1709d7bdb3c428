#include "registry/module1.h"

#include "base/text.h"

namespace brv {

RootKey RootKeyFromName(const std::string& name) {
  static const struct {
    const char* name;
    RootKey root;
  } kRoots[] = {
      {"HKEY_CLASSES_ROOT", kClassesRoot},
      {"HKEY_CURRENT_USER", kCurrentUser},
      {"HKEY_LOCAL_MACHINE", kLocalMachine},
      {"HKEY_USERS", kUsers},
      {"HKEY_PERFORMANCE_DATA", kPerformanceData},
      {"HKEY_CURRENT_CONFIG", kCurrentConfig},
      {"HKEY_DYN_DATA", kDynData},
  };
  for (const auto& entry : kRoots) {
    if (name == entry.name) return entry.root;
  }
  return 0;
}

bool SplitRegPath(std::string& path, RootKey& root) {
  if (!StartsWith(path, "HKEY_") || path.back() == '\\') return false;
  const size_t slash = path.find('\\');
  if (slash == std::string::npos) {
    root = RootKeyFromName(path);
    path.clear();
  } else {
    root = RootKeyFromName(path.substr(0, slash));
    path.erase(0, slash + 1);
  }
  return true;
}

std::string GetRegString(Registry& registry, const std::string& fullPath,
                         const std::string& valueName) {
  std::string path = fullPath;
  RootKey root = 0;
  if (!SplitRegPath(path, root)) return kError;
  if (root == 0) return "";
  std::unique_ptr<RegKey> key;
  if (registry.OpenKey(root, path, Registry::Access::Read, &key) != kErrorSuccess) return kError;
  RegData data;
  if (key->QueryValue(valueName, &data) != kErrorSuccess) return kError;
  if (data.type != kRegSz && data.type != kRegExpandSz) return kError;
  return TrimSpaces(Utf16LeBytesToUtf8(data.bytes));
}

}  // namespace brv
