#include "app/win32/splash_win.h"

#include <commctrl.h>

#include "app/win32/controls_win.h"

namespace brv {

namespace {

const wchar_t kClassName[] = L"BrovantineSplash";
const DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
const DWORD kExStyle = WS_EX_DLGMODALFRAME;
constexpr int kFirstId = 2000;
constexpr UINT_PTR kSubclassId = 1;

}  // namespace

std::unique_ptr<AboutWindow> AboutWindow::Create(HINSTANCE instance, HWND owner, Desktop* desktop,
                                                 Windows* windows, int dpi) {
  std::unique_ptr<AboutWindow> self(new AboutWindow());
  self->form_.desktop = desktop;
  self->form_.windows = windows;
  self->SetDpi(dpi);
  const FormSpec& layout = SplashLayout();
  // Made hidden, and sized and placed once it is built.
  if (!self->CreateFrame(instance, {kClassName, false, kStyle, kExStyle, ToWide(layout.caption), 0,
                                    0, 0, 0, owner, nullptr})) {
    return nullptr;
  }
  // An About window that cannot be made whole is not shown: `self` takes
  // the window with it.
  if (!self->Build()) return nullptr;
  const SIZE size = self->Size();
  // Centred on the main window, or on the screen without one.
  RECT around = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (owner) GetWindowRect(owner, &around);
  const int left = around.left + (around.right - around.left - size.cx) / 2;
  const int top = around.top + (around.bottom - around.top - size.cy) / 2;
  SetWindowPos(self->Handle(), nullptr, left > 0 ? left : 0, top > 0 ? top : 0, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(self->Handle(), SW_SHOWNORMAL);
  self->BringToFront();
  return self;
}

AboutWindow::~AboutWindow() {
  DestroyDetached();
}

void AboutWindow::BringToFront() {
  ShowWindow(Handle(), SW_SHOWNORMAL);
  SetForegroundWindow(Handle());
  SetFocus(Control("Command1"));
}

HWND AboutWindow::Control(const char* name) const {
  return layout_.Control(name);
}

SIZE AboutWindow::Size() const {
  return WindowSizeFor(layout_.arranged.width, layout_.arranged.height, Dpi(), kStyle, kExStyle,
                       false);
}

// False when a control could not be made.
bool AboutWindow::Build() {
  if (!layout_.Build(Handle(), SplashLayout(), Dpi(), kFirstId)) return false;
  HWND ok = Control("Command1");
  SetWindowSubclass(ok, ButtonProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  SetFocusTarget(ok);
  Placed();
  return true;
}

// What follows the controls' places: the icon at their size, and where a
// click counts as one on the frame.
void AboutWindow::Placed() {
  const RECT image = layout_.BoxOf(SplashLayout(), "Image1");
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(Handle(), GWLP_HINSTANCE));
  // Shared: the system frees it with the module.
  HANDLE icon = LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, image.right - image.left,
                           image.bottom - image.top, LR_SHARED);
  if (icon) SendMessageW(Control("Image1"), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  frame_ = layout_.BoxOf(SplashLayout(), "Frame1");
}

// Typing while the OK button has the focus still counts as a key typed in
// the window: the button hands its characters to the window.
LRESULT CALLBACK AboutWindow::ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<AboutWindow*>(data);
  if (message == WM_NCDESTROY) RemoveWindowSubclass(button, ButtonProc, kSubclassId);
  if (message == WM_CHAR && self->Handle()) {
    return SendMessageW(self->Handle(), WM_CHAR, wParam, lParam);
  }
  return DefSubclassProc(button, message, wParam, lParam);
}

// Runs a handler of the About window. The handler may close the window: its
// object stays, and nothing of the window is touched after it.
void AboutWindow::Run(void (*handler)(SplashForm&)) {
  if (!handler) return;
  SplashForm form = form_;
  handler(form);
}

LRESULT AboutWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      // Enter and Escape, from the dialog navigation, are keys typed too.
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        Run(splash::Form_KeyPress);
        return 0;
      }
      auto it = layout_.built.byId.find(LOWORD(wParam));
      if (it == layout_.built.byId.end()) break;
      const ControlSpec& spec = *it->second;
      const int code = HIWORD(wParam);
      if ((spec.kind == ControlKind::Button && code == BN_CLICKED) ||
          (spec.kind == ControlKind::Label && code == STN_CLICKED)) {
        Run(splash::FindClickHandler(spec.name));
      }
      return 0;
    }
    case WM_LBUTTONDOWN: {
      // The frame lets clicks through to the window; a click inside it (and
      // not on a label, which takes its own) is a click on the frame.
      const POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      pressedInFrame_ = PtInRect(&frame_, at) != FALSE;
      return 0;
    }
    case WM_LBUTTONUP: {
      const POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      const bool click = pressedInFrame_ && PtInRect(&frame_, at);
      pressedInFrame_ = false;
      if (click) Run(splash::Frame1_Click);
      return 0;
    }
    case WM_CHAR:
      Run(splash::Form_KeyPress);
      return 0;
    case WM_CTLCOLORSTATIC:
      return LabelColors(layout_.built, wParam, lParam);
    case kDpiChangedMessage: {
      // Laid out again at the new DPI, where the system puts it.
      SetDpi(HIWORD(wParam));
      layout_.Relayout(SplashLayout(), Dpi());
      Placed();
      const SIZE size = Size();
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(Handle(), nullptr, suggested ? suggested->left : 0,
                   suggested ? suggested->top : 0, size.cx, size.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE | (suggested ? 0 : SWP_NOMOVE));
      RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
      return 0;
    }
    case WM_SETCURSOR: {
      // The two links show the hand.
      HWND over = reinterpret_cast<HWND>(wParam);
      if (over && (over == Control("Label1") || over == Control("Label2"))) {
        SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
        return TRUE;
      }
      break;
    }
    default:
      break;
  }
  return Default(message, wParam, lParam);
}

}  // namespace brv
