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

bool MakeRawLink(const std::string& path, const std::string& targetPath) {
  // The link holds the target's name as the kernel knows it: the user's own
  // root (read from the key every user has) and the path below it.
  std::unique_ptr<RegKey> software;
  std::string root;
  if (ConformanceRegistry().OpenKey(kCurrentUser, "Software", Registry::Access::Read, &software) !=
          kErrorSuccess ||
      software->FullName(&root) != kErrorSuccess || root.size() <= 9) {
    return false;
  }
  root.resize(root.size() - 9);  // without "\Software"
  const std::wstring target = ToWide(root + "\\" + targetPath);
  const std::wstring wide = ToWide(path);
  HKEY link = nullptr;
  DWORD disposition = 0;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, wide.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK,
                      KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, &link,
                      &disposition) != ERROR_SUCCESS) {
    return false;
  }
  // The name without a terminating NUL, as the system reads it.
  const bool made =
      disposition == REG_CREATED_NEW_KEY &&
      RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK,
                     reinterpret_cast<const BYTE*>(target.data()),
                     static_cast<DWORD>(target.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
  RegCloseKey(link);
  return made;
}

}  // namespace brv
