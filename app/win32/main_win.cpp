// Brovantine.exe: the main window on the system's registry and desktop; with
// arguments, the command line, which shows no window.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/config.h"
#include "app/win32/desktop_win.h"
#include "app/win32/form1_win.h"
#include "base/wide_win.h"
#include "files/win32_files_win.h"
#include "registry/win32_registry_win.h"
#include "report/command_line.h"

namespace {

// One of the standard streams: inherited from the parent (redirected to a
// file or a pipe), else the console of the parent, where it has one. A
// console takes the text as UTF-16, anything else as the UTF-8 bytes.
class Stream {
 public:
  explicit Stream(DWORD which) : which_(which) {}
  bool Write(const std::string& text) {
    HANDLE handle = Handle();
    if (!handle) return false;
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
      const std::wstring wide = brv::ToWide(text);
      DWORD written = 0;
      return WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written,
                           nullptr) != FALSE;
    }
    for (size_t at = 0; at < text.size();) {
      DWORD written = 0;
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size() - at, 1 << 20));
      if (!WriteFile(handle, text.data() + at, chunk, &written, nullptr) || written == 0) {
        return false;
      }
      at += written;
    }
    return true;
  }

 private:
  HANDLE Handle() {
    HANDLE handle = GetStdHandle(which_);
    if (handle && handle != INVALID_HANDLE_VALUE) return handle;
    // A program of the window subsystem started from a console gets no
    // streams of its own: it writes to that console.
    static const bool attached = AttachConsole(ATTACH_PARENT_PROCESS) != FALSE;
    if (!attached) return nullptr;
    handle = GetStdHandle(which_);
    if (handle && handle != INVALID_HANDLE_VALUE) return handle;
    // Held until the program ends.
    static const HANDLE console =
        CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    return console != INVALID_HANDLE_VALUE ? console : nullptr;
  }
  DWORD which_;
};

int RunCommandLine(int count, wchar_t** values) {
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(brv::FromWide(values[i], wcslen(values[i])));
  const brv::Arguments parsed = brv::ParseArguments(arguments);
  brv::Win32Registry registry;
  brv::Win32Files files;
  brv::Win32Desktop desktop;
  Stream out(STD_OUTPUT_HANDLE), error(STD_ERROR_HANDLE);
  brv::Console console{[&](const std::string& text) { return out.Write(text); },
                       [&](const std::string& text) { return error.Write(text); }};
  return brv::RunArguments(parsed, registry, files, desktop, BRV_VERSION, console);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  if (__argc > 1 && __wargv) {
    // No box from the system either (a drive without a disk).
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    try {
      return RunCommandLine(__argc, __wargv);
    } catch (...) {
      return 1;
    }
  }
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  brv::Win32Registry registry;
  brv::Win32Desktop desktop;
  // A window that could not be made, whole, ends the program before anything
  // shows; the window procedures let no exception out.
  std::unique_ptr<brv::MainWindow> window;
  try {
    window = brv::MainWindow::Create(instance, &registry, &desktop, showCommand, true);
  } catch (...) {
    return 1;
  }
  if (!window) return 1;
  desktop.SetOwner(window->Handle());
  return brv::RunMessageLoop();
}
