#include "registry/win32_registry_win.h"

#include <windows.h>
#include <shlwapi.h>

#include <vector>

#include "base/text.h"

namespace brv {

namespace {

// Predefined handles are the 32-bit values sign-extended to pointer size.
HKEY RootHandle(RootKey root) {
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

std::wstring Wide(const std::string& text) {
  std::u16string units = Utf8ToUtf16(text);
  return std::wstring(units.begin(), units.end());
}

std::string Narrow(const wchar_t* text, size_t length) {
  return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

constexpr DWORD kMaxValueName = 16384;  // 16,383 characters and the NUL

class Win32Key : public RegKey {
 public:
  explicit Win32Key(HKEY key) : key_(key) {}
  ~Win32Key() override { RegCloseKey(key_); }

  long EnumKey(uint32_t index, std::string* name) override {
    wchar_t buffer[256];
    DWORD length = 256;
    LONG r = RegEnumKeyExW(key_, index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
    if (r == ERROR_MORE_DATA) {
      // Longer than the documented limit: ask the key how long its longest is.
      DWORD longest = 0;
      if (LONG q = RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, nullptr, &longest, nullptr,
                                    nullptr, nullptr, nullptr, nullptr, nullptr)) {
        return q;
      }
      std::vector<wchar_t> big(longest + 1);
      length = longest + 1;
      r = RegEnumKeyExW(key_, index, big.data(), &length, nullptr, nullptr, nullptr, nullptr);
      if (r == ERROR_SUCCESS) *name = Narrow(big.data(), length);
      return r;
    }
    if (r == ERROR_SUCCESS) *name = Narrow(buffer, length);
    return r;
  }

  long EnumValue(uint32_t index, std::string* name) override {
    if (valueName_.empty()) valueName_.resize(kMaxValueName);
    DWORD length = kMaxValueName;
    LONG r =
        RegEnumValueW(key_, index, valueName_.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (r == ERROR_SUCCESS) *name = Narrow(valueName_.data(), length);
    return r;
  }

  long QueryValue(const std::string& name, RegData* data) override {
    std::wstring wide = Wide(name);
    // Ask the stored size first and read exactly that: given room to spare,
    // the query would add a terminating NUL that the data does not hold.
    for (;;) {
      DWORD type = REG_NONE;
      DWORD size = 0;
      LONG r = RegQueryValueExW(key_, wide.c_str(), nullptr, &type, nullptr, &size);
      if (r != ERROR_SUCCESS) return r;
      std::string bytes(size, '\0');
      r = RegQueryValueExW(key_, wide.c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(bytes.data()), &size);
      if (r == ERROR_MORE_DATA) continue;  // it grew in between
      if (r != ERROR_SUCCESS) return r;
      bytes.resize(size);
      data->type = type;
      data->bytes = std::move(bytes);
      return ERROR_SUCCESS;
    }
  }

  long SetValue(const std::string& name, const RegData& data) override {
    std::wstring wide = Wide(name);
    return RegSetValueExW(key_, wide.c_str(), 0, data.type,
                          reinterpret_cast<const BYTE*>(data.bytes.data()),
                          static_cast<DWORD>(data.bytes.size()));
  }

  long DeleteValue(const std::string& name) override {
    std::wstring wide = Wide(name);
    return RegDeleteValueW(key_, wide.c_str());
  }

 private:
  HKEY key_;
  std::vector<wchar_t> valueName_;
};

}  // namespace

long Win32Registry::OpenKey(RootKey root, const std::string& path, Access access,
                            std::unique_ptr<RegKey>* key) {
  HKEY handle = nullptr;
  const REGSAM sam = access == Access::Read ? KEY_READ : KEY_READ | KEY_WRITE;
  LONG r = RegOpenKeyExW(RootHandle(root), Wide(path).c_str(), 0, sam, &handle);
  if (r == ERROR_SUCCESS) *key = std::make_unique<Win32Key>(handle);
  return r;
}

long Win32Registry::CreateKey(RootKey root, const std::string& path, std::unique_ptr<RegKey>* key) {
  HKEY handle = nullptr;
  LONG r = RegCreateKeyExW(RootHandle(root), Wide(path).c_str(), 0, nullptr, 0,
                           KEY_READ | KEY_WRITE, nullptr, &handle, nullptr);
  if (r == ERROR_SUCCESS) *key = std::make_unique<Win32Key>(handle);
  return r;
}

long Win32Registry::DeleteTree(RootKey root, const std::string& path) {
  // An empty sub-key would empty the root itself.
  if (path.find_first_not_of('\\') == std::string::npos) return ERROR_INVALID_PARAMETER;
  return static_cast<long>(SHDeleteKeyW(RootHandle(root), Wide(path).c_str()));
}

long Win32Registry::DeleteValue(RootKey root, const std::string& path, const std::string& name) {
  return static_cast<long>(
      SHDeleteValueW(RootHandle(root), Wide(path).c_str(), Wide(name).c_str()));
}

}  // namespace brv
