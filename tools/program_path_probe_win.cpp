// Writes the program's own path, as the desktop layer finds it, to the file
// named by its argument (UTF-8). Tests copy it to unusual places and run it.
#include <windows.h>

#include <string>

#include "app/win32/desktop_win.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  brv::Win32Desktop desktop;
  const std::string path = desktop.ProgramPath();
  HANDLE file = CreateFileW(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 3;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, path.data(), static_cast<DWORD>(path.size()), &written, nullptr);
  CloseHandle(file);
  return ok && !path.empty() ? 0 : 1;
}
