// For screenshots: waits for Brovantine's start-up note, answers it with OK,
// lets the lists fill, and prints the main window's rectangle on the screen
// as "left top width height". With "about", clicks the About button and
// prints the About window's rectangle instead; with "size W H", sizes the
// main window to W x H pixels first (as near as the window lets it), with
// "maximized" maximises it.
//   dismiss_note.exe [SECONDS] [about] [size W H | maximized]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace {

HWND WaitFor(const wchar_t* className, const wchar_t* title, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < milliseconds) {
    HWND window = FindWindowW(className, title);
    if (window && IsWindowVisible(window)) return window;
    Sleep(20);
  }
  return nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const DWORD limit = (argc > 1 ? static_cast<DWORD>(_wtoi(argv[1])) : 60) * 1000;
  HWND note = WaitFor(L"#32770", L"IMPORTANT NOTE", limit);
  if (!note) {
    std::fprintf(stderr, "dismiss_note: no start-up note appeared\n");
    return 1;
  }
  PostMessageW(note, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  HWND main = WaitFor(L"BrovantineForm1", L"Brovantine", 5000);
  if (!main) {
    std::fprintf(stderr, "dismiss_note: no main window\n");
    return 1;
  }
  const DWORD start = GetTickCount();
  while (IsWindow(note) && GetTickCount() - start < 5000) Sleep(20);
  Sleep(500);  // the fills and the repaint
  for (int i = 2; i < argc; ++i) {
    if (wcscmp(argv[i], L"maximized") == 0) {
      SendMessageW(main, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    } else if (wcscmp(argv[i], L"size") == 0 && i + 2 < argc) {
      // Wine takes a size another program asks for as one at 96 dpi.
      SetWindowPos(main, nullptr, 0, 0, _wtoi(argv[i + 1]), _wtoi(argv[i + 2]),
                   SWP_NOMOVE | SWP_NOZORDER);
    } else {
      continue;
    }
    Sleep(500);  // the repaint
  }
  if (argc > 2 && wcscmp(argv[2], L"about") == 0) {
    HWND button = FindWindowExW(main, nullptr, L"Button", L"About");
    if (button) PostMessageW(button, BM_CLICK, 0, 0);
    main = WaitFor(L"BrovantineSplash", nullptr, 5000);
    if (!main) {
      std::fprintf(stderr, "dismiss_note: no About window\n");
      return 1;
    }
    Sleep(300);
  }
  RECT rect;
  GetWindowRect(main, &rect);
  std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left,
              rect.bottom - rect.top);
  return 0;
}
