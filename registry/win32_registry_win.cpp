#include "registry/win32_registry_win.h"

#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/owned_win.h"
#include "base/system_library_win.h"
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

// Native calls the Win32 layer does not offer, looked up once. They take
// counted names, so a name may hold a NUL, which the Win32 calls (taking
// NUL-terminated text) would read as its end.
using NtQueryKeyFn = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
using NtDeleteKeyFn = LONG(WINAPI*)(HANDLE);
using NtOpenKeyFn = LONG(WINAPI*)(HANDLE*, ACCESS_MASK, OBJECT_ATTRIBUTES*);
using NtCreateKeyFn = LONG(WINAPI*)(HANDLE*, ACCESS_MASK, OBJECT_ATTRIBUTES*, ULONG,
                                    UNICODE_STRING*, ULONG, ULONG*);
using NtEnumerateKeyFn = LONG(WINAPI*)(HANDLE, ULONG, int, void*, ULONG, ULONG*);
using NtQueryValueKeyFn = LONG(WINAPI*)(HANDLE, UNICODE_STRING*, int, void*, ULONG, ULONG*);
using NtSetValueKeyFn = LONG(WINAPI*)(HANDLE, UNICODE_STRING*, ULONG, ULONG, void*, ULONG);
using NtDeleteValueKeyFn = LONG(WINAPI*)(HANDLE, UNICODE_STRING*);
constexpr int kKeyBasicInformation = 0;
constexpr int kKeyNameInformation = 3;
constexpr int kKeyValuePartialInformation = 2;

struct Native {
  NtQueryKeyFn queryKey = nullptr;
  NtDeleteKeyFn deleteKey = nullptr;
  NtOpenKeyFn openKey = nullptr;
  NtCreateKeyFn createKey = nullptr;
  NtEnumerateKeyFn enumerateKey = nullptr;
  NtQueryValueKeyFn queryValueKey = nullptr;
  NtSetValueKeyFn setValueKey = nullptr;
  NtDeleteValueKeyFn deleteValueKey = nullptr;
  Native() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    queryKey = FindFunction<NtQueryKeyFn>(ntdll, "NtQueryKey");
    deleteKey = FindFunction<NtDeleteKeyFn>(ntdll, "NtDeleteKey");
    openKey = FindFunction<NtOpenKeyFn>(ntdll, "NtOpenKey");
    createKey = FindFunction<NtCreateKeyFn>(ntdll, "NtCreateKey");
    enumerateKey = FindFunction<NtEnumerateKeyFn>(ntdll, "NtEnumerateKey");
    queryValueKey = FindFunction<NtQueryValueKeyFn>(ntdll, "NtQueryValueKey");
    setValueKey = FindFunction<NtSetValueKeyFn>(ntdll, "NtSetValueKey");
    deleteValueKey = FindFunction<NtDeleteValueKeyFn>(ntdll, "NtDeleteValueKey");
  }
  bool Complete() const {
    return queryKey && deleteKey && openKey && createKey && enumerateKey && queryValueKey &&
           setValueKey && deleteValueKey;
  }
};

const Native& NativeCalls() {
  static const Native native;
  return native;
}

constexpr ULONG kStatusBufferOverflow = 0x80000005u;
constexpr ULONG kStatusNoMoreEntries = 0x8000001Au;
constexpr ULONG kStatusBufferTooSmall = 0xC0000023u;

bool NeedsMoreRoom(LONG status) {
  return static_cast<ULONG>(status) == kStatusBufferOverflow ||
         static_cast<ULONG>(status) == kStatusBufferTooSmall;
}

// Asks a native query into `buffer` (its data, its size, the size needed),
// growing the buffer to what the query needs for as long as it needs more.
template <typename Query>
LONG QueryGrowing(std::vector<char>* buffer, Query query) {
  for (;;) {
    ULONG needed = 0;
    const LONG status = query(buffer->data(), static_cast<ULONG>(buffer->size()), &needed);
    if (!NeedsMoreRoom(status) || needed <= buffer->size()) return status;
    buffer->resize(needed);
  }
}

// A status of the native calls as a Win32 error number, as the Win32 calls
// would report it.
long FromStatus(LONG status) {
  if (status >= 0) return ERROR_SUCCESS;
  switch (static_cast<ULONG>(status)) {
    case 0xC0000022u:  // access denied
    case 0xC0000121u:  // cannot delete
      return ERROR_ACCESS_DENIED;
    case 0xC0000034u:  // object name not found
    case 0xC000003Au:  // object path not found
      return ERROR_FILE_NOT_FOUND;
    case 0xC0000033u:  // object name invalid
      return ERROR_INVALID_NAME;
    case 0xC000003Bu:  // path syntax bad
      return ERROR_BAD_PATHNAME;
    case 0xC000000Du:  // invalid parameter
      return ERROR_INVALID_PARAMETER;
    case 0xC0000106u:  // name too long
      return ERROR_FILENAME_EXCED_RANGE;
    case 0xC000017Cu:  // key deleted
      return ERROR_KEY_DELETED;
    case 0xC0000181u:  // child must be volatile
      return ERROR_CHILD_MUST_BE_VOLATILE;
    case 0xC0000008u:  // invalid handle
      return ERROR_INVALID_HANDLE;
    case 0xC0000017u:  // no memory
      return ERROR_NOT_ENOUGH_MEMORY;
    case kStatusBufferOverflow:
    case kStatusBufferTooSmall:
      return ERROR_MORE_DATA;
    case kStatusNoMoreEntries:
      return ERROR_NO_MORE_ITEMS;
    default:
      return ERROR_GEN_FAILURE;
  }
}

using OwnedKey = Owned<HKEY, &RegCloseKey>;

// A name as the native calls take it: counted, so NULs inside it count.
class CountedName {
 public:
  explicit CountedName(const std::wstring& text) : text_(text) {
    name_.Buffer = text_.data();
    name_.Length = static_cast<USHORT>(std::min<size_t>(text_.size() * sizeof(wchar_t), 0xFFFE));
    name_.MaximumLength = name_.Length;
  }
  CountedName(const CountedName&) = delete;
  CountedName& operator=(const CountedName&) = delete;
  // Longer than a counted string can hold.
  bool TooLong() const { return text_.size() * sizeof(wchar_t) > 0xFFFE; }
  UNICODE_STRING* get() { return &name_; }

 private:
  std::wstring text_;
  UNICODE_STRING name_;
};

bool HoldsNul(const std::string& name) {
  return name.find('\0') != std::string::npos;
}

// Opens (or creates) one sub-key by its counted name relative to an open
// key. With `openLink` a registry link is opened as itself.
long OpenChild(HKEY parent, const std::wstring& name, ACCESS_MASK access, bool openLink,
               bool create, HKEY* child) {
  const Native& native = NativeCalls();
  if (!native.Complete()) return ERROR_CALL_NOT_IMPLEMENTED;
  CountedName counted(name);
  if (counted.TooLong()) return ERROR_FILENAME_EXCED_RANGE;
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, counted.get(),
                             OBJ_CASE_INSENSITIVE | (openLink ? OBJ_OPENLINK : 0), parent, nullptr);
  HANDLE handle = nullptr;
  const LONG status = create ? native.createKey(&handle, access, &attributes, 0, nullptr,
                                                REG_OPTION_NON_VOLATILE, nullptr)
                             : native.openKey(&handle, access, &attributes);
  if (status < 0) return FromStatus(status);
  *child = static_cast<HKEY>(handle);
  return ERROR_SUCCESS;
}

// Opens (or creates, with its missing parents) the key at an address in its
// view; with `openLink` the key itself, where it is a registry link, not its
// target. The leading names without a NUL go to the Win32 call in the view;
// from the first name holding a NUL on, each name is opened by its counted
// form relative to the key before it.
long OpenPath(const RegAddress& at, REGSAM access, bool openLink, bool create, HKEY* out) {
  const HKEY root = RootHandle(at.root);
  const REGSAM sam = access | ViewFlag(at.view);
  const size_t nul = at.path.find('\0');
  if (nul == std::string::npos) {
    const std::wstring path = ToWide(at.path);
    if (create) {
      return RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, sam, nullptr, out, nullptr);
    }
    return RegOpenKeyExW(root, path.c_str(), openLink ? REG_OPTION_OPEN_LINK : 0, sam, out);
  }
  if (at.path[0] == '\\') return ERROR_BAD_PATHNAME;
  const size_t start = at.path.rfind('\\', nul);
  const size_t restStart = start == std::string::npos ? 0 : start + 1;
  const std::vector<std::string> rest = PathNames(at.path.substr(restStart));
  const REGSAM through =
      (create ? KEY_CREATE_SUB_KEY | KEY_ENUMERATE_SUB_KEYS : KEY_ENUMERATE_SUB_KEYS);
  const std::wstring head = ToWide(at.path.substr(0, restStart));
  HKEY handle = nullptr;
  LONG r = create ? RegCreateKeyExW(root, head.c_str(), 0, nullptr, 0, through | ViewFlag(at.view),
                                    nullptr, &handle, nullptr)
                  : RegOpenKeyExW(root, head.c_str(), 0, through | ViewFlag(at.view), &handle);
  if (r != ERROR_SUCCESS) return r;
  for (size_t i = 0; i < rest.size(); ++i) {
    const bool last = i + 1 == rest.size();
    HKEY child = nullptr;
    r = OpenChild(handle, ToWide(rest[i]), last ? access : through, last && openLink, create,
                  &child);
    RegCloseKey(handle);
    if (r != ERROR_SUCCESS) return r;
    handle = child;
  }
  *out = handle;
  return ERROR_SUCCESS;
}

// The name of a sub-key at an index, counted: whole, NULs and all.
long EnumSubKey(HKEY key, DWORD index, std::wstring* name) {
  const Native& native = NativeCalls();
  if (!native.enumerateKey) return ERROR_CALL_NOT_IMPLEMENTED;
  // Last-write time, title index and name length, then the name.
  constexpr size_t kHeader = sizeof(LARGE_INTEGER) + 2 * sizeof(ULONG);
  std::vector<char> buffer(kHeader + 256 * sizeof(wchar_t));
  const LONG status = QueryGrowing(&buffer, [&](void* data, ULONG size, ULONG* needed) {
    return native.enumerateKey(key, index, kKeyBasicInformation, data, size, needed);
  });
  if (status < 0) return FromStatus(status);
  ULONG length = 0;
  memcpy(&length, buffer.data() + sizeof(LARGE_INTEGER) + sizeof(ULONG), sizeof length);
  const size_t units = std::min<size_t>(length, buffer.size() - kHeader) / sizeof(wchar_t);
  name->assign(units, L'\0');
  memcpy(name->data(), buffer.data() + kHeader, units * sizeof(wchar_t));
  return ERROR_SUCCESS;
}

// Empties a key opened for deleting: each sub-key is opened by its counted
// name as itself (a link is not followed), emptied and deleted. Sub-keys
// that cannot be deleted are stepped over; the first failure is returned
// once the rest are gone.
long DeleteSubKeys(HKEY key, int depth) {
  if (depth > 512) return ERROR_CANTOPEN;  // deeper than the registry allows
  long first = ERROR_SUCCESS;
  DWORD index = 0;
  for (;;) {
    std::wstring name;
    LONG r = EnumSubKey(key, index, &name);
    if (r == ERROR_NO_MORE_ITEMS) break;
    if (r != ERROR_SUCCESS) return first ? first : r;
    HKEY child = nullptr;
    r = OpenChild(key, name, KEY_READ | DELETE, true, false, &child);
    if (r == ERROR_SUCCESS) {
      OwnedKey closer(child);
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

// A value's type and bytes read by its counted name.
long QueryValueCounted(HKEY key, const std::wstring& name, RegData* data) {
  const Native& native = NativeCalls();
  if (!native.queryValueKey) return ERROR_CALL_NOT_IMPLEMENTED;
  CountedName counted(name);
  if (counted.TooLong()) return ERROR_FILE_NOT_FOUND;
  constexpr size_t kHeader = 3 * sizeof(ULONG);  // title index, type, data length
  std::vector<char> buffer(kHeader + 256);
  const LONG status = QueryGrowing(&buffer, [&](void* data, ULONG size, ULONG* needed) {
    return native.queryValueKey(key, counted.get(), kKeyValuePartialInformation, data, size,
                                needed);
  });
  if (status < 0) return FromStatus(status);
  ULONG type = 0, length = 0;
  memcpy(&type, buffer.data() + sizeof(ULONG), sizeof type);
  memcpy(&length, buffer.data() + 2 * sizeof(ULONG), sizeof length);
  length = static_cast<ULONG>(std::min<size_t>(length, buffer.size() - kHeader));
  data->type = type;
  data->bytes.assign(buffer.data() + kHeader, length);
  return ERROR_SUCCESS;
}

long SetValueCounted(HKEY key, const std::wstring& name, const RegData& data) {
  const Native& native = NativeCalls();
  if (!native.setValueKey) return ERROR_CALL_NOT_IMPLEMENTED;
  CountedName counted(name);
  if (counted.TooLong()) return ERROR_INVALID_PARAMETER;
  std::string bytes = data.bytes;
  return FromStatus(native.setValueKey(key, counted.get(), 0, data.type, bytes.data(),
                                       static_cast<ULONG>(bytes.size())));
}

// Deletes one value: by its counted name where it holds a NUL.
long DeleteValueOf(HKEY key, const std::string& name) {
  const std::wstring wide = ToWide(name);
  if (!HoldsNul(name)) return RegDeleteValueW(key, wide.c_str());
  const Native& native = NativeCalls();
  if (!native.deleteValueKey) return ERROR_CALL_NOT_IMPLEMENTED;
  CountedName counted(wide);
  if (counted.TooLong()) return ERROR_FILE_NOT_FOUND;
  return FromStatus(native.deleteValueKey(key, counted.get()));
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
    if (HoldsNul(name)) return QueryValueCounted(key_, wide, data);
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
    if (HoldsNul(name)) return SetValueCounted(key_, wide, data);
    return RegSetValueExW(key_, wide.c_str(), 0, data.type,
                          reinterpret_cast<const BYTE*>(data.bytes.data()),
                          static_cast<DWORD>(data.bytes.size()));
  }

  long DeleteValue(const std::string& name) override { return DeleteValueOf(key_, name); }

  long FullName(std::string* name) override {
    if (!NativeCalls().queryKey) return ERROR_CALL_NOT_IMPLEMENTED;
    std::vector<char> buffer(512);
    const LONG status = QueryGrowing(&buffer, [&](void* data, ULONG size, ULONG* needed) {
      return NativeCalls().queryKey(key_, kKeyNameInformation, data, size, needed);
    });
    if (status < 0) return FromStatus(status);
    ULONG length = 0;  // bytes, not counting any NUL
    memcpy(&length, buffer.data(), sizeof length);
    const size_t units = std::min<size_t>(length, buffer.size() - sizeof length) / 2;
    std::u16string text(units, u'\0');
    memcpy(text.data(), buffer.data() + sizeof length, units * 2);
    *name = Utf16ToUtf8(text);
    return ERROR_SUCCESS;
  }

  long LastWriteTime(int64_t* time) override {
    FILETIME written = {};
    const LONG r = RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                    nullptr, nullptr, nullptr, nullptr, &written);
    if (r == ERROR_SUCCESS) {
      *time = static_cast<int64_t>(static_cast<uint64_t>(written.dwHighDateTime) << 32 |
                                   written.dwLowDateTime);
    }
    return r;
  }

 private:
  HKEY key_;
  std::vector<wchar_t> valueName_;
};

}  // namespace

long Win32Registry::OpenKey(const RegAddress& at, Access access, std::unique_ptr<RegKey>* key) {
  HKEY handle = nullptr;
  const REGSAM sam = access == Access::Read ? KEY_READ : KEY_READ | KEY_WRITE;
  const long r = OpenPath(at, sam, false, false, &handle);
  if (r == ERROR_SUCCESS) *key = std::make_unique<Win32Key>(handle);
  return r;
}

long Win32Registry::OpenLink(const RegAddress& at, std::unique_ptr<RegKey>* key) {
  HKEY handle = nullptr;
  const long r = OpenPath(at, KEY_READ, true, false, &handle);
  if (r == ERROR_SUCCESS) *key = std::make_unique<Win32Key>(handle);
  return r;
}

long Win32Registry::CreateKey(const RegAddress& at, std::unique_ptr<RegKey>* key) {
  HKEY handle = nullptr;
  const long r = OpenPath(at, KEY_READ | KEY_WRITE, false, true, &handle);
  if (r == ERROR_SUCCESS) *key = std::make_unique<Win32Key>(handle);
  return r;
}

long Win32Registry::DeleteTree(const RegAddress& at) {
  // An empty sub-key would empty the root itself.
  if (at.path.find_first_not_of('\\') == std::string::npos) return ERROR_INVALID_PARAMETER;
  if (!NativeCalls().Complete()) return ERROR_CALL_NOT_IMPLEMENTED;
  // The key itself is opened as itself in its view: a link is deleted, never
  // what it points to.
  HKEY handle = nullptr;
  const long r = OpenPath(at, KEY_READ | DELETE, true, false, &handle);
  if (r != ERROR_SUCCESS) return r;
  OwnedKey closer(handle);
  if (long inner = DeleteSubKeys(handle, 0)) return inner;
  return FromStatus(NativeCalls().deleteKey(handle));
}

long Win32Registry::DeleteValue(const RegAddress& at, const std::string& name) {
  HKEY handle = nullptr;
  const long r = OpenPath(at, KEY_SET_VALUE, false, false, &handle);
  if (r != ERROR_SUCCESS) return r;
  OwnedKey closer(handle);
  return DeleteValueOf(handle, name);
}

}  // namespace brv
