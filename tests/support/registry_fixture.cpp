#include "support/registry_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <ostream>

#include "base/text.h"

namespace brv {

void SetString(Registry& registry, RootKey root, const std::string& path, const std::string& name,
               const std::string& value) {
  SetData(registry, root, path, name, Sz(value));
}

void SetString(Registry& registry, const RegAddress& at, const std::string& name,
               const std::string& value) {
  std::unique_ptr<RegKey> key;
  ASSERT_EQ(kErrorSuccess, registry.CreateKey(at, &key)) << at.path;
  EXPECT_EQ(kErrorSuccess, key->SetValue(name, Sz(value))) << at.path;
}

void SetData(Registry& registry, RootKey root, const std::string& path, const std::string& name,
             const RegData& data) {
  std::unique_ptr<RegKey> key;
  ASSERT_EQ(kErrorSuccess, registry.CreateKey(root, path, &key)) << path;
  EXPECT_EQ(kErrorSuccess, key->SetValue(name, data)) << path;
}

void CreateKey(Registry& registry, RootKey root, const std::string& path) {
  std::unique_ptr<RegKey> key;
  EXPECT_EQ(kErrorSuccess, registry.CreateKey(root, path, &key)) << path;
}

void RegisterClass(Registry& registry, const std::string& id, const std::string& name,
                   const std::string& file, const char* server) {
  RegisterClass(registry, RegAddress{kClassesRoot, View::k64, Clsid(id)}, name, file, server);
}

void RegisterClass(Registry& registry, const RegAddress& classKey, const std::string& name,
                   const std::string& file, const char* server) {
  for (const auto& [path, text] :
       {std::pair(classKey.path, name), std::pair(classKey.path + "\\" + server, file)}) {
    std::unique_ptr<RegKey> key;
    ASSERT_EQ(kErrorSuccess, registry.CreateKey({classKey.root, classKey.view, path}, &key));
    EXPECT_EQ(kErrorSuccess, key->SetValue("", Sz(text)));
  }
}

bool KeyExists(Registry& registry, const RegAddress& at) {
  std::unique_ptr<RegKey> key;
  return registry.OpenKey(at, Registry::Access::Read, &key) == kErrorSuccess;
}

bool KeyExists(Registry& registry, RootKey root, const std::string& path) {
  return KeyExists(registry, {root, View::k64, path});
}

RegData ReadData(Registry& registry, RootKey root, const std::string& path,
                 const std::string& name) {
  std::unique_ptr<RegKey> key;
  RegData data;
  if (registry.OpenKey(root, path, Registry::Access::Read, &key) != kErrorSuccess ||
      key->QueryValue(name, &data) != kErrorSuccess) {
    return {kRegNone, "(missing)"};
  }
  return data;
}

bool ValueExists(Registry& registry, RootKey root, const std::string& path,
                 const std::string& name) {
  std::unique_ptr<RegKey> key;
  RegData data;
  return registry.OpenKey(root, path, Registry::Access::Read, &key) == kErrorSuccess &&
         key->QueryValue(name, &data) == kErrorSuccess;
}

std::string ReadString(Registry& registry, RootKey root, const std::string& path,
                       const std::string& name) {
  if (!ValueExists(registry, root, path, name)) return "(missing)";
  return CutAtNul(Utf16LeBytesToUtf8(ReadData(registry, root, path, name).bytes));
}

namespace {

std::vector<std::string> Names(Registry& registry, RootKey root, const std::string& path,
                               long (RegKey::*list)(std::vector<std::string>*)) {
  std::vector<std::string> names;
  std::unique_ptr<RegKey> key;
  if (registry.OpenKey(root, path, Registry::Access::Read, &key) == kErrorSuccess) {
    ((*key).*list)(&names);
  }
  return names;
}

}  // namespace

std::vector<std::string> SubKeys(Registry& registry, RootKey root, const std::string& path) {
  return Names(registry, root, path, &RegKey::SubKeyNames);
}

std::vector<std::string> Values(Registry& registry, RootKey root, const std::string& path) {
  return Names(registry, root, path, &RegKey::ValueNames);
}

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

RegData Sz(const std::string& text) {
  return {kRegSz, Utf8ToUtf16LeBytes(text, true)};
}

RegData Dword(uint32_t number) {
  std::string bytes(4, '\0');
  for (size_t i = 0; i < 4; ++i) bytes[i] = static_cast<char>(number >> (8 * i));
  return {kRegDword, bytes};
}

bool operator==(const RegData& a, const RegData& b) {
  return a.type == b.type && a.bytes == b.bytes;
}

namespace {

const char kHex[] = "0123456789abcdef";

std::string Hex(const std::string& bytes) {
  std::string out;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    out += kHex[byte >> 4];
    out += kHex[byte & 15];
  }
  return out;
}

std::string Escaped(const std::string& name) {
  std::string out;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || c == '%' || c == '"' || c == ']') {
      out += '%';
      out += Hex(std::string(1, c));
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::string DumpedName(const std::string& name) {
  return Escaped(name);
}

void DumpKeyAt(Registry& registry, const RegAddress& at, const std::string& shown,
               std::vector<std::string>* lines) {
  const std::string& path = at.path;
  std::unique_ptr<RegKey> key;
  if (registry.OpenKey(at, Registry::Access::Read, &key) != kErrorSuccess) return;
  lines->push_back("[" + shown + "]");
  std::vector<std::string> names;
  key->ValueNames(&names);
  for (const std::string& name : names) {
    RegData data;
    const long result = key->QueryValue(name, &data);
    lines->push_back("[" + shown + "] \"" + Escaped(name) + "\" " +
                     (result == kErrorSuccess ? std::to_string(data.type) + ":" + Hex(data.bytes)
                                              : "error " + std::to_string(result)));
  }
  names.clear();
  key->SubKeyNames(&names);
  key.reset();  // one key open at a time, however deep the tree
  for (const std::string& child : names) {
    DumpKeyAt(registry, {at.root, at.view, path.empty() ? child : path + "\\" + child},
              shown + "\\" + Escaped(child), lines);
  }
}

std::ostream& operator<<(std::ostream& out, const RegData& data) {
  return out << "{type " << data.type << ", " << Hex(data.bytes) << "}";
}

std::vector<std::string> DumpKey(Registry& registry, RootKey root, const std::string& path) {
  std::vector<std::string> lines;
  DumpKeyAt(registry, {root, View::k64, path}, "", &lines);
  return lines;
}

std::vector<std::string> DumpRegistry(Registry& registry) {
  std::vector<std::string> lines;
  const std::pair<RootKey, const char*> roots[] = {
      {kClassesRoot, "HKCR"}, {kCurrentUser, "HKCU"}, {kLocalMachine, "HKLM"}};
  for (const auto& [root, name] : roots) DumpKeyAt(registry, {root, View::k64, ""}, name, &lines);
  return lines;
}

}  // namespace brv
