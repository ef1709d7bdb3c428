#include "app/win32/splash_win.h"

#include <memory>

#include "app/links.h"
#include "app/win32/controls_win.h"
#include "app/win32/layout_win.h"

namespace brv {

namespace {

const wchar_t kClassName[] = L"BrovantineSplash";
const DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
const DWORD kExStyle = WS_EX_DLGMODALFRAME;
constexpr int kFirstId = 2000;

struct Splash {
  SplashForm form;
  std::unique_ptr<FontSet> fonts;
  BuiltControls built;
  RECT frame = {};  // Frame1, in client coordinates
  bool pressedInFrame = false;
};

HWND g_window = nullptr;
// Set once a window being made has taken its state (it frees it when it
// goes, even if the making fails later).
bool g_stateTaken = false;

Splash* StateOf(HWND window) {
  return reinterpret_cast<Splash*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// Typing while the OK button has the focus still counts as a key typed in
// the window: the button hands its characters to the window.
LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(button, GWLP_USERDATA));
  if (message == WM_CHAR) return SendMessageW(GetParent(button), WM_CHAR, wParam, lParam);
  return CallWindowProcW(previous, button, message, wParam, lParam);
}

// The maker's name is set at build time: its label grows to show all of it,
// up to the frame's edge, on one line.
void FitMakerName(HWND label, int frameRight) {
  if (!label) return;
  const LONG style = GetWindowLongW(label, GWL_STYLE);
  SetWindowLongW(label, GWL_STYLE, (style & ~SS_TYPEMASK) | SS_LEFTNOWORDWRAP);
  const std::wstring text = ToWide(WindowText(label));
  HDC dc = GetDC(label);
  if (!dc) return;
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
  SIZE extent = {};
  const bool measured =
      GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent) != FALSE;
  SelectObject(dc, old);
  ReleaseDC(label, dc);
  RECT rect;
  GetWindowRect(label, &rect);
  MapWindowPoints(nullptr, GetParent(label), reinterpret_cast<POINT*>(&rect), 2);
  const int wanted = extent.cx + 2;
  if (!measured || wanted <= rect.right - rect.left) return;
  const int room = frameRight - 4 - rect.left;
  SetWindowPos(label, nullptr, 0, 0, wanted < room ? wanted : room, rect.bottom - rect.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// False when a control could not be made.
bool Build(HWND window, Splash* state) {
  const int dpi = ScreenDpi();
  state->fonts = std::make_unique<FontSet>(dpi);
  if (!BuildControls(window, SplashLayout(), dpi, *state->fonts, kFirstId, &state->built)) {
    return false;
  }
  HWND image = state->built.byName["Image1"];
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
  const ControlSpec* imageSpec = FindControl(SplashLayout(), "Image1");
  // Shared: the system frees it with the module.
  HANDLE icon = LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, Twips(imageSpec->width, dpi),
                           Twips(imageSpec->height, dpi), LR_SHARED);
  if (image && icon) SendMessageW(image, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  HWND ok = state->built.byName["Command1"];
  if (ok) {
    SetWindowLongPtrW(ok, GWLP_USERDATA, GetWindowLongPtrW(ok, GWLP_WNDPROC));
    SetWindowLongPtrW(ok, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ButtonProc));
  }
  const ControlSpec* frame = FindControl(SplashLayout(), "Frame1");
  state->frame = {Twips(frame->left, dpi), Twips(frame->top, dpi),
                  Twips(frame->left + frame->width, dpi), Twips(frame->top + frame->height, dpi)};
  FitMakerName(state->built.byName["Label2"], state->frame.right);
  return true;
}

// Runs a handler of the About window. The handler may close the window:
// nothing of the window is touched after it.
void Run(void (*handler)(SplashForm&), Splash* state) {
  if (!handler) return;
  SplashForm form = state->form;
  handler(form);
}

LRESULT Handle(HWND window, Splash* state, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      auto it = state->built.byId.find(LOWORD(wParam));
      if (it == state->built.byId.end()) break;
      const ControlSpec& spec = *it->second;
      const int code = HIWORD(wParam);
      if ((spec.kind == ControlKind::Button && code == BN_CLICKED) ||
          (spec.kind == ControlKind::Label && code == STN_CLICKED)) {
        Run(splash::FindClickHandler(spec.name), state);
      }
      return 0;
    }
    case WM_LBUTTONDOWN: {
      // The frame lets clicks through to the window; a click inside it (and
      // not on a label, which takes its own) is a click on the frame.
      const POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      state->pressedInFrame = PtInRect(&state->frame, at) != FALSE;
      return 0;
    }
    case WM_LBUTTONUP: {
      const POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      const bool click = state->pressedInFrame && PtInRect(&state->frame, at);
      state->pressedInFrame = false;
      if (click) Run(splash::Frame1_Click, state);
      return 0;
    }
    case WM_CHAR:
      Run(splash::Form_KeyPress, state);
      return 0;
    case WM_CTLCOLORSTATIC:
      return LabelColors(state->built, wParam, lParam);
    case WM_SETCURSOR: {
      // The two links show the hand.
      HWND over = reinterpret_cast<HWND>(wParam);
      if (over == state->built.byName["Label1"] || over == state->built.byName["Label2"]) {
        SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
        return TRUE;
      }
      break;
    }
    case WM_DESTROY:
      if (g_window == window) g_window = nullptr;
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      delete state;
      return DefWindowProcW(window, message, wParam, lParam);
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* state = static_cast<Splash*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    g_stateTaken = true;
  }
  Splash* state = StateOf(window);
  if (!state) return DefWindowProcW(window, message, wParam, lParam);
  // No exception leaves the procedure; an action that threw is abandoned
  // where it was, with nothing said, as in the main window.
  try {
    return Handle(window, state, message, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

}  // namespace

void ShowSplash(HINSTANCE instance, HWND owner, Desktop* desktop, Windows* windows) {
  if (g_window) {
    ShowWindow(g_window, SW_SHOWNORMAL);
    SetForegroundWindow(g_window);
    return;
  }
  if (!RegisterWindowClass(instance, kClassName, Proc, false)) return;
  auto state = std::make_unique<Splash>();
  state->form.desktop = desktop;
  state->form.windows = windows;
  const FormSpec& layout = SplashLayout();
  const SIZE size = WindowSizeFor(layout, ScreenDpi(), kStyle, kExStyle, false);
  // Centred on the main window, or on the screen without one.
  RECT around = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (owner) GetWindowRect(owner, &around);
  const int left = around.left + (around.right - around.left - size.cx) / 2;
  const int top = around.top + (around.bottom - around.top - size.cy) / 2;
  Splash* raw = state.get();
  g_stateTaken = false;
  HWND window = CreateWindowExW(kExStyle, kClassName, ToWide(layout.caption).c_str(), kStyle,
                                left > 0 ? left : 0, top > 0 ? top : 0, size.cx, size.cy, owner,
                                nullptr, instance, raw);
  if (g_stateTaken) state.release();  // the window frees it when it goes
  if (!window) return;
  // An About window that cannot be made whole is not shown.
  bool built = false;
  try {
    built = Build(window, raw);
  } catch (...) {
    // As a control that could not be made.
  }
  if (!built) {
    DestroyWindow(window);
    return;
  }
  g_window = window;
  ShowWindow(window, SW_SHOWNORMAL);
  SetForegroundWindow(window);
  SetFocus(window);
}

void CloseSplash() {
  if (g_window) DestroyWindow(g_window);
}

HWND SplashWindow() {
  return g_window;
}

HWND SplashControl(const char* name) {
  if (!g_window) return nullptr;
  Splash* state = StateOf(g_window);
  if (!state) return nullptr;
  auto it = state->built.byName.find(name);
  return it == state->built.byName.end() ? nullptr : it->second;
}

}  // namespace brv
