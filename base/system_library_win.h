// The system's own libraries, loaded when first needed rather than at
// start-up: from the system folder by full path, never from the program's
// folder or the current one, where a file of the same name could stand.
// Each stays loaded for the life of the program.
#pragma once

#include <windows.h>

#include <string>

namespace brv {

inline HMODULE LoadSystemLibrary(const wchar_t* name) {
  wchar_t folder[MAX_PATH + 1] = {};
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length > MAX_PATH) return nullptr;
  // What the library loads in turn is looked for beside it first.
  return LoadLibraryExW((std::wstring(folder, length) + L"\\" + name).c_str(), nullptr,
                        LOAD_WITH_ALTERED_SEARCH_PATH);
}

// A function of a loaded library, as the type it is called through; null
// where the library or the function is missing.
template <typename Function>
Function FindFunction(HMODULE library, const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(library ? GetProcAddress(library, name) : nullptr));
}

}  // namespace brv
