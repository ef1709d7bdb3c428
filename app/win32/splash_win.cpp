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

// The maker's name is set at build time: its label grows to show all of it,
// up to the frame's edge, on one line.
void FitMakerName(HWND label, int frameRight) {
  if (!label) return;
  const LONG style = GetWindowLongW(label, GWL_STYLE);
  SetWindowLongW(label, GWL_STYLE, (style & ~SS_TYPEMASK) | SS_LEFTNOWORDWRAP);
  const std::wstring text = ToWide(WindowText(label));
  SIZE extent = {};
  bool measured = false;
  {
    WindowDC dc(label);
    Selected font(dc.Get(), reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    measured = dc.Get() && GetTextExtentPoint32W(dc.Get(), text.c_str(),
                                                 static_cast<int>(text.size()), &extent);
  }
  RECT rect;
  GetWindowRect(label, &rect);
  MapWindowPoints(nullptr, GetParent(label), reinterpret_cast<POINT*>(&rect), 2);
  const int wanted = extent.cx + 2;
  if (!measured || wanted <= rect.right - rect.left) return;
  const int room = frameRight - 4 - rect.left;
  SetWindowPos(label, nullptr, 0, 0, wanted < room ? wanted : room, rect.bottom - rect.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

std::unique_ptr<AboutWindow> AboutWindow::Create(HINSTANCE instance, HWND owner, Desktop* desktop,
                                                 Windows* windows, int dpi) {
  std::unique_ptr<AboutWindow> self(new AboutWindow());
  self->form_.desktop = desktop;
  self->form_.windows = windows;
  self->SetDpi(dpi);
  const FormSpec& layout = SplashLayout();
  const SIZE size = WindowSizeFor(layout, dpi, kStyle, kExStyle, false);
  // Centred on the main window, or on the screen without one.
  RECT around = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (owner) GetWindowRect(owner, &around);
  const int left = around.left + (around.right - around.left - size.cx) / 2;
  const int top = around.top + (around.bottom - around.top - size.cy) / 2;
  if (!self->CreateFrame(
          instance, {kClassName, false, kStyle, kExStyle, ToWide(layout.caption),
                     left > 0 ? left : 0, top > 0 ? top : 0, size.cx, size.cy, owner, nullptr})) {
    return nullptr;
  }
  // An About window that cannot be made whole is not shown: `self` takes
  // the window with it.
  if (!self->Build()) return nullptr;
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
  auto it = built_.byName.find(name);
  return it == built_.byName.end() ? nullptr : it->second;
}

// False when a control could not be made.
bool AboutWindow::Build() {
  const int dpi = Dpi();
  fonts_ = std::make_unique<FontSet>(dpi);
  if (!BuildControls(Handle(), SplashLayout(), dpi, *fonts_, kFirstId, &built_)) return false;
  HWND image = Control("Image1");
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(Handle(), GWLP_HINSTANCE));
  const ControlSpec* imageSpec = FindControl(SplashLayout(), "Image1");
  // Shared: the system frees it with the module.
  HANDLE icon = LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, Twips(imageSpec->width, dpi),
                           Twips(imageSpec->height, dpi), LR_SHARED);
  if (image && icon) SendMessageW(image, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  HWND ok = Control("Command1");
  SetWindowSubclass(ok, ButtonProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  SetFocusTarget(ok);
  const ControlSpec* frame = FindControl(SplashLayout(), "Frame1");
  frame_ = {Twips(frame->left, dpi), Twips(frame->top, dpi), Twips(frame->left + frame->width, dpi),
            Twips(frame->top + frame->height, dpi)};
  FitMakerName(Control("Label2"), frame_.right);
  return true;
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
      auto it = built_.byId.find(LOWORD(wParam));
      if (it == built_.byId.end()) break;
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
      return LabelColors(built_, wParam, lParam);
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
