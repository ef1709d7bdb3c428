// The conformance cases on the real registry (the test prefix's).
#include <windows.h>
#include <winternl.h>

#include "app/win32/controls_win.h"
#include "conformance/registry_conformance.h"
#include "registry/win32_registry_win.h"

namespace brv {

Registry& ConformanceRegistry() {
  static Win32Registry registry;
  return registry;
}

void WriteRawValue(const std::string& path, const std::string& name, const RegData& data) {
  using SetValueKey = LONG(NTAPI*)(HANDLE, PUNICODE_STRING, ULONG, ULONG, PVOID, ULONG);
  auto setValueKey = reinterpret_cast<SetValueKey>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtSetValueKey")));
  HKEY key = nullptr;
  if (!setValueKey || RegCreateKeyExW(HKEY_CURRENT_USER, ToWide(path).c_str(), 0, nullptr, 0,
                                      KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return;
  }
  std::wstring wide = ToWide(name);
  UNICODE_STRING unicodeName;
  unicodeName.Buffer = wide.data();
  unicodeName.Length = static_cast<USHORT>(wide.size() * sizeof(wchar_t));
  unicodeName.MaximumLength = unicodeName.Length;
  std::string bytes = data.bytes;
  setValueKey(key, &unicodeName, 0, data.type, bytes.data(), static_cast<ULONG>(bytes.size()));
  RegCloseKey(key);
}

}  // namespace brv
