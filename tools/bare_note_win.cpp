// The start-up yardsticks: a program that does nothing but show Brovantine's
// start-up note, with Brovantine's manifest. Brovantine's note should appear
// nearly as soon as this one's. With the word "controls" it first makes a
// hidden window holding as many plain controls of each class as the main
// window's table has, and a status bar: the least any program pays that
// builds such a window whole before the note.
#include <windows.h>
#include <commctrl.h>

#include <cwchar>

#include "app/events.h"
#include "app/layout.h"
#include "base/wide_win.h"

namespace {

void MakePlainControls(HINSTANCE instance) {
  INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&classes);
  HWND frame = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                               800, 600, nullptr, CreateMenu(), instance, nullptr);
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  int id = 100;
  for (const brv::ControlSpec& spec : brv::Form1Layout().controls) {
    const wchar_t* kind = L"STATIC";
    DWORD style = 0, exStyle = 0;
    switch (spec.kind) {
      case brv::ControlKind::Frame:
        kind = L"BUTTON";
        style = BS_GROUPBOX;
        break;
      case brv::ControlKind::Button:
        kind = L"BUTTON";
        style = BS_PUSHBUTTON | BS_MULTILINE;
        break;
      case brv::ControlKind::ListBox:
        kind = L"LISTBOX";
        style = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL;
        exStyle = WS_EX_CLIENTEDGE;
        break;
      case brv::ControlKind::TextBox:
        kind = L"EDIT";
        style = ES_READONLY | ES_AUTOHSCROLL;
        exStyle = WS_EX_CLIENTEDGE;
        break;
      default:
        break;
    }
    HWND control =
        CreateWindowExW(exStyle, kind, L"Caption", WS_CHILD | WS_VISIBLE | style, 0, id, 100, 20,
                        frame, reinterpret_cast<HMENU>(INT_PTR{id}), instance, nullptr);
    ++id;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, frame, nullptr,
                  instance, nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  if (std::wcscmp(commandLine, L"controls") == 0) MakePlainControls(instance);
  MessageBoxW(nullptr, brv::ToWide(brv::kStartupNote).c_str(),
              brv::ToWide(brv::kStartupTitle).c_str(), MB_OK);
  return 0;
}
