#include "app/win32/form1_win.h"

#include <commctrl.h>

#include <cstring>

#include "app/win32/splash_win.h"

namespace brv {

namespace {

const wchar_t kClassName[] = L"BrovantineForm1";
// Not WS_CLIPCHILDREN: the window paints the inside of its frames, which
// frames do not paint themselves.
const DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

}  // namespace

std::unique_ptr<MainWindow> MainWindow::Create(HINSTANCE instance, Registry* registry,
                                               Desktop* desktop, int showCommand, bool endProgram) {
  if (!RegisterWindowClass(instance, kClassName, Proc, true)) return nullptr;
  std::unique_ptr<MainWindow> self(new MainWindow());
  self->instance_ = instance;
  self->endProgram_ = endProgram;
  self->form_.registry = registry;
  self->form_.desktop = desktop;
  self->form_.windows = self.get();
  const FormSpec& layout = Form1Layout();
  const int dpi = ScreenDpi();
  self->fonts_ = std::make_unique<FontSet>(dpi);
  HMENU menu = BuildMenu(layout, kFirstMenuId);
  const SIZE size = WindowSizeFor(layout, dpi, kStyle, 0, true);
  HWND window =
      CreateWindowExW(0, kClassName, ToWide(layout.caption).c_str(), kStyle, CW_USEDEFAULT,
                      CW_USEDEFAULT, size.cx, size.cy, nullptr, menu, instance, self.get());
  if (!window) {
    if (menu) DestroyMenu(menu);
    return nullptr;
  }
  // The menu bar may wrap onto two lines on a narrow screen: size again.
  RECT client;
  GetClientRect(window, &client);
  const int missing = Twips(layout.clientHeight, dpi) - (client.bottom - client.top);
  if (missing > 0) {
    SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy + missing,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  self->showCommand_ = showCommand;
  // A window that cannot be made whole is not shown at all: `self` destroys
  // it, and all it holds, on the way out.
  if (!BuildControls(window, layout, dpi, *self->fonts_, kFirstControlId, &self->built_)) {
    return nullptr;
  }
  // The status bar lies below the area of the layout table: the window
  // grows by its height.
  HWND bar = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window,
                             nullptr, instance, nullptr);
  if (!bar) return nullptr;
  SendMessageW(bar, WM_SETFONT, reinterpret_cast<WPARAM>(self->fonts_->Get(FontKind::Default)),
               FALSE);
  RECT barRect;
  GetWindowRect(bar, &barRect);
  RECT outer;
  GetWindowRect(window, &outer);
  SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left,
               outer.bottom - outer.top + (barRect.bottom - barRect.top),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(bar, WM_SIZE, 0, 0);
  self->statusBar_ = std::make_unique<Win32StatusBar>(bar);
  self->Bind();
  // The load shows the start-up note, then the window (ShowMain).
  PostMessageW(window, kLoadMessage, 0, 0);
  return self;
}

MainWindow::~MainWindow() {
  if (window_) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

void MainWindow::ShowMain() {
  ShowWindow(window_, showCommand_);
  UpdateWindow(window_);
}

void MainWindow::Bind() {
  for (const auto& entry : built_.byName) {
    const ControlSpec& spec = *FindControl(Form1Layout(), entry.first.c_str());
    HWND control = entry.second;
    if (spec.kind == ControlKind::ListBox) {
      auto list = std::make_unique<Win32ListBox>(control, built_.toolTip);
      // Subclassed through its window procedure, the old one kept in its
      // user data (the list box does not use it).
      const LONG_PTR own = GetWindowLongPtrW(control, GWLP_WNDPROC);
      SetWindowLongPtrW(control, GWLP_USERDATA, own);
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListProc));
      list->SetOwnProcedure(reinterpret_cast<WNDPROC>(own));
      lists_[entry.first] = std::move(list);
    } else if (spec.kind == ControlKind::TextBox) {
      texts_[entry.first] = std::make_unique<Win32TextBox>(control);
    } else if (spec.kind == ControlKind::Button) {
      buttons_[entry.first] = std::make_unique<Win32Button>(control);
    }
  }
  auto list = [this](const char* name) { return lists_.at(name).get(); };
  auto text = [this](const char* name) { return texts_.at(name).get(); };
  auto button = [this](const char* name) { return buttons_.at(name).get(); };
  Form1& f = form_;
  f.List1 = list("List1"), f.List2 = list("List2"), f.List3 = list("List3");
  f.List4 = list("List4"), f.List5 = list("List5"), f.List6 = list("List6");
  f.List7 = list("List7");
  f.Text1 = text("Text1"), f.Text2 = text("Text2"), f.Text3 = text("Text3");
  f.Text4 = text("Text4"), f.Text5 = text("Text5"), f.Text6 = text("Text6");
  f.Text7 = text("Text7"), f.Text8 = text("Text8"), f.Text9 = text("Text9");
  f.Command1 = button("Command1"), f.Command2 = button("Command2");
  f.Command3 = button("Command3"), f.Command4 = button("Command4");
  f.Command5 = button("Command5"), f.Command6 = button("Command6");
  f.Command7 = button("Command7"), f.Command8 = button("Command8");
  f.Command9 = button("Command9"), f.Command10 = button("Command10");
  f.Command11 = button("Command11");
  f.StatusBar1 = statusBar_.get();
}

HWND MainWindow::Control(const std::string& name) const {
  auto it = built_.byName.find(name);
  return it == built_.byName.end() ? nullptr : it->second;
}

int MainWindow::MenuId(const std::string& name) const {
  const auto& menus = Form1Layout().menus;
  for (size_t index = 0; index < menus.size(); ++index) {
    if (name == menus[index].name) return kFirstMenuId + static_cast<int>(index);
  }
  return -1;
}

void MainWindow::ShowAbout() {
  ShowSplash(instance_, window_, form_.desktop, this);
}
void MainWindow::CloseAbout() {
  CloseSplash();
}
void MainWindow::CloseMain() {
  DestroyWindow(window_);
}

void MainWindow::Dispatch(const char* control, Event event) {
  if (auto handler = FindHandler(control, event)) handler(form_);
}

LRESULT CALLBACK MainWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  // No exception leaves the procedure: the system's code that called it
  // cannot pass one on.
  try {
    return self->Handle(message, wParam, lParam);
  } catch (...) {
    return self->Abandon(message);
  }
}

// An action that threw (memory ran out part way) stops where it was, with
// nothing said: what it changed stays changed, the lists show what they
// showed, and Refresh shows the registry as it is. A load that threw still
// shows the window, so that it can be refreshed or closed.
LRESULT MainWindow::Abandon(UINT message) {
  if (message == kLoadMessage && window_ && !IsWindowVisible(window_)) ShowMain();
  return 0;
}

LRESULT CALLBACK MainWindow::ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(list, GWLP_USERDATA));
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(GetParent(list), GWLP_USERDATA));
  if (self && message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
    try {
      RelayToToolTip(self->built_.toolTip, list, message, wParam, lParam);
      if (message == WM_MOUSEMOVE) {
        auto it = self->built_.byId.find(GetDlgCtrlID(list));
        if (it != self->built_.byId.end()) self->Dispatch(it->second->name, Event::MouseMove);
      }
    } catch (...) {
      // Abandoned as in Proc: the hint stays as it was; the box still gets
      // its message.
    }
  }
  return CallWindowProcW(previous, list, message, wParam, lParam);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kLoadMessage:
      Form_Load(form_);
      return 0;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      if (lParam == 0) {
        const auto& menus = Form1Layout().menus;
        const int index = id - kFirstMenuId;
        if (code == 0 && index >= 0 && index < static_cast<int>(menus.size())) {
          Dispatch(menus[static_cast<size_t>(index)].name, Event::Click);
        }
        return 0;
      }
      auto it = built_.byId.find(id);
      if (it == built_.byId.end()) break;
      const ControlSpec& spec = *it->second;
      if (spec.kind == ControlKind::ListBox && code == LBN_SELCHANGE) {
        Dispatch(spec.name, Event::Click);
      } else if (spec.kind == ControlKind::ListBox && code == LBN_DBLCLK) {
        Dispatch(spec.name, Event::DblClick);
      } else if (spec.kind == ControlKind::Button && code == BN_CLICKED) {
        Dispatch(spec.name, Event::Click);
      }
      return 0;
    }
    case WM_CTLCOLORSTATIC:
      return LabelColors(built_, wParam, lParam);
    case WM_DESTROY:
      CloseSplash();
      if (endProgram_) PostQuitMessage(0);
      window_ = nullptr;
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace brv
