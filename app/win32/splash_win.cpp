#include "app/win32/splash_win.h"

namespace brv {

// Not built yet.
void ShowSplash(HINSTANCE, HWND) {}
void CloseSplash() {}
HWND SplashWindow() {
  return nullptr;
}

}  // namespace brv
