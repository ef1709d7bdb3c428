// The identifier copy on the real clipboard, the list hints, the About window
// and the links handed to the real shell.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <fstream>
#include <iterator>

#include "app/layout.h"
#include "app/links.h"
#include "app/win32/controls_win.h"
#include "app/win32/splash_win.h"
#include "harness_win.h"

namespace brv {
namespace {

const char kExt[] = "Software\\Microsoft\\Internet Explorer\\Extensions\\";
const char kA[] = "{AAAAAAAA-0000-0000-0000-000000000001}";
const char kB[] = "{BBBBBBBB-0000-0000-0000-000000000002}";

std::string ReadClipboard() {
  if (!OpenClipboard(nullptr)) return "(not open)";
  std::string text = "(no text)";
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = FromWide(chars, wcslen(chars));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void WriteClipboard(const std::string& text) {
  Win32Desktop desktop;
  ASSERT_TRUE(desktop.SetClipboardText(text));
}

int CountSplashWindows() {
  int count = 0;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM counter) -> BOOL {
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        if (wcscmp(name, L"BrovantineSplash") == 0 && IsWindowVisible(window)) {
          ++*reinterpret_cast<int*>(counter);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count;
}

class AboutLinksTest : public ::testing::Test, public WindowTest {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
  }

  void PostDoubleClickNotification(const char* list) {
    HWND control = Control(list);
    PostMessageW(window->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(control));
    Pump();
  }
};

TEST_F(AboutLinksTest, DoubleClickPutsTheTrimmedIdentifierOnTheClipboard) {
  CreateKey(HKEY_CURRENT_USER, kExt + std::string(kA));
  CreateKey(HKEY_CURRENT_USER, kExt + std::string(kB) + "  ");
  Open();
  WriteClipboard("what the user had");

  // Nothing selected: the clipboard keeps its text and nothing is claimed.
  ASSERT_EQ(-1, SendMessageW(Control("List1"), LB_GETCURSEL, 0, 0));
  PostDoubleClickNotification("List1");
  EXPECT_EQ("what the user had", ReadClipboard());
  EXPECT_EQ(1u, boxes.seen.size());  // the start-up note only

  const int padded = FindListItem(Control("List1"), kB + std::string("  "));
  ASSERT_NE(-1, padded);
  ClickListItem(Control("List1"), padded, true);
  EXPECT_EQ(kB, ReadClipboard());
  ASSERT_EQ(2u, boxes.seen.size());
  EXPECT_EQ("CLSID copied to clipboard", boxes.seen[1].text);
  EXPECT_EQ("Brovantine", boxes.seen[1].title);
  EXPECT_TRUE(boxes.seen[1].hasIcon);
  EXPECT_TRUE(boxes.seen[1].hasOk);
  EXPECT_FALSE(boxes.seen[1].hasCancel);

  ClickListItem(Control("List1"), FindListItem(Control("List1"), kA), true);
  EXPECT_EQ(kA, ReadClipboard());
  EXPECT_EQ(3u, boxes.seen.size());
}

TEST_F(AboutLinksTest, ClipboardHeldElsewhereIsReportedNotClaimed) {
  CreateKey(HKEY_CURRENT_USER, kExt + std::string(kA));
  Open();
  WriteClipboard("held text");
  struct Holder {
    HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    bool held = false;
  } holder;
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](void* context) -> DWORD {
        auto* h = static_cast<Holder*>(context);
        h->held = OpenClipboard(nullptr) != FALSE;
        SetEvent(h->opened);
        WaitForSingleObject(h->release, 10000);
        if (h->held) CloseClipboard();
        return 0;
      },
      &holder, 0, nullptr);
  ASSERT_TRUE(thread);
  WaitForSingleObject(holder.opened, 5000);
  ASSERT_TRUE(holder.held);
  ClickListItem(Control("List1"), 0, true);
  SetEvent(holder.release);
  WaitForSingleObject(thread, 5000);
  CloseHandle(thread);
  CloseHandle(holder.opened);
  CloseHandle(holder.release);
  EXPECT_EQ("held text", ReadClipboard());
  ASSERT_EQ(2u, boxes.seen.size());
  EXPECT_EQ(kCopyFailedText, boxes.seen[1].text);
  EXPECT_EQ("Brovantine", boxes.seen[1].title);
  EXPECT_FALSE(boxes.seen[1].hasIcon);
}

TEST_F(AboutLinksTest, PointerOverTheHelperObjectListsSetsTheirHint) {
  Open();
  Form1& form = window->Form();
  EXPECT_EQ(kIdentifierHint, form.List1->ToolTipText());
  for (const char* name : {"List6", "List7"}) {
    ListBox* list = std::string(name) == "List6" ? form.List6 : form.List7;
    EXPECT_EQ("", list->ToolTipText()) << name;
    PostMessageW(Control(name), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    Pump();
    EXPECT_EQ(kIdentifierHint, list->ToolTipText()) << name;
  }
  EXPECT_EQ("", form.List5->ToolTipText());
}

// A click as a user's arrives: pressed and released at a point of a window.
void ClickAt(HWND window, POINT at) {
  const LPARAM where = MAKELPARAM(at.x, at.y);
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, where);
  PostMessageW(window, WM_LBUTTONUP, 0, where);
  Pump();
}

// A key typed on the keyboard, delivered to the active window.
void TypeKey(WORD key) {
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_KEYBOARD;
  input[0].ki.wVk = input[1].ki.wVk = key;
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, input, sizeof(INPUT));
  Pump();
}

TEST_F(AboutLinksTest, AboutWindowOpensWithoutWaitingOnceAndShowsItsTable) {
  CreateKey(HKEY_CURRENT_USER, kExt + std::string(kA));
  Open();
  ASSERT_EQ(nullptr, SplashWindow());
  ChooseMenu(*window, "About");
  HWND about = SplashWindow();
  ASSERT_TRUE(about);
  EXPECT_TRUE(IsWindowVisible(about));
  EXPECT_EQ(window->Handle(), GetWindow(about, GW_OWNER));
  EXPECT_EQ("About - Brovantine v2.4", WindowText(about));
  // Not modal: the main window still takes clicks and menu commands.
  EXPECT_TRUE(IsWindowEnabled(window->Handle()));
  CreateKey(HKEY_CURRENT_USER, kExt + std::string(kB));
  ChooseMenu(*window, "Refresh");
  EXPECT_EQ((std::vector<std::string>{kA, kB}), ListItems(Control("List1")));

  const int dpi = ScreenDpi();
  RECT client;
  GetClientRect(about, &client);
  EXPECT_EQ(MulDiv(5595, dpi, 1440), client.right);
  EXPECT_EQ(MulDiv(3240, dpi, 1440), client.bottom);
  const FormSpec& layout = SplashLayout();
  for (const ControlSpec& spec : layout.controls) {
    HWND control = SplashControl(spec.name);
    ASSERT_TRUE(control) << spec.name;
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, about, reinterpret_cast<POINT*>(&rect), 2);
    const ControlSpec* frame = spec.container ? FindControl(layout, spec.container) : nullptr;
    EXPECT_EQ(MulDiv(spec.left + (frame ? frame->left : 0), dpi, 1440), rect.left) << spec.name;
    EXPECT_EQ(MulDiv(spec.top + (frame ? frame->top : 0), dpi, 1440), rect.top) << spec.name;
    if (spec.kind == ControlKind::Label || spec.kind == ControlKind::Button) {
      EXPECT_EQ(spec.caption, WindowText(control)) << spec.name;
    }
  }
  EXPECT_EQ(MakerName(), WindowText(SplashControl("Label2")));
  EXPECT_NE(0, SendMessageW(SplashControl("Image1"), STM_GETICON, 0, 0));
  // The maker's name in bold, underlined Arial.
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(SplashControl("Label2"), WM_GETFONT, 0, 0));
  LOGFONTW logFont = {};
  ASSERT_TRUE(GetObjectW(font, sizeof(logFont), &logFont));
  EXPECT_STREQ(L"Arial", logFont.lfFaceName);
  EXPECT_EQ(FW_BOLD, logFont.lfWeight);
  EXPECT_TRUE(logFont.lfUnderline);

  // Opening it again shows the same window.
  ClickButton(Control("Command7"));
  ChooseMenu(*window, "About");
  EXPECT_EQ(about, SplashWindow());
  EXPECT_EQ(1, CountSplashWindows());
  EXPECT_EQ(1u, boxes.seen.size());
}

TEST_F(AboutLinksTest, AboutWindowClosesByOkAKeyOrAClickOnItsFrame) {
  Open();
  ClickButton(Control("Command7"));
  HWND about = SplashWindow();
  ASSERT_TRUE(about);
  ClickButton(SplashControl("Command1"));
  EXPECT_FALSE(IsWindow(about));
  EXPECT_EQ(nullptr, SplashWindow());

  ClickButton(Control("Command7"));
  about = SplashWindow();
  ASSERT_TRUE(about);
  ASSERT_EQ(about, GetForegroundWindow());
  TypeKey('Q');
  EXPECT_FALSE(IsWindow(about));

  ClickButton(Control("Command7"));
  about = SplashWindow();
  ASSERT_TRUE(about);
  // A click on the description label is the label's: the window stays.
  ClickAt(SplashControl("Label4"), POINT{5, 5});
  ASSERT_TRUE(IsWindow(about));
  // Between the rules and the feedback line, right of the maker's name, lies
  // only the frame.
  const int dpi = ScreenDpi();
  const POINT onFrame = {MulDiv(120 + 3000, dpi, 1440), MulDiv(120 + 1740, dpi, 1440)};
  POINT probe = onFrame;
  HWND under = ChildWindowFromPointEx(about, probe, CWP_SKIPINVISIBLE);
  ASSERT_EQ(SplashControl("Frame1"), under);
  ClickAt(about, onFrame);
  EXPECT_FALSE(IsWindow(about));
  // Every closing was the user's own: no message asked anything.
  EXPECT_EQ(1u, boxes.seen.size());
  EXPECT_TRUE(IsWindow(window->Handle()));
}

TEST_F(AboutLinksTest, ExitClosesTheAboutWindowAndThenTheMainWindow) {
  Open();
  ChooseMenu(*window, "About");
  HWND about = SplashWindow();
  ASSERT_TRUE(about);
  HWND main = window->Handle();
  ChooseMenu(*window, "Exit");
  EXPECT_FALSE(IsWindow(about));
  EXPECT_FALSE(IsWindow(main));
  EXPECT_EQ(nullptr, SplashWindow());
}

}  // namespace
}  // namespace brv
