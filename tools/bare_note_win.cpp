// The start-up yardstick: a program that does nothing but show Brovantine's
// start-up note, with Brovantine's manifest. Brovantine's note should appear
// nearly as soon as this one's.
#include <windows.h>

#include "app/events.h"
#include "base/wide_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  MessageBoxW(nullptr, brv::ToWide(brv::kStartupNote).c_str(),
              brv::ToWide(brv::kStartupTitle).c_str(), MB_OK);
  return 0;
}
