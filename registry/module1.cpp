#include "registry/module1.h"

#include "base/text.h"

namespace brv {

namespace {

// The root names: full, and the short form users write for the three common
// ones.
const struct {
  const char* name;
  const char* shortName;
  RootKey root;
} kRoots[] = {
    {"HKEY_CLASSES_ROOT", "HKCR", kClassesRoot},
    {"HKEY_CURRENT_USER", "HKCU", kCurrentUser},
    {"HKEY_LOCAL_MACHINE", "HKLM", kLocalMachine},
    {"HKEY_USERS", nullptr, kUsers},
    {"HKEY_PERFORMANCE_DATA", nullptr, kPerformanceData},
    {"HKEY_CURRENT_CONFIG", nullptr, kCurrentConfig},
    {"HKEY_DYN_DATA", nullptr, kDynData},
};

}  // namespace

RootKey RootKeyFromName(const std::string& name) {
  for (const auto& entry : kRoots) {
    if (name == entry.name) return entry.root;
  }
  return 0;
}

std::string RootKeyName(RootKey root) {
  for (const auto& entry : kRoots) {
    if (root == entry.root) return entry.name;
  }
  return std::string();
}

std::string ShownKeyPath(const RegAddress& key) {
  std::string path = key.path;
  if (key.view == View::k32 && key.root == kLocalMachine) {
    const size_t end = path.find('\\');
    const std::string first = path.substr(0, end);
    if (UpperCase(first) == "SOFTWARE") {
      path = first + "\\Wow6432Node" + (end == std::string::npos ? "" : path.substr(end));
    }
  }
  return RootKeyName(key.root) + "\\" + path;
}

RootKey RootKeyFromUserName(const std::string& name) {
  const std::string upper = UpperCase(name);
  for (const auto& entry : kRoots) {
    // The two that a user never means by a value path stay out.
    if (entry.root == kPerformanceData || entry.root == kDynData) continue;
    if (upper == entry.name || (entry.shortName && upper == entry.shortName)) return entry.root;
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
                         const std::string& valueName, View view) {
  RegAddress at{0, view, fullPath};
  if (!SplitRegPath(at.path, at.root)) return kError;
  return GetRegString(registry, at, valueName);
}

long QueryData(Registry& registry, const RegAddress& at, const std::string& valueName,
               RegData* data) {
  std::unique_ptr<RegKey> key;
  if (long r = registry.OpenKey(at, Registry::Access::Read, &key)) return r;
  return key->QueryValue(valueName, data);
}

long QueryString(Registry& registry, const RegAddress& at, const std::string& valueName,
                 RegString* value) {
  RegData data;
  if (long r = QueryData(registry, at, valueName, &data)) return r;
  if (data.type != kRegSz && data.type != kRegExpandSz) return kErrorUnsupportedType;
  value->text = Utf16LeBytesToUtf8(data.bytes);
  value->terminated = !value->text.empty() && value->text.back() == '\0';
  if (value->terminated) value->text.pop_back();
  return kErrorSuccess;
}

std::string GetRegString(Registry& registry, const RegAddress& at, const std::string& valueName,
                         long* code) {
  long ignored;
  long& result = code ? *code : ignored;
  result = kErrorSuccess;
  if (at.root == 0) return "";
  RegString value;
  result = QueryString(registry, at, valueName, &value);
  if (result != kErrorSuccess) return kError;
  if (value.terminated) value.text += '\0';
  return TrimSpaces(value.text);
}

}  // namespace brv
