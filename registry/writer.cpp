#include "registry/writer.h"

#include <memory>

#include "base/text.h"
#include "registry/module1.h"

namespace brv {

namespace {

std::string FourBytes(uint32_t number) {
  std::string bytes(4, '\0');
  for (size_t i = 0; i < 4; ++i) bytes[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
  return bytes;
}

}  // namespace

long SplitValuePath(const std::string& name, ValuePath* path) {
  const size_t first = name.find('\\');
  const size_t last = name.rfind('\\');
  if (first == std::string::npos || last + 1 == name.size()) return kErrorBadPathname;
  const RootKey root = RootKeyFromUserName(name.substr(0, first));
  if (root == 0) return kErrorBadPathname;
  std::string key = first == last ? std::string() : name.substr(first + 1, last - first - 1);
  // An empty part ("a\\b", a leading backslash) names no key.
  if (first != last && (key.empty() || key.front() == '\\' || key.back() == '\\' ||
                        key.find("\\\\") != std::string::npos)) {
    return kErrorBadPathname;
  }
  path->key = RegAddress{root, View::k64, std::move(key)};
  path->value = name.substr(last + 1);
  return kErrorSuccess;
}

bool ParseDecimal(const std::string& text, uint32_t* number) {
  if (text.empty()) return false;
  uint64_t result = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    result = result * 10 + static_cast<uint64_t>(c - '0');
    if (result > 0xFFFFFFFFu) return false;
  }
  *number = static_cast<uint32_t>(result);
  return true;
}

long RegWriter::RegWrite(const std::string& name, const std::string& value,
                         const std::string& type) {
  if (type == "REG_SZ") return Store(name, {kRegSz, Utf8ToUtf16LeBytes(value, true)});
  uint32_t number = 0;
  if (type != "REG_DWORD" && type != "REG_BINARY") return kErrorInvalidParameter;
  if (!ParseDecimal(value, &number)) return kErrorInvalidParameter;
  return RegWrite(name, number, type);
}

long RegWriter::RegWrite(const std::string& name, uint32_t value, const std::string& type) {
  // Both number types hold the same four bytes; they differ in type alone.
  if (type == "REG_DWORD") return Store(name, {kRegDword, FourBytes(value)});
  if (type == "REG_BINARY") return Store(name, {kRegBinary, FourBytes(value)});
  if (type == "REG_SZ") return RegWrite(name, std::to_string(value), type);
  return kErrorInvalidParameter;
}

long RegWriter::Store(const std::string& name, const RegData& data) {
  ValuePath path;
  if (long r = SplitValuePath(name, &path)) return r;
  std::unique_ptr<RegKey> key;
  if (long r = registry_.CreateKey(path.key, &key)) return r;
  return key->SetValue(path.value, data);
}

long RegWriter::RegDelete(const std::string& name) {
  ValuePath path;
  if (long r = SplitValuePath(name, &path)) return r;
  return registry_.DeleteValue(path.key, path.value);
}

long RegWriter::RegRead(const std::string& name, RegData* data) {
  ValuePath path;
  if (long r = SplitValuePath(name, &path)) return r;
  return QueryData(registry_, path.key, path.value, data);
}

}  // namespace brv
