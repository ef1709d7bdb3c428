// The About window: one instance, shown without waiting.
#pragma once

#include <windows.h>

namespace brv {

void ShowSplash(HINSTANCE instance, HWND owner);
void CloseSplash();
// The About window, or nullptr when it is not open.
HWND SplashWindow();

}  // namespace brv
