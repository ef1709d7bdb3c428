// The About window: one instance, shown without waiting, owned by the main
// window (it stays above it; the main window stays usable).
#pragma once

#include <windows.h>

#include "form/desktop.h"

namespace brv {

// Shows the About window, or brings the open one to the front. Its links go
// through `desktop`; closing it goes through `windows`.
void ShowSplash(HINSTANCE instance, HWND owner, Desktop* desktop, Windows* windows);
void CloseSplash();
// The About window, or nullptr when it is not open.
HWND SplashWindow();
// One of its controls by name, or nullptr.
HWND SplashControl(const char* name);

}  // namespace brv
