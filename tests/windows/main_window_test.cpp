// The real main window, driven as a user drives it, on a scratch registry.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>
#include <shlwapi.h>

#include <algorithm>
#include <fstream>
#include <cwchar>
#include <new>

#include "app/arrange.h"
#include "app/layout.h"
#include "app/win32/controls_win.h"
#include "app/win32/splash_win.h"
#include "base/system_library_win.h"
#include "harness_win.h"
#include "support/forwarding_registry.h"
#include "support/registry_fixture.h"

namespace brv {
namespace {

class MainWindowTest : public ::testing::Test, public WindowTest {};

TEST_F(MainWindowTest, StartUpNoteComesFirstThenTheListsFill) {
  SetString(registry, kCurrentUser, Button(kA), "ButtonText", "Alpha");
  CreateKey(registry, kLocalMachine, Button(kB));
  CreateKey(registry, kLocalMachine, Button("not-a-class"));
  struct Seen {
    MainWindowTest* test;
    bool windowVisible = true;
    LRESULT listCount = -1;
  } seen{this};
  boxes.context = &seen;
  boxes.onShow = [](void* context) {
    auto* s = static_cast<Seen*>(context);
    if (s->test->window) {
      s->windowVisible = IsWindowVisible(s->test->window->Handle()) != FALSE;
      HWND list = s->test->Control("List1");
      s->listCount = list ? SendMessageW(list, LB_GETCOUNT, 0, 0) : 0;
    }
  };
  Open();
  ASSERT_EQ(1u, boxes.seen.size());
  EXPECT_FALSE(seen.windowVisible);
  EXPECT_EQ(0, seen.listCount);
  EXPECT_TRUE(IsWindowVisible(window->Handle()));
  EXPECT_EQ("IMPORTANT NOTE", boxes.seen[0].title);
  EXPECT_TRUE(boxes.seen[0].hasOk);
  EXPECT_FALSE(boxes.seen[0].hasCancel);
  EXPECT_FALSE(boxes.seen[0].hasIcon);
  EXPECT_EQ(0u, boxes.seen[0].text.find("Brovantine does not backup the registry"));
  EXPECT_EQ(std::vector<std::string>{kA}, ListItems(Control("List1")));
  EXPECT_EQ(std::vector<std::string>{kB}, ListItems(Control("List2")));
}

TEST_F(MainWindowTest, LayoutControlsMenusAndStartState) {
  Open();
  HWND main = window->Handle();
  wchar_t caption[64];
  GetWindowTextW(main, caption, 64);
  EXPECT_STREQ(L"Brovantine", caption);
  const FormSpec& layout = Form1Layout();
  const std::vector<HWND> controls = ExpectLaidOut(
      main, layout, window->Dpi(), [this](const char* name) { return Control(name); });
  for (size_t i = 0; i < layout.controls.size(); ++i) {
    const ControlSpec& spec = layout.controls[i];
    HWND control = controls[i];
    if (!control || spec.kind == ControlKind::Line) continue;
    EXPECT_EQ(!(spec.flags & kHidden), IsWindowVisible(control) != FALSE) << spec.name;
    EXPECT_EQ(!(spec.flags & kDisabled), IsWindowEnabled(control) != FALSE) << spec.name;
    if (spec.kind != ControlKind::ListBox) {
      EXPECT_EQ(spec.caption, Text(spec.name)) << spec.name;
    }
    if (spec.kind == ControlKind::TextBox) {
      EXPECT_TRUE(GetWindowLongW(control, GWL_STYLE) & ES_READONLY) << spec.name;
    }
  }
  HMENU bar = GetMenu(main);
  ASSERT_TRUE(bar);
  ASSERT_EQ(4, GetMenuItemCount(bar));
  const wchar_t* top[] = {L"&About", L"&Refresh", L"&Options", L"Exit"};
  for (int i = 0; i < 4; ++i) {
    wchar_t text[128];
    GetMenuStringW(bar, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
    EXPECT_STREQ(top[i], text);
  }
  HMENU options = GetSubMenu(bar, 2);
  ASSERT_EQ(5, GetMenuItemCount(options));
  wchar_t text[128];
  GetMenuStringW(options, 1, text, 128, MF_BYPOSITION);
  EXPECT_STREQ(L"&Increase Security level for Internet Zone (Internet Explorer)", text);
  EXPECT_EQ(MFT_SEPARATOR, GetMenuState(options, 3, MF_BYPOSITION) & MFT_SEPARATOR);
  GetMenuStringW(options, 4, text, 128, MF_BYPOSITION);
  EXPECT_STREQ(L"Save a report...\tCtrl+S", text);
}

// Every list, text box and button of the main window in reading order: the
// four panels, then About, Help and the extended-edition button.
const char* const kTabStops[] = {
    "List1",    "List2",    "Text1",    "Text2",    "Text9",     "Command1", "List3",
    "List4",    "Text3",    "Text4",    "Command4", "List5",     "Text7",    "Command10",
    "List6",    "List7",    "Text5",    "Text6",    "Command2",  "Command3", "Command5",
    "Command9", "Command6", "Command7", "Command8", "Command11",
};

class KeyboardTest : public MainWindowTest {
 protected:
  // The table name of the control with the focus, or what else has it.
  std::string Focused() const {
    for (const ControlSpec& spec : Form1Layout().controls) {
      if (Control(spec.name) == GetFocus()) return spec.name;
    }
    return GetFocus() == window->Handle() ? "(window)" : "(elsewhere)";
  }
  // Tab (or Shift+Tab) pressed once for each enabled stop: the stops met.
  std::vector<std::string> TabRound(bool back) {
    std::vector<std::string> met;
    for (const char* stop : kTabStops) {
      if (!Enabled(stop)) continue;
      back ? PressKeys({VK_SHIFT, VK_TAB}) : PressKeys({VK_TAB});
      met.push_back(Focused());
    }
    return met;
  }
  std::vector<std::string> EnabledStops(bool back) {
    std::vector<std::string> stops;
    for (const char* stop : kTabStops) {
      if (Enabled(stop)) stops.push_back(stop);
    }
    // From the first list, Tab reaches the second stop and the round ends
    // where it began; Shift+Tab goes the other way round.
    if (back) {
      std::reverse(stops.begin(), stops.end());
    } else {
      std::rotate(stops.begin(), stops.begin() + 1, stops.end());
    }
    return stops;
  }
};

TEST_F(KeyboardTest, TabAndShiftTabVisitEveryEnabledStopInReadingOrder) {
  CreateKey(registry, kCurrentUser, Button(kA));
  CreateKey(registry, kLocalMachine, Bho(kA));
  Open();
  ASSERT_EQ(window->Handle(), GetForegroundWindow());
  EXPECT_EQ("List1", Focused());  // after the start-up note
  EXPECT_EQ(EnabledStops(false), TabRound(false));
  EXPECT_EQ(EnabledStops(true), TabRound(true));
  // A selection enables buttons, which join the round in their places.
  ClickListItem(Control("List1"), 0);
  ClickListItem(Control("List6"), 0);
  SetFocus(Control("List1"));
  EXPECT_EQ(EnabledStops(false), TabRound(false));
  EXPECT_TRUE(Enabled("Command1") && Enabled("Command2") && !Enabled("Command3"));
}

TEST_F(KeyboardTest, DeleteCopyAndRefreshKeysDoWhatTheMouseDoes) {
  CreateKey(registry, kCurrentUser, Button(kA));
  CreateKey(registry, kCurrentUser, Button(kB));
  Open();
  // The keys' table, with a disabled button or nothing selected, is the
  // native tests'; here the keys reach it through the message loop.
  ASSERT_EQ("List1", Focused());
  PressKeys({VK_DOWN});  // selects the first entry and shows it
  EXPECT_TRUE(Enabled("Command1"));
  PressKeys({VK_CONTROL, 'C'});
  ASSERT_EQ(2u, boxes.seen.size());
  EXPECT_EQ("CLSID copied to clipboard", boxes.seen[1].text);
  EXPECT_EQ("List1", Focused());  // given back after the message box

  // A key that reaches the list while the confirmation is up does nothing.
  boxes.answers = {IDOK};
  struct Posted {
    HWND list;
    int keys = 0;
  } posted{Control("List1")};
  boxes.context = &posted;
  boxes.onShow = [](void* context) {
    auto* p = static_cast<Posted*>(context);
    if (p->keys++ == 0) PostMessageW(p->list, WM_KEYDOWN, VK_DELETE, 0);
  };
  PressKeys({VK_DELETE});
  boxes.onShow = nullptr;
  ASSERT_EQ(3u, boxes.seen.size());
  EXPECT_EQ(DeleteConfirmation(), boxes.seen[2]);
  EXPECT_EQ(std::vector<std::string>{kB}, SubKeys(registry, kCurrentUser, kExtensionsPath));
  EXPECT_EQ("List1", Focused());
  EXPECT_EQ(-1, SendMessageW(Control("List1"), LB_GETCURSEL, 0, 0));

  // F5 anywhere in the window; the focus stays where it was.
  CreateKey(registry, kCurrentUser, Button(kA));
  PressKeys({VK_TAB, VK_TAB});
  ASSERT_EQ("Text1", Focused());
  PressKeys({VK_F5});
  EXPECT_EQ((std::vector<std::string>{kA, kB}), ListItems(Control("List1")));
  EXPECT_EQ("Text1", Focused());

  // A delete made with the button leaves the focus in the list it acted on.
  ClickListItem(Control("List1"), 1);
  SetFocus(Control("Command1"));
  boxes.answers = {IDOK};
  PressKeys({VK_SPACE});
  EXPECT_EQ(std::vector<std::string>{kA}, SubKeys(registry, kCurrentUser, kExtensionsPath));
  EXPECT_EQ("List1", Focused());
}

// The menu opens at a right-click and Shift+F10, and takes its access keys
// (queued behind what opens it).
TEST_F(KeyboardTest, ContextMenuOpensFromTheMouseAndTheKeysAndOpensTheKeyInTheEditor) {
  // Under Wine the Registry Editor is, until started, a script that puts it
  // back (this process keeps what it started mapped: its own rename would
  // fail), then writes the arguments it got, one a line.
  wchar_t folder[MAX_PATH] = {};
  GetWindowsDirectoryW(folder, MAX_PATH);
  const std::wstring editor = std::wstring(folder) + L"\\regedit.exe", saved = editor + L".saved";
  const std::string log = FromWide(folder, wcslen(folder)) + "\\brovantine-regedit.log";
  const std::string unixEditor = UnixPath(editor), unixLog = UnixPath(ToWide(log));
  if (unixLog.empty() || !MoveFileExW(editor.c_str(), saved.c_str(), 0)) GTEST_SKIP() << "not Wine";
  std::ofstream(editor.c_str(), std::ios::binary)
      << "#!/bin/sh\nprintf '%s\\n' \"$@\" >'" << unixLog << ".part'\nmv -f '" << unixEditor
      << ".saved' '" << unixEditor << "'\nmv '" << unixLog << ".part' '" << unixLog << "'\n";
  CreateKey(registry, kLocalMachine, Bho(kB));
  CreateKey(registry, kLocalMachine, Bho(kA));
  Open();
  HWND list = Control("List6");
  RECT item;
  SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
  PostMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(item.left + 4, item.top + 2));
  PostMessageW(list, WM_RBUTTONUP, 0, MAKELPARAM(item.left + 4, item.top + 2));
  PostMessageW(list, WM_CHAR, 'r', 0);
  Pump();
  EXPECT_EQ(1, SendMessageW(list, LB_GETCURSEL, 0, 0));  // selected as a click does
  EXPECT_EQ(
      std::string("Computer\\HKEY_LOCAL_MACHINE\\") + Bho(kB),
      ReadString(registry, kCurrentUser,
                 "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit", "LastKey"));
  std::string arguments;
  for (int wait = 0; wait < 100 && arguments.empty(); ++wait, Sleep(50)) {
    std::getline(std::ifstream(log), arguments, '\0');
  }
  EXPECT_EQ("/m\n", arguments);
  DeleteFileW(ToWide(log).c_str());
  MoveFileExW(saved.c_str(), editor.c_str(), MOVEFILE_REPLACE_EXISTING);  // if never started
  // Shift+F10, then the menu's "Search the web", which asks first.
  for (auto key : {VK_SHIFT, VK_F10, -VK_F10, -VK_SHIFT, int{'S'}, -int{'S'}}) {
    keybd_event(static_cast<BYTE>(key < 0 ? -key : key), 0, key < 0 ? KEYEVENTF_KEYUP : 0, 0);
  }
  Pump();
  ASSERT_EQ(2u, boxes.seen.size());
  EXPECT_EQ("This opens your web browser, do you want to continue?", boxes.seen[1].text);
}

// How many pixel rows of a control's client area its caption inks, as the
// control paints itself at `height` (a copy of it, same class, style, font
// and width): what is drawn, however the control wraps and places it.
int InkedRows(HWND control, int height) {
  wchar_t kind[32] = {};
  GetClassNameW(control, kind, 32);
  RECT client;
  GetClientRect(control, &client);
  const int width = client.right;
  HWND copy = CreateWindowExW(0, kind, ToWide(WindowText(control)).c_str(),
                              GetWindowLongW(control, GWL_STYLE) & ~WS_VISIBLE, 0, 0, width, height,
                              GetParent(control), nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(copy, WM_SETFONT, SendMessageW(control, WM_GETFONT, 0, 0), FALSE);
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  RECT all = {0, 0, width, height};
  FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
  SendMessageW(copy, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
  GdiFlush();
  // A push button's raised edge is two pixels wide; the rest not of the
  // face (nor the white of a disabled caption's relief) is ink.
  const int edge = _wcsicmp(kind, L"Button") == 0 ? 2 : 0;
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const auto* pixels = static_cast<const DWORD*>(bits);
  int rows = 0;
  for (int y = edge; y < height - edge; ++y) {
    for (int x = edge; x < width - edge; ++x) {
      const DWORD p = pixels[y * width + x] & 0xFFFFFF;
      const COLORREF c = RGB(p >> 16, (p >> 8) & 0xFF, p & 0xFF);
      if (c != face && c != RGB(255, 255, 255)) {
        ++rows;
        break;
      }
    }
  }
  SelectObject(dc, previous);
  DeleteDC(dc);
  DeleteObject(bitmap);
  DestroyWindow(copy);
  return rows;
}

// Where a control's caption is cut, as the control draws it in its client
// area; empty when it shows whole. A label or button shows as many inked
// rows as it would with room to spare, and no line wider than it; a frame's
// one-line caption runs between its corners (eight pixels in from each).
std::string CaptionCut(HWND control) {
  const std::wstring text = ToWide(WindowText(control));
  if (text.empty()) return std::string();
  wchar_t kind[16] = {};
  GetClassNameW(control, kind, 16);
  RECT client;
  GetClientRect(control, &client);
  const bool frame = _wcsicmp(kind, L"Button") == 0 &&
                     (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
  RECT line = {0, 0, frame ? 0 : client.right, 0};
  HDC dc = GetDC(control);
  HGDIOBJ previous =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &line,
            DT_CALCRECT | DT_NOPREFIX | (frame ? DT_SINGLELINE : DT_WORDBREAK));
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  const int room = frame ? client.right - 16 : client.right;
  const int shown = frame ? 0 : InkedRows(control, client.bottom);
  const int whole = frame ? 0 : InkedRows(control, client.bottom + 200);
  if (line.right <= room && shown == whole) return std::string();
  return WindowText(control) + ": " + std::to_string(shown) + " of " + std::to_string(whole) +
         " rows, " + std::to_string(line.right) + " of " + std::to_string(room) + " wide";
}

// The system's message when the window's monitor has another DPI, with the
// rectangle the system suggests: the same place, the size scaled.
void ChangeDpi(HWND window, int from, int to) {
  RECT rect;
  GetWindowRect(window, &rect);
  RECT suggested = {rect.left, rect.top, rect.left + MulDiv(rect.right - rect.left, to, from),
                    rect.top + MulDiv(rect.bottom - rect.top, to, from)};
  SendMessageW(window, kDpiChangedMessage, MAKEWPARAM(to, to),
               reinterpret_cast<LPARAM>(&suggested));
  Pump();
}

// Every label, frame and button caption of both windows, measured in the
// program's own process with each control's font, fits its client area;
// no control covers another (beyond the edge two neighbours share) and the
// status bar covers none; at the default size and a larger one, from which
// the main window sized down to one pixel keeps the default size.
TEST_F(MainWindowTest, EveryTextIsShownWholeAt96And144DpiAndTwoSizes) {
  Open();
  const struct { int dpi, larger; } sizes[] = {{96, 0}, {96, 100}, {144, 0}, {144, 150}};
  RECT outer = {};
  for (const auto& [dpi, larger] : sizes) {
    if (!larger) {
      ChangeDpi(window->Handle(), window->Dpi(), dpi);
      ASSERT_EQ(dpi, window->Dpi());
      GetWindowRect(window->Handle(), &outer);
    }
    SetWindowPos(window->Handle(), nullptr, 0, 0, outer.right - outer.left + larger,
                 outer.bottom - outer.top + larger, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    ChooseMenu(*window, "About");
    ASSERT_TRUE(About());
    EXPECT_EQ(dpi, window->About()->Dpi());
    HWND bar = FindWindowExW(window->Handle(), nullptr, STATUSCLASSNAMEW, nullptr);
    RECT barRect;
    GetWindowRect(bar, &barRect);
    for (HWND parent : {window->Handle(), About()}) {
      std::vector<std::pair<HWND, RECT>> placed;
      for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child) || child == bar) continue;
        EXPECT_EQ("", CaptionCut(child)) << "at " << dpi << ", " << larger << " larger";
        RECT rect;
        GetWindowRect(child, &rect);
        wchar_t kind[16] = {};
        GetClassNameW(child, kind, 16);
        if (_wcsicmp(kind, L"Button") == 0 &&
            (GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) {
          continue;  // a frame holds what lies on it
        }
        if (parent == window->Handle() && _wcsicmp(kind, L"Static") == 0) {
          // A label's text, from its top, lies above the status bar.
          EXPECT_LE(rect.top + (rect.bottom - rect.top) / 2, barRect.top) << WindowText(child);
        } else if (parent == window->Handle()) {
          EXPECT_LE(rect.bottom, barRect.top) << WindowText(child);
        }
        for (const auto& other : placed) {
          Box a{rect.left, rect.top, rect.right, rect.bottom};
          Box b{other.second.left, other.second.top, other.second.right, other.second.bottom};
          EXPECT_FALSE(Overlap(a, b, dpi))
              << WindowText(child) << " and " << WindowText(other.first) << " at " << larger;
        }
        placed.emplace_back(child, rect);
      }
    }
    ClickButton(AboutControl("Command1"));
    if (!larger) continue;
    SetWindowPos(window->Handle(), nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    RECT smallest;
    GetWindowRect(window->Handle(), &smallest);
    EXPECT_TRUE(EqualRect(&outer, &smallest)) << dpi;
  }
}

TEST_F(MainWindowTest, ADpiChangeLaysTheWindowOutAgainFromTheTables) {
  // The manifest makes the program aware of each monitor's DPI (V2 where
  // the system knows it; Wine has the first version).
  HMODULE user = GetModuleHandleW(L"user32");
  auto context = FindFunction<HANDLE(WINAPI*)()>(user, "GetThreadDpiAwarenessContext");
  auto awareness = FindFunction<int(WINAPI*)(HANDLE)>(user, "GetAwarenessFromDpiAwarenessContext");
  ASSERT_TRUE(context && awareness);
  EXPECT_EQ(2, awareness(context()));  // DPI_AWARENESS_PER_MONITOR_AWARE
  CreateKey(registry, kCurrentUser, Button(kA));
  Open();
  const int from = window->Dpi();
  std::vector<RECT> before;
  for (const ControlSpec& spec : Form1Layout().controls) {
    RECT rect;
    GetWindowRect(Control(spec.name), &rect);
    MapWindowPoints(nullptr, window->Handle(), reinterpret_cast<POINT*>(&rect), 2);
    before.push_back(rect);
  }
  RECT outer;
  GetWindowRect(window->Handle(), &outer);
  ChangeDpi(window->Handle(), from, 144);
  ExpectLaidOut(window->Handle(), Form1Layout(), 144,
                [this](const char* name) { return Control(name); });
  RECT moved;
  GetWindowRect(window->Handle(), &moved);
  EXPECT_EQ(outer.left, moved.left);  // where the system puts it
  EXPECT_EQ(outer.top, moved.top);
  LOGFONTW font = {};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Control("List1"), WM_GETFONT, 0, 0)),
             sizeof(font), &font);
  EXPECT_EQ(-16, font.lfHeight);  // 8 points at 144 dpi
  ChangeDpi(window->Handle(), 144, from);
  for (size_t i = 0; i < Form1Layout().controls.size(); ++i) {
    RECT rect;
    GetWindowRect(Control(Form1Layout().controls[i].name), &rect);
    MapWindowPoints(nullptr, window->Handle(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_TRUE(EqualRect(&before[i], &rect)) << Form1Layout().controls[i].name;
  }
}

// The width of a list's widest item in the list's own font.
int WidestItem(HWND list) {
  HDC dc = GetDC(list);
  HGDIOBJ previous =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
  int widest = 0;
  for (const std::string& item : ListItems(list)) {
    const std::wstring text = ToWide(item);
    SIZE size = {};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    widest = std::max<int>(widest, size.cx);
  }
  SelectObject(dc, previous);
  ReleaseDC(list, dc);
  return widest;
}

// Every item can be read whole: a list scrolls sideways to its widest item,
// a name of 16,383 characters too, at any DPI.
TEST_F(MainWindowTest, ListsScrollSidewaysToTheirWidestItem) {
  // The longest value name there is, with a character beyond the first 256.
  const std::string longest = "{" + std::string(16381, 'x') + "\xE4\xB8\xAD";
  SetString(registry, kCurrentUser, "Software\\Microsoft\\Internet Explorer\\Toolbar\\WebBrowser",
            longest, "");
  // Five identifiers are more than the first list shows: with its vertical
  // scroll bar it is too narrow for them. Three fill the second exactly.
  for (int i = 0; i < 5; ++i) {
    CreateKey(registry, kCurrentUser,
              Button("{AAAAAAAA-0000-0000-0000-00000000000" + std::to_string(i) + "}"));
    if (i < 3)
      CreateKey(registry, kLocalMachine,
                Button("{BBBBBBBB-0000-0000-0000-00000000000" + std::to_string(i) + "}"));
  }
  Open();
  ASSERT_EQ(std::vector<std::string>{longest}, ListItems(Control("List3")));
  // As filled, then laid out again at another DPI.
  for (int at : {window->Dpi(), 144}) {
    if (at != window->Dpi()) ChangeDpi(window->Handle(), window->Dpi(), at);
    // Identifiers that fit: no scroll bar. Those that do not, beside a
    // vertical scroll bar, and the long name scroll as far as they reach.
    EXPECT_FALSE(GetWindowLongW(Control("List2"), GWL_STYLE) & WS_HSCROLL) << at;
    for (const char* name : {"List1", "List3"}) {
      const int widest = WidestItem(Control(name));
      const LRESULT extent = SendMessageW(Control(name), LB_GETHORIZONTALEXTENT, 0, 0);
      EXPECT_GE(extent, widest) << name << " at " << at;
      EXPECT_LE(extent, widest + 8) << name << " at " << at;
      EXPECT_TRUE(GetWindowLongW(Control(name), GWL_STYLE) & WS_HSCROLL) << name << " at " << at;
    }
    const int widest = WidestItem(Control("List3"));
    SCROLLINFO scroll = {};
    scroll.cbSize = sizeof(scroll);
    scroll.fMask = SIF_RANGE;
    ASSERT_TRUE(GetScrollInfo(Control("List3"), SB_HORZ, &scroll));
    EXPECT_GE(scroll.nMax, widest) << at;
  }
  // A refill starts the measure afresh.
  SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer\\Toolbar");
  ChooseMenu(*window, "Refresh");
  EXPECT_EQ(0, SendMessageW(Control("List3"), LB_GETHORIZONTALEXTENT, 0, 0));
}

// Screen readers hear each list and text box by its label (or its own name
// where no label says what it holds), through the accessibility interface.
TEST_F(MainWindowTest, ScreenReadersNameEveryListAndTextBox) {
  Open();
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  for (const ControlSpec& spec : Form1Layout().controls) {
    if ((spec.kind != ControlKind::ListBox && spec.kind != ControlKind::TextBox) ||
        (spec.flags & kHidden)) {
      continue;
    }
    IAccessible* object = nullptr;
    ASSERT_EQ(S_OK,
              AccessibleObjectFromWindow(Control(spec.name), OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&object)))
        << spec.name;
    VARIANT self = {};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    EXPECT_EQ(S_OK, object->get_accName(self, &name)) << spec.name;
    EXPECT_EQ(AccessibleName(spec.name), name ? FromWide(name, SysStringLen(name)) : "");
    EXPECT_NE("", AccessibleName(spec.name)) << spec.name;
    SysFreeString(name);
    object->Release();
  }
  EXPECT_EQ("Current User", AccessibleName("List1"));
  EXPECT_EQ("Related File", AccessibleName("Text6"));
  CoUninitialize();
}

// True when `upper` is drawn over `lower` (comes earlier in the z-order).
bool Above(HWND upper, HWND lower) {
  for (HWND w = GetWindow(lower, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV)) {
    if (w == upper) return true;
  }
  return false;
}

TEST_F(MainWindowTest, LabelsNeverCoverTheBoxesTheyTouch) {
  Open();
  const FormSpec& layout = Form1Layout();
  int overlaps = 0;
  for (const ControlSpec& label : layout.controls) {
    if (label.kind != ControlKind::Label) continue;
    RECT labelRect;
    GetWindowRect(Control(label.name), &labelRect);
    for (const ControlSpec& other : layout.controls) {
      if (other.kind == ControlKind::Label || other.kind == ControlKind::Frame) continue;
      RECT otherRect, both;
      GetWindowRect(Control(other.name), &otherRect);
      if (!IntersectRect(&both, &labelRect, &otherRect)) continue;
      ++overlaps;
      EXPECT_TRUE(Above(Control(other.name), Control(label.name)))
          << other.name << " lies under " << label.name;
    }
  }
  // The description labels of the panels touch their boxes' top edges.
  EXPECT_GT(overlaps, 0);
}

// The colours a window sets for one of its static controls (a label or a
// read-only text box) on a device context whose colours start black on
// white, and the brush it paints the background with.
struct Painted {
  COLORREF text;
  COLORREF background;
  LRESULT brush;
};
Painted ColorsFor(HWND window, HWND control) {
  HDC dc = CreateCompatibleDC(nullptr);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  const LRESULT brush = SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(control));
  const Painted painted = {GetTextColor(dc), GetBkColor(dc), brush};
  DeleteDC(dc);
  return painted;
}

TEST_F(MainWindowTest, BothWindowsPaintOnTheButtonFaceAndMarkedTextInBlue) {
  Open();
  ChooseMenu(*window, "About");
  ASSERT_TRUE(About());
  ASSERT_NE(RGB(255, 255, 255), GetSysColor(COLOR_BTNFACE));
  const struct {
    HWND window;
    const char* control;
    COLORREF text;
  } cases[] = {
      {window->Handle(), "Text1", RGB(0, 0, 255)},
      {window->Handle(), "Label1", RGB(0, 0, 0)},
      {About(), "Label2", RGB(0, 0, 255)},
      {About(), "lblWarning", RGB(0, 0, 0)},
  };
  for (const auto& c : cases) {
    HWND control = c.window == window->Handle() ? Control(c.control) : AboutControl(c.control);
    ASSERT_TRUE(control) << c.control;
    const Painted painted = ColorsFor(c.window, control);
    EXPECT_EQ(c.text, painted.text) << c.control;
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), painted.background) << c.control;
    EXPECT_EQ(reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE)), painted.brush)
        << c.control;
  }
}

TEST_F(MainWindowTest, SelectingShowsDetailsAndDeleteAsksThenDeletesOnlyThatEntry) {
  SetString(registry, kCurrentUser, Button(kA), "ButtonText", "Alpha");
  SetString(registry, kCurrentUser, Button(kA), "Exec", "C:\\alpha.exe");
  SetString(registry, kCurrentUser, Button(kA), "MenuText", "Alpha menu");
  SetString(registry, kCurrentUser, Button(kA) + "\\Sub", "deep", "x");
  SetString(registry, kCurrentUser, Button(kB), "ButtonText", "Beta");
  SetString(registry, kLocalMachine, Button(kA), "ButtonText", "Machine twin");
  Open();
  ClickListItem(Control("List2"), 0);
  EXPECT_EQ("Machine twin", Text("Text1"));
  EXPECT_EQ("Item not listed in Tools Menu", Text("Text9"));
  EXPECT_TRUE(Enabled("Command1"));

  ClickListItem(Control("List1"), FindListItem(Control("List1"), kA));
  EXPECT_EQ("Alpha", Text("Text1"));
  EXPECT_EQ("C:\\alpha.exe", Text("Text2"));
  EXPECT_EQ("Alpha menu", Text("Text9"));
  EXPECT_EQ(-1, SendMessageW(Control("List2"), LB_GETCURSEL, 0, 0));

  const size_t before = boxes.seen.size();
  boxes.answers = {IDCANCEL};
  ClickButton(Control("Command1"));
  ASSERT_EQ(before + 1, boxes.seen.size());
  EXPECT_EQ(DeleteConfirmation(), boxes.seen.back());
  EXPECT_TRUE(KeyExists(registry, kCurrentUser, Button(kA)));

  boxes.answers = {IDOK};
  ClickButton(Control("Command1"));
  EXPECT_EQ(before + 2, boxes.seen.size());
  EXPECT_FALSE(KeyExists(registry, kCurrentUser, Button(kA)));
  EXPECT_TRUE(KeyExists(registry, kCurrentUser, Button(kB)));
  EXPECT_TRUE(KeyExists(registry, kLocalMachine, Button(kA)));
  EXPECT_EQ(std::vector<std::string>{kB}, ListItems(Control("List1")));
  EXPECT_EQ("", Text("Text1"));
  EXPECT_EQ("", Text("Text2"));
  EXPECT_EQ("", Text("Text9"));
}

TEST_F(MainWindowTest, RefreshShowsOutsideChanges) {
  CreateKey(registry, kCurrentUser, Button(kA));
  Open();
  EXPECT_EQ(std::vector<std::string>{kA}, ListItems(Control("List1")));
  SHDeleteKeyW(HKEY_CURRENT_USER, ToWide(Button(kA)).c_str());
  CreateKey(registry, kCurrentUser, Button("{bbbbbbbb-0000-0000-0000-000000000002}"));
  ChooseMenu(*window, "Refresh");
  EXPECT_EQ(std::vector<std::string>{kB}, ListItems(Control("List1")));
  EXPECT_EQ(1u, boxes.seen.size());  // only the start-up note
}

TEST_F(MainWindowTest, BadRegistryContentIsShownSafely) {
  const std::string nonAscii = "{\xC3\xA9\xE4\xB8\xAD-\xF0\x9F\x98\x80}";
  SetString(registry, kCurrentUser, Button(nonAscii), "ButtonText",
            "\xE4\xB8\xAD\xE6\x96\x87 \xC3\xA9");
  SetString(registry, kCurrentUser, Button(nonAscii), "Exec", std::string(10000, 'x'));
  SetData(registry, kCurrentUser, Button(kA), "ButtonText", Dword(0x07070707));
  SetData(registry, kCurrentUser, Button(kA), "Exec",
          {kRegSz, Utf8ToUtf16LeBytes("no terminator", false)});
  SetString(registry, kCurrentUser, Button(kB), "ButtonText", std::string(300, 'b'));
  Open();
  const std::string shown = "{\xC3\x89\xE4\xB8\xAD-\xF0\x9F\x98\x80}";
  ASSERT_EQ((std::vector<std::string>{kA, kB, shown}), ListItems(Control("List1")));

  ClickListItem(Control("List1"), 2);
  EXPECT_EQ("\xE4\xB8\xAD\xE6\x96\x87 \xC3\xA9", Text("Text1"));
  EXPECT_EQ(std::string(10000, 'x'), Text("Text2"));
  ClickListItem(Control("List1"), 0);
  EXPECT_EQ("No name reference found in the registry", Text("Text1"));
  EXPECT_EQ("no terminator", Text("Text2"));
  ClickListItem(Control("List1"), 1);
  EXPECT_EQ(std::string(300, 'b'), Text("Text1"));

  // The key goes between the fill and the click.
  SHDeleteKeyW(HKEY_CURRENT_USER, ToWide(Button(kB)).c_str());
  ClickListItem(Control("List1"), 0);
  ClickListItem(Control("List1"), 1);
  EXPECT_EQ("No name reference found in the registry", Text("Text1"));
  EXPECT_EQ("No reference found in the registry", Text("Text2"));

  ClickListItem(Control("List1"), 2);
  boxes.answers = {IDOK};
  ClickButton(Control("Command1"));
  EXPECT_EQ(std::vector<std::string>{kA}, SubKeys(registry, kCurrentUser, kExtensionsPath));
}

TEST_F(MainWindowTest, ExitClosesTheWindow) {
  Open();
  HWND main = window->Handle();
  ChooseMenu(*window, "Exit");
  EXPECT_FALSE(IsWindow(main));
}

// Refuses, through a CBT hook, to make one child window of a parent of this
// class (the one with this id, or this caption), as a system out of window
// handles would.
class FailCreation {
 public:
  FailCreation(const wchar_t* parentClass, int id, const wchar_t* caption)
      : parentClass_(parentClass), id_(id), caption_(caption) {
    current_ = this;
    hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
  }
  ~FailCreation() {
    if (hook_) UnhookWindowsHookEx(hook_);
    current_ = nullptr;
  }
  FailCreation(const FailCreation&) = delete;
  FailCreation& operator=(const FailCreation&) = delete;
  int refused = 0;

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && current_ &&
        current_->Refuses(*reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs)) {
      ++current_->refused;
      return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  bool Refuses(const CREATESTRUCTW& create) const {
    wchar_t className[64] = {};
    if (!create.hwndParent || !GetClassNameW(create.hwndParent, className, 64) ||
        wcscmp(className, parentClass_) != 0) {
      return false;
    }
    if (id_ >= 0) return reinterpret_cast<INT_PTR>(create.hMenu) == id_;
    return caption_ && create.lpszName && !IS_INTRESOURCE(create.lpszName) &&
           wcscmp(create.lpszName, caption_) == 0;
  }

  static FailCreation* current_;
  const wchar_t* parentClass_;
  int id_;
  const wchar_t* caption_;
  HHOOK hook_ = nullptr;
};
FailCreation* FailCreation::current_ = nullptr;

// Top-level windows of this thread with this class, hidden ones too.
TEST_F(MainWindowTest, WindowsThatCannotBeMadeWholeAreNotShown) {
  const std::vector<ControlSpec>& controls = Form1Layout().controls;
  const int text4 =
      kFirstControlId + static_cast<int>(FindControl(Form1Layout(), "Text4") - controls.data());
  {
    FailCreation fail(L"BrovantineForm1", text4, nullptr);
    EXPECT_EQ(nullptr, MainWindow::Create(GetModuleHandleW(nullptr), &registry, &desktop,
                                          SW_SHOWNORMAL, false));
    EXPECT_EQ(1, fail.refused);
  }
  Pump();
  EXPECT_EQ(0, ThreadWindows(L"BrovantineForm1"));
  EXPECT_TRUE(boxes.seen.empty());  // no start-up note for a window that is not there

  // BuildControls names the control, and makes none after it.
  HWND parent = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(parent);
  {
    FailCreation fail(L"Static", text4, nullptr);
    FontSet fonts(96);
    BuiltControls built;
    EXPECT_FALSE(BuildControls(parent, Form1Layout(), ArrangeTable(Form1Layout(), 96, fonts), fonts,
                               kFirstControlId, &built));
    EXPECT_EQ("Text4", built.failed);
    EXPECT_EQ(0u, built.byName.count("Text4"));
    EXPECT_EQ(0u, built.byName.count("Label9"));  // a label: made after every box
    EXPECT_EQ(1u, built.byName.count("Text3"));
  }
  DestroyWindow(parent);

  Open();
  {
    FailCreation fail(L"BrovantineSplash", -1, L"OK");
    ChooseMenu(*window, "About");
    EXPECT_EQ(1, fail.refused);
  }
  EXPECT_EQ(nullptr, About());
  EXPECT_EQ(0, ThreadWindows(L"BrovantineSplash"));
  ChooseMenu(*window, "About");  // made whole this time
  EXPECT_TRUE(About() && IsWindowVisible(About()));
}

// The real registry until told to throw: then every call throws, as an
// allocation that fails would.
class ThrowingRegistry : public ForwardingRegistry {
 public:
  using ForwardingRegistry::ForwardingRegistry;
  using Registry::CreateKey;
  using Registry::DeleteTree;
  using Registry::DeleteValue;
  using Registry::OpenKey;
  long OpenKey(const RegAddress& at, Access access, std::unique_ptr<RegKey>* key) override {
    Check();
    return ForwardingRegistry::OpenKey(at, access, key);
  }
  long OpenLink(const RegAddress& at, std::unique_ptr<RegKey>* key) override {
    Check();
    return ForwardingRegistry::OpenLink(at, key);
  }
  long CreateKey(const RegAddress& at, std::unique_ptr<RegKey>* key) override {
    Check();
    return ForwardingRegistry::CreateKey(at, key);
  }
  long DeleteTree(const RegAddress& at) override {
    Check();
    return ForwardingRegistry::DeleteTree(at);
  }
  long DeleteValue(const RegAddress& at, const std::string& name) override {
    Check();
    return ForwardingRegistry::DeleteValue(at, name);
  }
  bool throwing = false;
  int thrown = 0;

 private:
  void Check() {
    if (!throwing) return;
    ++thrown;
    throw std::bad_alloc();
  }
};

TEST_F(MainWindowTest, AnActionThatThrowsIsAbandonedInsideTheWindowProcedure) {
  CreateKey(registry, kCurrentUser, Button(kA));
  ThrowingRegistry failing(registry);
  failing.throwing = true;
  Open(&failing);  // the fills after the note throw
  EXPECT_GT(failing.thrown, 0);
  EXPECT_EQ(1u, boxes.seen.size());  // the note, and nothing said of the failure
  EXPECT_TRUE(IsWindowVisible(window->Handle()));
  EXPECT_TRUE(ListItems(Control("List1")).empty());

  failing.throwing = false;
  ChooseMenu(*window, "Refresh");
  EXPECT_EQ(std::vector<std::string>{kA}, ListItems(Control("List1")));

  // A click whose handler throws, inside the delete.
  ClickListItem(Control("List1"), 0);
  failing.throwing = true;
  const int before = failing.thrown;
  boxes.answers = {IDOK};
  ClickButton(Control("Command1"));
  EXPECT_GT(failing.thrown, before);
  EXPECT_TRUE(KeyExists(registry, kCurrentUser, Button(kA)));
  failing.throwing = false;
  ChooseMenu(*window, "Refresh");
  EXPECT_EQ(std::vector<std::string>{kA}, ListItems(Control("List1")));
}

}  // namespace
}  // namespace brv
