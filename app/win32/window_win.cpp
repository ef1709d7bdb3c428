#include "app/win32/window_win.h"

#include "base/system_library_win.h"

namespace brv {

namespace {

// Asked of a window's root by the message loop: the answer is nonzero for the
// program's own windows, which then get dialog navigation, and their
// accelerators are written to *(HACCEL*)lParam. A registered message: any
// other window leaves it alone.
UINT KeysMessage() {
  static const UINT message = RegisterWindowMessageW(L"Brovantine.Keys");
  return message;
}

}  // namespace

Window::~Window() {
  DestroyDetached();
}

void Window::DestroyDetached() {
  if (!window_) return;
  HWND window = window_;
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  window_ = nullptr;
  DestroyWindow(window);
}

bool Window::CreateFrame(HINSTANCE instance, const Frame& frame) {
  WNDCLASSEXW existing = {};
  existing.cbSize = sizeof(existing);
  if (!GetClassInfoExW(instance, frame.className, &existing)) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    if (frame.withIcon) {
      windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
      windowClass.hIconSm = static_cast<HICON>(
          LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, 16, 16, LR_SHARED));
    }
    windowClass.lpszClassName = frame.className;
    if (!RegisterClassExW(&windowClass)) return false;
  }
  return CreateWindowExW(frame.exStyle, frame.className, frame.caption.c_str(), frame.style,
                         frame.x, frame.y, frame.width, frame.height, frame.owner, frame.menu,
                         instance, this) != nullptr;
}

LRESULT Window::Default(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT Window::OnAbandoned(UINT) {
  return 0;
}

LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  LRESULT result = 0;
  // No exception leaves the procedure: the system's code that called it
  // cannot pass one on.
  try {
    result = self->Route(message, wParam, lParam);
  } catch (...) {
    result = self->OnAbandoned(message);
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
  }
  return result;
}

// What every window of the program does alike: answer the message loop,
// move the focus as dialog navigation asks, and give the focus back to the
// control that had it when the window is active again (after a message box,
// or another program).
LRESULT Window::Route(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == KeysMessage() && message != 0) {
    *reinterpret_cast<HACCEL*>(lParam) = Accelerators();
    return 1;
  }
  switch (message) {
    case WM_NEXTDLGCTL: {
      HWND target = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                   : GetNextDlgTabItem(window_, GetFocus(), wParam != 0);
      if (target && IsChild(window_, target) && (GetWindowLongW(target, GWL_STYLE) & WS_TABSTOP)) {
        SetFocus(target);
      }
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) RestoreFocus();
      return 0;
    case WM_SETFOCUS:
      RestoreFocus();
      return 0;
    default:
      return OnMessage(message, wParam, lParam);
  }
}

void Window::RestoreFocus() {
  HWND target = focus_;
  if (!target || !IsChild(window_, target) || !IsWindowVisible(target) ||
      !IsWindowEnabled(target)) {
    target = GetNextDlgTabItem(window_, nullptr, FALSE);
  }
  if (target && GetFocus() != target) SetFocus(target);
}

void AddToRegion(HRGN region, const RECT& rect) {
  OwnedRegion part(CreateRectRgnIndirect(&rect));
  if (region && part.Valid()) CombineRgn(region, region, part.Get(), RGN_OR);
}

void AddPending(HWND window, HRGN region) {
  OwnedRegion pending(CreateRectRgn(0, 0, 0, 0));
  if (region && pending.Valid() && GetUpdateRgn(window, pending.Get(), FALSE) > NULLREGION) {
    CombineRgn(region, region, pending.Get(), RGN_OR);
  }
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT rect;
    if (!GetUpdateRect(child, &rect, FALSE)) continue;
    MapWindowPoints(child, window, reinterpret_cast<POINT*>(&rect), 2);
    AddToRegion(region, rect);
  }
}

int WindowDpi(HWND window) {
  // Windows 10 (1607) and later; the system's DPI before.
  using GetDpi = UINT(WINAPI*)(HWND);
  static const auto getDpi = FindFunction<GetDpi>(GetModuleHandleW(L"user32"), "GetDpiForWindow");
  UINT dpi = window && getDpi ? getDpi(window) : 0;
  if (!dpi) {
    WindowDC screen(nullptr);
    dpi = screen.Get() ? static_cast<UINT>(GetDeviceCaps(screen.Get(), LOGPIXELSY)) : 96;
  }
  return dpi > 0 ? static_cast<int>(dpi) : 96;
}

void HandleQueuedMessage(MSG& message) {
  if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST && message.hwnd) {
    HWND root = GetAncestor(message.hwnd, GA_ROOT);
    HACCEL accelerators = nullptr;
    if (root && KeysMessage() &&
        SendMessageW(root, KeysMessage(), 0, reinterpret_cast<LPARAM>(&accelerators))) {
      if (accelerators && TranslateAcceleratorW(root, accelerators, &message)) return;
      if (IsDialogMessageW(root, &message)) return;
    }
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

int RunMessageLoop() {
  MSG message;
  BOOL got;
  while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) HandleQueuedMessage(message);
  return got == 0 ? static_cast<int>(message.wParam) : 1;
}

}  // namespace brv
