#include "app/win32/form1_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "app/entry_menu.h"
#include "app/win32/accessible_win.h"
#include "report/save.h"

namespace brv {

namespace {

const wchar_t kClassName[] = L"BrovantineForm1";
// Not WS_CLIPCHILDREN: the window paints the inside of its frames, which
// frames do not paint themselves.
const DWORD kStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr UINT_PTR kSubclassId = 1;

}  // namespace

std::unique_ptr<MainWindow> MainWindow::Create(HINSTANCE instance, Registry* registry,
                                               Desktop* desktop, int showCommand, bool endProgram) {
  std::unique_ptr<MainWindow> self(new MainWindow());
  self->instance_ = instance;
  self->endProgram_ = endProgram;
  self->showCommand_ = showCommand;
  self->form_.registry = registry;
  self->form_.desktop = desktop;
  self->form_.windows = self.get();
  const FormSpec& layout = Form1Layout();
  OwnedMenu menu(BuildMenu(layout, kFirstMenuId));
  // Made hidden, and sized once its DPI (its monitor's) is known.
  if (!self->CreateFrame(instance, {kClassName, true, kStyle, 0, ToWide(layout.caption),
                                    CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, menu.Get()})) {
    return nullptr;
  }
  menu.Release();  // the window's now
  HWND window = self->Handle();
  self->SetDpi(WindowDpi(window));
  // A window that cannot be made whole is not shown at all: `self` destroys
  // it, and all it holds, on the way out.
  if (!self->layout_.Build(window, layout, self->Dpi(), kFirstControlId)) return nullptr;
  // The status bar lies below the area of the layout table: the window
  // grows by its height.
  HWND bar = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window,
                             nullptr, instance, nullptr);
  if (!bar) return nullptr;
  self->statusBar_ = std::make_unique<Win32StatusBar>(bar);
  self->tips_ = std::make_unique<ToolTips>(window);
  self->SetBarFonts();
  self->FitClient(nullptr, {});
  ACCEL keys[] = {{FVIRTKEY, VK_F5, kRefreshKeyId}, {FVIRTKEY | FCONTROL, 'S', kReportKeyId}};
  self->accelerators_.Reset(CreateAcceleratorTableW(keys, 2));
  self->runner_ = Win32Runner::Create(instance);
  self->reportRunner_ = Win32Runner::Create(instance);
  if (!self->runner_ || !self->reportRunner_) return nullptr;
  self->Bind();
  // The load shows the start-up note, then the window (ShowMain).
  PostMessageW(window, kLoadMessage, 0, 0);
  return self;
}

MainWindow::~MainWindow() {
  // The About window goes with its owner, before what it reports to.
  if (about_) about_.reset();
  DestroyDetached();
}

void MainWindow::FitClient(const RECT* suggested, Area area) {
  SendMessageW(statusBar_->Handle(), WM_SIZE, 0, 0);
  const int width = std::max(area.width, layout_.table.width);
  const int height = std::max(area.height, layout_.table.height) + BarHeight();
  SIZE size = WindowSizeFor(width, height, Dpi(), kStyle, 0, true);
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  POINT at = {0, 0};
  if (suggested) {
    // Where the system puts it; a maximised window as large as it says.
    at = {suggested->left, suggested->top};
    if (IsZoomed(Handle())) {
      size = {suggested->right - suggested->left, suggested->bottom - suggested->top};
    }
  } else {
    flags |= SWP_NOMOVE;
  }
  SetWindowPos(Handle(), nullptr, at.x, at.y, size.cx, size.cy, flags);
  // The frame may take other room than the system said (a menu bar wrapped
  // onto two lines on a narrow screen; Wine's frame at another DPI): the
  // client area made what it is to be.
  RECT client;
  GetClientRect(Handle(), &client);
  if ((client.right != width || client.bottom != height) && !IsZoomed(Handle())) {
    SetWindowPos(Handle(), nullptr, 0, 0, size.cx + width - client.right,
                 size.cy + height - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // Laid out here too where the size did not change.
  OnSize();
}

void MainWindow::OnSize() {
  if (!statusBar_ || IsIconic(Handle())) return;
  SendMessageW(statusBar_->Handle(), WM_SIZE, 0, 0);
  const Area area = TableArea();
  // A shown window is laid out with its drawing held (each list and box
  // would draw its scroll bars as it goes), which drops what waits to be
  // painted: that, and what the controls left and took, painted after. All
  // of it where the system cannot say.
  const bool shown = IsWindowVisible(Handle()) != FALSE;
  OwnedRegion changed(CreateRectRgn(0, 0, 0, 0));
  if (shown) {
    AddPending(Handle(), changed.Get());
    SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
  }
  if (layout_.Resize(Form1Layout(), area.width, area.height, changed.Get())) {
    for (auto& list : lists_) list.second->SetExtent();
  }
  if (shown) {
    SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
    RedrawWindow(Handle(), nullptr, changed.Get(), RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
}

int MainWindow::BarHeight() const {
  RECT bar;
  GetWindowRect(statusBar_->Handle(), &bar);
  return bar.bottom - bar.top;
}

Area MainWindow::TableArea() const {
  RECT client;
  GetClientRect(Handle(), &client);
  return {client.right, client.bottom - BarHeight()};
}

// The window on a monitor of another DPI: laid out again from the tables,
// fonts, extents and tooltips with it, as much larger than the table as it
// was, in the new DPI's pixels.
void MainWindow::OnDpiChanged(int dpi, const RECT* suggested) {
  const Area was = TableArea();
  const Arrangement from = layout_.table;
  const int fromDpi = Dpi();
  SetDpi(dpi);
  layout_.Relayout(Form1Layout(), dpi);
  for (auto& list : lists_) list.second->Remeasure();
  SetBarFonts();
  FitClient(suggested, AreaAfterDpiChange(from, fromDpi, layout_.table, dpi, was));
  RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

// The status bar and the lists' tips in the dialog font of the window's DPI.
void MainWindow::SetBarFonts() {
  HFONT font = layout_.fonts->Get(FontKind::Default);
  SendMessageW(statusBar_->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  tips_->SetFont(font);
}

void MainWindow::ShowMain() {
  // A keyboard user starts in the first list, and sees where the focus is.
  SetFocusTarget(Control("List1"));
  SendMessageW(Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  ShowWindow(Handle(), showCommand_);
  UpdateWindow(Handle());
}

void MainWindow::Bind() {
  for (const auto& entry : layout_.built.byName) {
    const ControlSpec& spec = *FindControl(Form1Layout(), entry.first.c_str());
    HWND control = entry.second;
    if (spec.kind == ControlKind::ListBox) {
      tips_->Add(control, (spec.flags & kHint) ? kIdentifierHint : "");
      auto list = std::make_unique<Win32ListBox>(control, tips_.get());
      // Items are added straight through the list box's own procedure, which
      // halves the cost of each add.
      list->SetOwnProcedure(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_WNDPROC)));
      lists_[entry.first] = std::move(list);
    } else if (spec.kind == ControlKind::TextBox) {
      texts_[entry.first] = std::make_unique<Win32TextBox>(control);
    } else if (spec.kind == ControlKind::Button) {
      buttons_[entry.first] = std::make_unique<Win32Button>(control);
    }
    // Every control that takes the focus reports it; the lists also take
    // their keys and mouse.
    if (spec.kind == ControlKind::ListBox || spec.kind == ControlKind::TextBox ||
        spec.kind == ControlKind::Button) {
      SetWindowSubclass(control, ControlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
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
  f.files = &files_;
  f.runner = runner_.get();
  f.reportRunner = reportRunner_.get();
}

HWND MainWindow::Control(const std::string& name) const {
  return layout_.Control(name);
}

int MainWindow::MenuId(const std::string& name) const {
  const auto& menus = Form1Layout().menus;
  for (size_t index = 0; index < menus.size(); ++index) {
    if (name == menus[index].name) return kFirstMenuId + static_cast<int>(index);
  }
  return -1;
}

AboutWindow* MainWindow::About() const {
  return about_ && about_->Handle() ? about_.get() : nullptr;
}

void MainWindow::ShowAbout() {
  if (About()) {
    about_->BringToFront();
    return;
  }
  about_ = AboutWindow::Create(instance_, Handle(), form_.desktop, this, Dpi());
}

void MainWindow::CloseAbout() {
  // The object stays (its own handler may be running); only the window goes.
  if (About()) DestroyWindow(about_->Handle());
}

void MainWindow::CloseMain() {
  DestroyWindow(Handle());
}

void MainWindow::Dispatch(const char* control, Event event) {
  if (auto handler = FindHandler(control, event)) handler(form_);
}

// A button's click. A delete, disable or enable leaves the focus in the list
// it acted on, where the user goes on.
void MainWindow::Click(const char* button) {
  const char* list = ListActedOn(form_, button);
  Dispatch(button, Event::Click);
  const ListBox* acted = list ? FindList(form_, list) : nullptr;
  // A refill ended the selection: the command went ahead.
  if (!acted || acted->ListIndex() >= 0 || !Handle()) return;
  SetFocusTarget(Control(list));
  if (GetActiveWindow() == Handle()) SetFocus(Control(list));
}

const char* MainWindow::FocusedControl() const {
  auto it = layout_.built.byId.find(GetDlgCtrlID(GetFocus()));
  return it != layout_.built.byId.end() && IsChild(Handle(), GetFocus()) ? it->second->name
                                                                         : nullptr;
}

// An action that threw (memory ran out part way) stops where it was, with
// nothing said: what it changed stays changed, the lists show what they
// showed, and Refresh shows the registry as it is. A load that threw still
// shows the window, so that it can be refreshed or closed.
LRESULT MainWindow::OnAbandoned(UINT message) {
  if (message == kLoadMessage && Handle() && !IsWindowVisible(Handle())) ShowMain();
  return 0;
}

LRESULT CALLBACK MainWindow::ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<MainWindow*>(data);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(control, ControlProc, kSubclassId);
  } else if (message == WM_SETFOCUS) {
    self->SetFocusTarget(control);
  } else if (message == WM_GETOBJECT) {
    // A screen reader asks what the control is called.
    try {
      auto it = self->layout_.built.byId.find(GetDlgCtrlID(control));
      const std::string name =
          it == self->layout_.built.byId.end() ? std::string() : AccessibleName(it->second->name);
      if (!name.empty()) {
        if (LRESULT object = NamedClientObject(control, wParam, lParam, name)) return object;
      }
    } catch (...) {
      // Unnamed, then: the control answers for itself.
    }
  } else {
    try {
      if (self->OnListMessage(control, message, wParam, lParam)) return 0;
    } catch (...) {
      // Abandoned as in the window procedure; the control still gets its
      // message.
    }
  }
  return DefSubclassProc(control, message, wParam, lParam);
}

// The lists' mouse and keys. True when the message is used up.
bool MainWindow::OnListMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  auto it = layout_.built.byId.find(GetDlgCtrlID(list));
  if (it == layout_.built.byId.end() || it->second->kind != ControlKind::ListBox) return false;
  const char* name = it->second->name;
  if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
    tips_->Relay(list, message, wParam, lParam);
    if (message == WM_MOUSEMOVE) Dispatch(name, Event::MouseMove);
    return false;
  }
  if (message == WM_CONTEXTMENU) return OnListMenu(list, name, lParam);
  // The Menu key comes as the message above. Shift+F10 opens the menu when it
  // goes down; its release is used up too, so that F10 does not go on to the
  // menu bar.
  const bool menuKey = wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0;
  if (menuKey && message == WM_SYSKEYUP) return true;
  if (menuKey && message == WM_SYSKEYDOWN) return OnListMenu(list, name, MAKELPARAM(-1, -1));
  const bool control = GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0;
  if (message == WM_CHAR && wParam == 3) return true;  // Ctrl+C: no search for it
  if (message != WM_KEYDOWN) return false;
  // A key that reaches the list while a message box is up (the window is
  // disabled then) is not the user's: nothing runs twice.
  if (!IsWindowEnabled(Handle())) return true;
  if (wParam == VK_DELETE) return PressKey(form_, name, Key::Delete);
  if (wParam == 'C' && control) return PressKey(form_, name, Key::Copy);
  return false;
}

// A list's context menu: a right-click on an entry selects it as a click
// does and opens the menu there; Shift+F10 and the Menu key (at (-1, -1))
// open it below the selected entry. True when the message is used up.
bool MainWindow::OnListMenu(HWND list, const char* name, LPARAM at) {
  POINT point = {GET_X_LPARAM(at), GET_Y_LPARAM(at)};
  const bool fromKeys = point.x == -1 && point.y == -1;
  RECT client;
  GetClientRect(list, &client);
  POINT inList = point;
  ScreenToClient(list, &inList);
  // Over the scroll bar the list's own menu opens.
  if (!fromKeys && !PtInRect(&client, inList)) return false;
  // With a box up (the window disabled then) nothing opens.
  if (!IsWindowEnabled(Handle())) return true;
  int index = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
  if (!fromKeys) {
    const LRESULT hit = SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(inList.x, inList.y));
    if (HIWORD(hit) != 0) return true;  // below the last entry, or none
    index = LOWORD(hit);
    SetFocus(list);
    SendMessageW(list, LB_SETCURSEL, index, 0);
    Dispatch(name, Event::Click);
  } else {
    RECT item;
    if (index < 0 ||
        SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)) == LB_ERR) {
      return true;
    }
    point = {item.left, std::max(client.top, std::min(item.bottom, client.bottom))};
    ClientToScreen(list, &point);
  }
  const EntryMenu menu = OpenEntryMenu(form_, name);
  OwnedMenu popup(CreatePopupMenu());
  if (menu.list.empty() || !popup.Get()) return true;
  for (size_t i = 0; i < menu.items.size(); ++i) {
    const UINT state = menu.items[i].enabled ? MF_ENABLED : MF_GRAYED;
    AppendMenuW(popup.Get(), MF_STRING | state, i + 1, ToWide(menu.items[i].caption).c_str());
  }
  const int chosen = TrackPopupMenuEx(popup.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x,
                                      point.y, Handle(), nullptr);
  if (chosen >= 1 && static_cast<size_t>(chosen) <= menu.items.size()) {
    ChooseEntryAction(form_, menu, menu.items[static_cast<size_t>(chosen) - 1].action);
  }
  return true;
}

void MainWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  const int code = HIWORD(wParam);
  if (lParam == 0) {
    if (code == 1 && (id == kRefreshKeyId || id == kReportKeyId)) {
      PressKey(form_, FocusedControl(), id == kRefreshKeyId ? Key::Refresh : Key::Report);
      return;
    }
    // Esc, from the dialog navigation, cancels a report being written.
    if (id == IDCANCEL) {
      CancelReport(form_);
      return;
    }
    // Enter, from the dialog navigation, presses the focused button.
    const char* focused = FocusedControl();
    if (id == IDOK && focused && FindButton(form_, focused)) {
      if (IsWindowEnabled(GetFocus())) Click(focused);
      return;
    }
    const auto& menus = Form1Layout().menus;
    const int index = id - kFirstMenuId;
    if (code == 0 && index >= 0 && index < static_cast<int>(menus.size())) {
      Dispatch(menus[static_cast<size_t>(index)].name, Event::Click);
    }
    return;
  }
  auto it = layout_.built.byId.find(id);
  if (it == layout_.built.byId.end()) return;
  const ControlSpec& spec = *it->second;
  if (spec.kind == ControlKind::ListBox && code == LBN_SELCHANGE) {
    Dispatch(spec.name, Event::Click);
  } else if (spec.kind == ControlKind::ListBox && code == LBN_DBLCLK) {
    Dispatch(spec.name, Event::DblClick);
  } else if (spec.kind == ControlKind::Button && code == BN_CLICKED) {
    Click(spec.name);
  }
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kLoadMessage:
      Form_Load(form_);
      return 0;
    case WM_COMMAND:
      OnCommand(wParam, lParam);
      return 0;
    case WM_CTLCOLORSTATIC:
      return LabelColors(layout_.built, wParam, lParam);
    case kDpiChangedMessage:
      OnDpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case kGetDpiScaledSizeMessage: {
      // The size the window takes at the new DPI, asked before the change:
      // the system then suggests it.
      const int dpi = static_cast<int>(wParam);
      FontSet fonts(dpi);
      const Arrangement to = ArrangeTable(Form1Layout(), dpi, fonts);
      const Area area = AreaAfterDpiChange(layout_.table, Dpi(), to, dpi, TableArea());
      *reinterpret_cast<SIZE*>(lParam) = WindowSizeFor(
          area.width, area.height + MulDiv(BarHeight(), dpi, Dpi()), dpi, kStyle, 0, true);
      return TRUE;
    }
    case WM_SIZE:
      OnSize();
      return 0;
    case WM_GETMINMAXINFO:
      // No smaller than the table and the status bar, with the frame as
      // the window has it.
      if (statusBar_ && !IsIconic(Handle()) && !IsZoomed(Handle())) {
        RECT outer, client;
        GetWindowRect(Handle(), &outer);
        GetClientRect(Handle(), &client);
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {
            layout_.table.width + (outer.right - outer.left) - client.right,
            layout_.table.height + BarHeight() + (outer.bottom - outer.top) - client.bottom};
      }
      return 0;
    case WM_DESTROY:
      CloseAbout();
      if (endProgram_) PostQuitMessage(0);
      return 0;
    default:
      return Default(message, wParam, lParam);
  }
}

}  // namespace brv
