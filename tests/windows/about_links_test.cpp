// The identifier copy on the real clipboard, the list hints, the About window
// and the links handed to the real shell.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <fstream>
#include <iterator>

#include "app/config.h"
#include "app/layout.h"
#include "app/links.h"
#include "app/win32/controls_win.h"
#include "app/win32/splash_win.h"
#include "harness_win.h"
#include "support/registry_fixture.h"

namespace brv {
namespace {

const char kExt[] = "Software\\Microsoft\\Internet Explorer\\Extensions\\";

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

class AboutLinksTest : public ::testing::Test, public WindowTest {
 protected:
  void PostDoubleClickNotification(const char* list) {
    HWND control = Control(list);
    PostMessageW(window->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(control));
    Pump();
  }
};

TEST_F(AboutLinksTest, DoubleClickPutsTheTrimmedIdentifierOnTheClipboard) {
  CreateKey(registry, kCurrentUser, kExt + std::string(kA));
  CreateKey(registry, kCurrentUser, kExt + std::string(kB) + "  ");
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
  CreateKey(registry, kCurrentUser, kExt + std::string(kA));
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

TEST_F(AboutLinksTest, AboutWindowOpensWithoutWaitingOnceAndShowsItsTable) {
  CreateKey(registry, kCurrentUser, kExt + std::string(kA));
  Open();
  ASSERT_EQ(nullptr, About());
  ChooseMenu(*window, "About");
  HWND about = About();
  ASSERT_TRUE(about);
  EXPECT_TRUE(IsWindowVisible(about));
  EXPECT_EQ(window->Handle(), GetWindow(about, GW_OWNER));
  EXPECT_EQ("About - Brovantine v2.4", WindowText(about));
  // Not modal: the main window still takes clicks and menu commands.
  EXPECT_TRUE(IsWindowEnabled(window->Handle()));
  CreateKey(registry, kCurrentUser, kExt + std::string(kB));
  ChooseMenu(*window, "Refresh");
  EXPECT_EQ((std::vector<std::string>{kA, kB}), ListItems(Control("List1")));

  const FormSpec& layout = SplashLayout();
  const std::vector<HWND> controls = ExpectLaidOut(
      about, layout, window->Dpi(), [this](const char* name) { return AboutControl(name); });
  for (size_t i = 0; i < layout.controls.size(); ++i) {
    const ControlSpec& spec = layout.controls[i];
    if (spec.kind == ControlKind::Label || spec.kind == ControlKind::Button) {
      EXPECT_EQ(spec.caption, WindowText(controls[i])) << spec.name;
    }
  }
  EXPECT_EQ(MakerName(), WindowText(AboutControl("Label2")));
  EXPECT_NE(0, SendMessageW(AboutControl("Image1"), STM_GETICON, 0, 0));
  // The maker's name in bold, underlined Arial.
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(AboutControl("Label2"), WM_GETFONT, 0, 0));
  LOGFONTW logFont = {};
  ASSERT_TRUE(GetObjectW(font, sizeof(logFont), &logFont));
  EXPECT_STREQ(L"Arial", logFont.lfFaceName);
  EXPECT_EQ(FW_BOLD, logFont.lfWeight);
  EXPECT_TRUE(logFont.lfUnderline);
  // All of the name shows, on one line.
  HDC dc = GetDC(AboutControl("Label2"));
  HGDIOBJ previous = SelectObject(dc, font);
  const std::wstring name = ToWide(MakerName());
  SIZE extent = {};
  GetTextExtentPoint32W(dc, name.c_str(), static_cast<int>(name.size()), &extent);
  SelectObject(dc, previous);
  ReleaseDC(AboutControl("Label2"), dc);
  RECT label;
  GetClientRect(AboutControl("Label2"), &label);
  EXPECT_GE(label.right, extent.cx);
  EXPECT_GE(label.bottom, extent.cy);
  // The rules lie over the description's box, not under it.
  for (HWND child = GetWindow(about, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    ASSERT_NE(AboutControl("Label4"), child) << "a rule lies under the description";
    if (child == AboutControl("Line1")) break;
  }

  // Opening it again shows the same window.
  ClickButton(Control("Command7"));
  ChooseMenu(*window, "About");
  EXPECT_EQ(about, About());
  EXPECT_EQ(1, ThreadWindows(L"BrovantineSplash", true));
  EXPECT_EQ(1u, boxes.seen.size());
}

TEST_F(AboutLinksTest, AboutWindowClosesByOkAKeyOrAClickOnItsFrame) {
  Open();
  ClickButton(Control("Command7"));
  HWND about = About();
  ASSERT_TRUE(about);
  ClickButton(AboutControl("Command1"));
  EXPECT_FALSE(IsWindow(about));
  EXPECT_EQ(nullptr, About());

  // Any key typed: a letter, and Escape and Enter, which the dialog
  // navigation turns into commands.
  for (WORD key : {WORD('Q'), WORD(VK_ESCAPE), WORD(VK_RETURN)}) {
    ClickButton(Control("Command7"));
    about = About();
    ASSERT_TRUE(about);
    ASSERT_EQ(about, GetForegroundWindow());
    PressKeys({key});
    EXPECT_FALSE(IsWindow(about)) << key;
  }

  ClickButton(Control("Command7"));
  about = About();
  ASSERT_TRUE(about);
  // A click on the description label is the label's: the window stays.
  ClickAt(AboutControl("Label4"), POINT{5, 5});
  ASSERT_TRUE(IsWindow(about));
  // Between the rules and the feedback line, right of the maker's name, lies
  // only the frame.
  const int dpi = window->Dpi();
  const POINT onFrame = {MulDiv(120 + 3000, dpi, 1440), MulDiv(120 + 1740, dpi, 1440)};
  POINT probe = onFrame;
  HWND under = ChildWindowFromPointEx(about, probe, CWP_SKIPINVISIBLE);
  ASSERT_EQ(AboutControl("Frame1"), under);
  ClickAt(about, onFrame);
  EXPECT_FALSE(IsWindow(about));
  // Every closing was the user's own: no message asked anything.
  EXPECT_EQ(1u, boxes.seen.size());
  EXPECT_TRUE(IsWindow(window->Handle()));
}

TEST_F(AboutLinksTest, ExitClosesTheAboutWindowAndThenTheMainWindow) {
  Open();
  ChooseMenu(*window, "About");
  HWND about = About();
  ASSERT_TRUE(about);
  HWND main = window->Handle();
  ChooseMenu(*window, "Exit");
  EXPECT_FALSE(IsWindow(about));
  EXPECT_FALSE(IsWindow(main));
  EXPECT_EQ(nullptr, About());
}

// Under Wine the shell hands web and mail links to winebrowser, which runs
// the programs named by the current user's WineBrowser settings. The tests
// point those settings at a recorder script, so that they see what was
// opened and no browser starts.
class ShellLinksTest : public AboutLinksTest {
 protected:
  static void SetUpTestSuite() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    logPath_ = std::wstring(temp) + L"brovantine_opened.txt";
    const std::string unixLog = UnixPath(logPath_);
    if (unixLog.empty()) return;  // not Wine: nothing to point
    const std::string command = std::string("/bin/sh \"") + BRV_SOURCE_DIR +
                                "/tests/windows/record_open.sh\" \"" + unixLog + "\"";
    // The real settings (no scratch registry yet), kept to be put back.
    Win32Registry real;
    for (int i = 0; i < 2; ++i) {
      saved_[i] = ReadData(real, kCurrentUser, kSettings, kValues[i]);
      SetData(real, kCurrentUser, kSettings, kValues[i],
              {kRegMultiSz, Utf8ToUtf16LeBytes(command + '\0', true)});
    }
    ready_ = true;
  }

  static void TearDownTestSuite() {
    if (!ready_) return;
    Win32Registry real;
    for (int i = 0; i < 2; ++i) {
      if (saved_[i].type != kRegNone) {
        SetData(real, kCurrentUser, kSettings, kValues[i], saved_[i]);
      } else {
        real.DeleteValue(kCurrentUser, kSettings, kValues[i]);
      }
    }
    DeleteFileW(logPath_.c_str());
    ready_ = false;
  }

  void SetUp() override {
    if (!ready_) GTEST_SKIP() << "needs Wine's winebrowser";
    DeleteFileW(logPath_.c_str());
    // The scratch classes root gets the associations Wine gives web pages,
    // web and mail links: winebrowser.
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const std::string browser =
        "\"" + FromWide(system, wcslen(system)) + "\\winebrowser.exe\" \"%1\"";
    for (const char* scheme : {"http", "https", "mailto"}) {
      brv::SetString(registry, kClassesRoot, scheme, "URL Protocol", "");
      brv::SetString(registry, kClassesRoot, std::string(scheme) + "\\shell\\open\\command", "",
                     browser);
    }
    brv::SetString(registry, kClassesRoot, ".html", "", "htmlfile");
    brv::SetString(registry, kClassesRoot, "htmlfile\\shell\\open\\command", "", browser);
  }

  // The lines the recorder wrote, once there are `count` of them (or after a
  // generous wait).
  static std::vector<std::string> Opened(size_t count) {
    std::vector<std::string> lines;
    for (int wait = 0; wait < 300; ++wait) {
      lines.clear();
      std::ifstream in(logPath_.c_str());
      for (std::string line; std::getline(in, line);) lines.push_back(line);
      if (lines.size() >= count) break;
      Pump();
      Sleep(50);
    }
    return lines;
  }

  static const char* const kSettings;
  static const char* const kValues[2];
  static RegData saved_[2];  // the real settings, put back after
  static std::wstring logPath_;
  static bool ready_;
};

const char* const ShellLinksTest::kSettings = "Software\\Wine\\WineBrowser";
const char* const ShellLinksTest::kValues[2] = {"Browsers", "Mailers"};
RegData ShellLinksTest::saved_[2];
std::wstring ShellLinksTest::logPath_;
bool ShellLinksTest::ready_ = false;

// %XX escapes undone, as a browser reads a file link.
std::string Unescape(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

TEST_F(ShellLinksTest, AboutWindowLinksOpenTheHomePageAndTheFeedbackMail) {
  Open();
  ClickButton(Control("Command7"));
  HWND about = About();
  ASSERT_TRUE(about);
  ClickAt(AboutControl("Label1"), POINT{5, 5});
  ASSERT_EQ(std::vector<std::string>{HomePage()}, Opened(1));
  ClickAt(AboutControl("Label2"), POINT{5, 5});
  const std::vector<std::string> opened = Opened(2);
  ASSERT_EQ(2u, opened.size());
  EXPECT_EQ(FeedbackLink(), Unescape(opened[1]));
  EXPECT_TRUE(IsWindow(about));
  EXPECT_EQ(1u, boxes.seen.size());  // nothing asked first
}

TEST_F(ShellLinksTest, HelpOpensTheShippedPageAndProItsPageOnlyAfterYes) {
  Open();
  boxes.answers = {IDNO, IDNO};
  ClickButton(Control("Command8"));
  ClickButton(Control("Command11"));
  ASSERT_EQ(3u, boxes.seen.size());
  EXPECT_EQ("Brovantine Online Help", boxes.seen[1].title);
  EXPECT_EQ("Brovantine Pro", boxes.seen[2].title);
  for (size_t i : {1, 2}) {
    EXPECT_EQ("This opens your web browser, do you want to continue?", boxes.seen[i].text);
    EXPECT_TRUE(boxes.seen[i].hasYes && boxes.seen[i].hasNo);
    EXPECT_FALSE(boxes.seen[i].hasIcon);
  }

  boxes.answers = {IDYES};
  ClickButton(Control("Command11"));
  // Had No opened anything, it would be recorded before this.
  ASSERT_EQ(std::vector<std::string>{ProPage()}, Opened(1));

  boxes.answers = {IDYES};
  ClickButton(Control("Command8"));
  const std::vector<std::string> opened = Opened(2);
  ASSERT_EQ(2u, opened.size());
  if (std::string(BRV_HELP_URL).empty()) {
    // The page beside the program, found there: winebrowser hands on a file
    // link only for a file that exists.
    const std::string program = desktop.ProgramPath();
    const std::string page = program.substr(0, program.find_last_of('\\') + 1) + kHelpFileName;
    const std::string unixPage = UnixPath(ToWide(page));
    ASSERT_FALSE(unixPage.empty());
    EXPECT_EQ("file://" + unixPage, Unescape(opened[1]));
  } else {
    EXPECT_EQ(BRV_HELP_URL, opened[1]);
  }
}

}  // namespace
}  // namespace brv
