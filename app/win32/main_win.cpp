// Brovantine.exe: the main window on the system's registry and desktop.
#include <windows.h>
#include <commctrl.h>

#include "app/win32/desktop_win.h"
#include "app/win32/form1_win.h"
#include "registry/win32_registry_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
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
