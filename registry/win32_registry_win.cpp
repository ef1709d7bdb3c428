#include "registry/win32_registry_win.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/wide_win.h"

namespace brv {

namespace {

// Predefined handles are the 32-bit values sign-extended to pointer size.
HKEY RootHandle(RootKey root) {
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

// The 64-bit view is asked for with no flag at all: it is this process's own,
// and a flag would make the system bypass a root the caller has overridden.
REGSAM ViewFlag(View view) {
  return view == View::k32 ? KEY_WOW64_32KEY : 0;
}

// Native calls the Win32 layer does not offer, looked up once.
using NtQueryKeyFn = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
using NtDeleteKeyFn = LONG(WINAPI*)(HANDLE);
constexpr int kKeyNameInformation = 3;

struct Native {
  NtQueryKeyFn queryKey = nullptr;
  NtDeleteKeyFn deleteKey = nullptr;
  Native() {
    if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
      queryKey = reinterpret_cast<NtQueryKeyFn>(
          reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryKey")));
      deleteKey = reinterpret_cast<NtDeleteKeyFn>(
          reinterpret_cast<void*>(GetProcAddress(ntdll, "NtDeleteKey")));
    }
  }
};

const Native& NativeCalls() {
  static const Native native;
  return native;
}

// A status of the native calls as a Win32 error number.
long FromStatus(LONG status) {
  if (status >= 0) return ERROR_SUCCESS;
  switch (static_cast<ULONG>(status)) {
    case 0xC0000022u:
      return ERROR_ACCESS_DENIED;
    case 0xC0000034u:
      return ERROR_FILE_NOT_FOUND;
    case 0xC000017Cu:
      return ERROR_KEY_DELETED;
    case 0xC0000121u:
      return ERROR_CHILD_MUST_BE_VOLATILE;
    case 0xC0000008u:
      return ERROR_INVALID_HANDLE;
    default:
      return ERROR_GEN_FAILURE;
  }
}

class HandleCloser {
 public:
  explicit HandleCloser(HKEY key) : key_(key) {}
  HandleCloser(const HandleCloser&) = delete;
  HandleCloser& operator=(const HandleCloser&) = delete;
  ~HandleCloser() {
    if (key_) RegCloseKey(key_);
  }
  HKEY get() const { return key_; }

 private:
  HKEY key_;
};

// Empties a key opened for deleting: each sub-key is opened as itself (a link
// is not followed), emptied and deleted. Sub-keys that cannot be deleted are
// stepped over; the first failure is returned once the rest are gone.
long DeleteSubKeys(HKEY key, int depth) {
  if (depth > 512) return ERROR_CANTOPEN;  // deeper than the registry allows
  long first = ERROR_SUCCESS;
  DWORD index = 0;
  std::vector<wchar_t> name(256);
  for (;;) {
    DWORD length = static_cast<DWORD>(name.size());
    LONG r = RegEnumKeyExW(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (r == ERROR_NO_MORE_ITEMS) break;
    if (r == ERROR_MORE_DATA) {
      DWORD longest = 0;
      if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, &longest, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS ||
          longest + 1 <= name.size()) {
        return first ? first : r;
      }
      name.resize(longest + 1);
      continue;
    }
    if (r != ERROR_SUCCESS) return first ? first : r;
    HKEY child = nullptr;
    r = RegOpenKeyExW(key, std::wstring(name.data(), length).c_str(), REG_OPTION_OPEN_LINK,
                      KEY_READ | DELETE, &child);
    if (r == ERROR_SUCCESS) {
      HandleCloser closer(child);
      long inner = DeleteSubKeys(child, depth + 1);
      r = inner ? inner : FromStatus(NativeCalls().deleteKey(child));
    }
    if (r != ERROR_SUCCESS) {
      if (!first) first = r;
      ++index;  // leave it and go on with the next
    }
  }
  return first;
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
      if (r == ERROR_SUCCESS) *name = FromWide(big.data(), length);
      return r;
    }
    if (r == ERROR_SUCCESS) *name = FromWide(buffer, length);
    return r;
  }

  long EnumValue(uint32_t index, std::string* name) override {
    if (valueName_.empty()) valueName_.resize(kMaxValueName);
    DWORD length = kMaxValueName;
    LONG r =
        RegEnumValueW(key_, index, valueName_.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (r == ERROR_SUCCESS) *name = FromWide(valueName_.data(), length);
    return r;
  }

  long QueryValue(const std::string& name, RegData* data) override {
    const std::wstring wide = ToWide(name);
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
    const std::wstring wide = ToWide(name);
    return RegSetValueExW(key_, wide.c_str(), 0, data.type,
                          reinterpret_cast<const BYTE*>(data.bytes.data()),
                          static_cast<DWORD>(data.bytes.size()));
  }

  long DeleteValue(const std::string& name) override {
    const std::wstring wide = ToWide(name);
    return RegDeleteValueW(key_, wide.c_str());
  }

  long FullName(std::string* name) override {
    if (!NativeCalls().queryKey) return ERROR_CALL_NOT_IMPLEMENTED;
    std::vector<char> buffer(512);
    for (;;) {
      ULONG needed = 0;
      LONG status = NativeCalls().queryKey(key_, kKeyNameInformation, buffer.data(),
                                           static_cast<ULONG>(buffer.size()), &needed);
      if (static_cast<ULONG>(status) == 0x80000005u || static_cast<ULONG>(status) == 0xC0000023u) {
        if (needed <= buffer.size()) return ERROR_MORE_DATA;
        buffer.resize(needed);  // buffer overflow or too small: make room and ask again
        continue;
      }
      if (status < 0) return FromStatus(status);
      ULONG length = 0;  // bytes, not counting any NUL
      memcpy(&length, buffer.data(), sizeof length);
      const size_t units = std::min<size_t>(length, buffer.size() - sizeof length) / 2;
      std::u16string text(units, u'\0');
      memcpy(text.data(), buffer.data() + sizeof length, units * 2);
      *name = Utf16ToUtf8(text);
      return ERROR_SUCCESS;
    }
  }

 private:
  HKEY key_;
  std::vector<wchar_t> valueName_;
};

}  // namespace

long Win32Registry::OpenKey(const RegAddress& at, Access access, std::unique_ptr<RegKey>* key) {
  HKEY handle = nullptr;
  const REGSAM sam = (access == Access::Read ? KEY_READ : KEY_READ | KEY_WRITE) | ViewFlag(at.view);
  LONG r = RegOpenKeyExW(RootHandle(at.root), ToWide(at.path).c_str(), 0, sam, &handle);
  if (r == ERROR_SUCCESS) *key = std::make_unique<Win32Key>(handle);
  return r;
}

long Win32Registry::OpenLink(const RegAddress& at, std::unique_ptr<RegKey>* key) {
  HKEY handle = nullptr;
  LONG r = RegOpenKeyExW(RootHandle(at.root), ToWide(at.path).c_str(), REG_OPTION_OPEN_LINK,
                         KEY_READ | ViewFlag(at.view), &handle);
  if (r == ERROR_SUCCESS) *key = std::make_unique<Win32Key>(handle);
  return r;
}

long Win32Registry::CreateKey(const RegAddress& at, std::unique_ptr<RegKey>* key) {
  HKEY handle = nullptr;
  LONG r = RegCreateKeyExW(RootHandle(at.root), ToWide(at.path).c_str(), 0, nullptr, 0,
                           KEY_READ | KEY_WRITE | ViewFlag(at.view), nullptr, &handle, nullptr);
  if (r == ERROR_SUCCESS) *key = std::make_unique<Win32Key>(handle);
  return r;
}

long Win32Registry::DeleteTree(const RegAddress& at) {
  // An empty sub-key would empty the root itself.
  if (at.path.find_first_not_of('\\') == std::string::npos) return ERROR_INVALID_PARAMETER;
  if (!NativeCalls().deleteKey) return ERROR_CALL_NOT_IMPLEMENTED;
  // The key itself is opened as itself in its view: a link is deleted, never
  // what it points to.
  HKEY handle = nullptr;
  LONG r = RegOpenKeyExW(RootHandle(at.root), ToWide(at.path).c_str(), REG_OPTION_OPEN_LINK,
                         KEY_READ | DELETE | ViewFlag(at.view), &handle);
  if (r != ERROR_SUCCESS) return r;
  HandleCloser closer(handle);
  if (long inner = DeleteSubKeys(handle, 0)) return inner;
  return FromStatus(NativeCalls().deleteKey(handle));
}

long Win32Registry::DeleteValue(const RegAddress& at, const std::string& name) {
  HKEY handle = nullptr;
  LONG r = RegOpenKeyExW(RootHandle(at.root), ToWide(at.path).c_str(), 0,
                         KEY_SET_VALUE | ViewFlag(at.view), &handle);
  if (r != ERROR_SUCCESS) return r;
  HandleCloser closer(handle);
  return RegDeleteValueW(handle, ToWide(name).c_str());
}

}  // namespace brv
