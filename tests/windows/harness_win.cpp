#include "harness_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlwapi.h>

#include <iterator>
#include <ostream>

#include "app/win32/controls_win.h"

namespace brv {

namespace {

BoxAnswerer* g_answerer = nullptr;
const wchar_t kScratchBase[] = L"Software\\BrovantineTestScratch";

HKEY OpenScratch(const wchar_t* name) {
  std::wstring path = std::wstring(kScratchBase) + L"\\" + name;
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                  nullptr);
  return key;
}

}  // namespace

ScratchRegistry::ScratchRegistry() {
  RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
  RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
  // Links are removed as links and names holding a NUL by their full names:
  // nothing of an earlier test is left for the next one.
  Win32Registry().DeleteTree(kCurrentUser, FromWide(kScratchBase, wcslen(kScratchBase)));
  keys_[0] = OpenScratch(L"HKCU");
  keys_[1] = OpenScratch(L"HKLM");
  keys_[2] = OpenScratch(L"HKCR");
  EXPECT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_CURRENT_USER, keys_[0]));
  EXPECT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_LOCAL_MACHINE, keys_[1]));
  EXPECT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_CLASSES_ROOT, keys_[2]));
}

ScratchRegistry::~ScratchRegistry() {
  RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
  RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
  for (HKEY key : keys_) {
    if (key) RegCloseKey(key);
  }
  // Links are removed as links and names holding a NUL by their full names:
  // nothing of an earlier test is left for the next one.
  Win32Registry().DeleteTree(kCurrentUser, FromWide(kScratchBase, wcslen(kScratchBase)));
}

bool operator==(const SeenBox& a, const SeenBox& b) {
  return a.title == b.title && a.text == b.text && a.hasOk == b.hasOk &&
         a.hasCancel == b.hasCancel && a.hasYes == b.hasYes && a.hasNo == b.hasNo &&
         a.hasIcon == b.hasIcon;
}

std::ostream& operator<<(std::ostream& out, const SeenBox& box) {
  out << "{\"" << box.title << "\", \"" << box.text << "\",";
  if (box.hasOk) out << " OK";
  if (box.hasCancel) out << " Cancel";
  if (box.hasYes) out << " Yes";
  if (box.hasNo) out << " No";
  return out << (box.hasIcon ? ", icon}" : ", no icon}");
}

SeenBox DeleteConfirmation() {
  SeenBox box;
  box.title = "Delete Confirmation";
  box.text = "Are you sure? Changes cannot be reverted";
  box.hasOk = box.hasCancel = true;
  return box;
}

BoxAnswerer::BoxAnswerer() {
  g_answerer = this;
  hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

BoxAnswerer::~BoxAnswerer() {
  if (hook_) UnhookWindowsHookEx(hook_);
  g_answerer = nullptr;
}

LRESULT CALLBACK BoxAnswerer::Hook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && g_answerer) {
    HWND box = reinterpret_cast<HWND>(wParam);
    wchar_t className[32] = {};
    GetClassNameW(box, className, 32);
    if (wcscmp(className, L"#32770") == 0) {
      SeenBox seen;
      seen.title = WindowText(box);
      seen.text = WindowText(GetDlgItem(box, 0xFFFF));
      seen.hasOk = GetDlgItem(box, IDOK) != nullptr;
      seen.hasCancel = GetDlgItem(box, IDCANCEL) != nullptr;
      seen.hasYes = GetDlgItem(box, IDYES) != nullptr;
      seen.hasNo = GetDlgItem(box, IDNO) != nullptr;
      for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        GetClassNameW(child, className, 32);
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        if (_wcsicmp(className, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON &&
            SendMessageW(child, STM_GETICON, 0, 0) != 0) {
          seen.hasIcon = true;
        }
      }
      g_answerer->seen.push_back(seen);
      if (g_answerer->onShow) g_answerer->onShow(g_answerer->context);
      int answer = seen.hasCancel ? IDCANCEL : seen.hasNo ? IDNO : IDOK;
      if (!g_answerer->answers.empty()) {
        answer = g_answerer->answers.front();
        g_answerer->answers.pop_front();
      }
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void Pump() {
  for (int round = 0; round < 3; ++round) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) continue;
      HandleQueuedMessage(message);
    }
    Sleep(10);
  }
}

void PressKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> input;
  for (WORD key : keys) {
    INPUT down = {};
    down.type = INPUT_KEYBOARD;
    down.ki.wVk = key;
    input.push_back(down);
  }
  for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
    INPUT up = {};
    up.type = INPUT_KEYBOARD;
    up.ki.wVk = *key;
    up.ki.dwFlags = KEYEVENTF_KEYUP;
    input.push_back(up);
  }
  SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
  Pump();
}

void ClickListItem(HWND list, int index, bool doubleClick) {
  SendMessageW(list, LB_SETTOPINDEX, index, 0);
  RECT item;
  ASSERT_NE(LB_ERR, SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)));
  const LPARAM at = MAKELPARAM(item.left + 4, (item.top + item.bottom) / 2);
  PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(list, WM_LBUTTONUP, 0, at);
  if (doubleClick) {
    PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
  }
  Pump();
}

int FindListItem(HWND list, const std::string& text) {
  std::vector<std::string> items = ListItems(list);
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i] == text) return static_cast<int>(i);
  }
  return -1;
}

void ClickButton(HWND button) {
  PostMessageW(button, BM_CLICK, 0, 0);
  Pump();
}

void ChooseMenu(const MainWindow& window, const std::string& name) {
  PostMessageW(window.Handle(), WM_COMMAND, MAKEWPARAM(window.MenuId(name), 0), 0);
  Pump();
}

std::vector<std::string> ListItems(HWND list) {
  std::vector<std::string> items;
  Win32ListBox box(list, nullptr);
  for (int i = 0; i < box.ListCount(); ++i) items.push_back(box.List(i));
  return items;
}

std::string UnixPath(const std::wstring& path) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  FARPROC proc = GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name");
  if (!proc) return std::string();
  char* name = reinterpret_cast<UnixName>(reinterpret_cast<void*>(proc))(path.c_str());
  if (!name) return std::string();
  std::string result = name;
  HeapFree(GetProcessHeap(), 0, name);
  return result;
}

int ThreadWindows(const wchar_t* className, bool visibleOnly) {
  struct Count {
    const wchar_t* name;
    bool visibleOnly;
    int found;
  } count = {className, visibleOnly, 0};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM context) -> BOOL {
        auto* count = reinterpret_cast<Count*>(context);
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        if (wcscmp(name, count->name) == 0 && (!count->visibleOnly || IsWindowVisible(window))) {
          ++count->found;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count.found;
}

WindowTest::WindowTest() {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
}

WindowTest::~WindowTest() {
  window.reset();
  Pump();
}

void WindowTest::Open(Registry* through) {
  boxes.answers.push_front(IDOK);  // the start-up note
  window = MainWindow::Create(GetModuleHandleW(nullptr), through ? through : &registry, &desktop,
                              SW_SHOWNORMAL, false);
  ASSERT_TRUE(window);
  desktop.SetOwner(window->Handle());
  Pump();
}

std::string WindowTest::Text(const std::string& name) const {
  return WindowText(Control(name));
}

bool WindowTest::Enabled(const std::string& name) const {
  return IsWindowEnabled(Control(name)) != FALSE;
}

HWND WindowTest::About() const {
  return window && window->About() ? window->About()->Handle() : nullptr;
}

HWND WindowTest::AboutControl(const char* name) const {
  return window && window->About() ? window->About()->Control(name) : nullptr;
}

std::vector<HWND> ExpectLaidOut(HWND window, const FormSpec& layout, int dpi,
                                const std::function<HWND(const char*)>& control) {
  RECT client;
  GetClientRect(window, &client);
  EXPECT_GE(client.right, Pixels(layout.clientWidth, dpi));
  // A status bar lies below the table's area.
  if (HWND bar = FindWindowExW(window, nullptr, STATUSCLASSNAMEW, nullptr)) {
    RECT barRect;
    GetWindowRect(bar, &barRect);
    client.bottom -= barRect.bottom - barRect.top;
  }
  EXPECT_GE(client.bottom, Pixels(layout.clientHeight, dpi));
  std::vector<HWND> found;
  for (const ControlSpec& spec : layout.controls) {
    HWND child = control(spec.name);
    found.push_back(child);
    EXPECT_TRUE(child) << spec.name;
    if (!child || spec.kind == ControlKind::Line) continue;
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    const ControlSpec* container = spec.container ? FindControl(layout, spec.container) : nullptr;
    const int left = spec.left + (container ? container->left : 0);
    const int top = spec.top + (container ? container->top : 0);
    EXPECT_EQ(Pixels(left, dpi), rect.left) << spec.name;
    EXPECT_GE(rect.top, Pixels(top, dpi)) << spec.name;
    EXPECT_GE(rect.right, Pixels(left + spec.width, dpi)) << spec.name;
  }
  return found;
}

}  // namespace brv
