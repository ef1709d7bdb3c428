// The identifier copy, the list hints, the Help and Pro questions, the lists'
// context menu and the About window's handlers, on the scripted desktop.
#include <gtest/gtest.h>

#include "app/config.h"
#include "app/entry_menu.h"
#include "app/layout.h"
#include "app/links.h"
#include "support/memory_form.h"
#include "support/registry_fixture.h"

namespace brv {
namespace {

struct CopyCase {
  const char* list;
  void (*handler)(Form1&);
  int index;
};

const CopyCase kCopyCases[] = {
    {"List1", List1_DblClick, 1}, {"List2", List2_DblClick, 2}, {"List3", List3_DblClick, 3},
    {"List4", List4_DblClick, 4}, {"List6", List6_DblClick, 6}, {"List7", List7_DblClick, 7},
};

TEST(IdentifierCopy, EachListCopiesItsOwnSelectionTrimmedAndSaysSo) {
  for (const CopyCase& copy : kCopyCases) {
    MemoryForm m;
    // The other lists hold a different selection: only this list is read.
    for (int i = 1; i <= 7; ++i) {
      m.lists[i].Put({"{OTHER}"});
      m.lists[i].index = 0;
    }
    m.lists[copy.index].Put({"{first}", std::string("  ") + kA + "   "});
    m.lists[copy.index].index = 1;
    EXPECT_EQ(copy.handler, FindHandler(copy.list, Event::DblClick)) << copy.list;
    copy.handler(m.form);
    EXPECT_EQ(kA, m.desktop.clipboard) << copy.list;
    EXPECT_EQ(1, m.desktop.clipboardWrites) << copy.list;
    ASSERT_EQ(1u, m.desktop.messages.size()) << copy.list;
    EXPECT_EQ("CLSID copied to clipboard", m.desktop.messages[0].text);
    EXPECT_EQ("Brovantine", m.desktop.messages[0].title);
    EXPECT_EQ(MsgButtons::Ok, m.desktop.messages[0].buttons);
    EXPECT_EQ(MsgIcon::Information, m.desktop.messages[0].icon);
    // The list itself is unchanged.
    EXPECT_EQ(1, m.lists[copy.index].index);
    EXPECT_EQ(std::string("  ") + kA + "   ", m.lists[copy.index].items[1]);
  }
}

TEST(IdentifierCopy, NothingSelectedLeavesTheClipboardAndSaysNothing) {
  for (const CopyCase& copy : kCopyCases) {
    MemoryForm m;
    copy.handler(m.form);  // an empty list
    m.lists[copy.index].Put({kA});
    copy.handler(m.form);  // items, none selected
    // A selected entry of spaces only has no identifier to copy.
    m.lists[copy.index].Put({"   "});
    m.lists[copy.index].index = 0;
    copy.handler(m.form);
    EXPECT_EQ("(untouched)", m.desktop.clipboard) << copy.list;
    EXPECT_EQ(0, m.desktop.clipboardWrites) << copy.list;
    EXPECT_TRUE(m.desktop.messages.empty()) << copy.list;
  }
}

TEST(IdentifierCopy, ClipboardThatCannotBeTakenIsReportedNotClaimed) {
  MemoryForm m;
  m.desktop.clipboardFails = true;
  m.lists[6].Put({kA});
  m.lists[6].index = 0;
  List6_DblClick(m.form);
  EXPECT_EQ("(untouched)", m.desktop.clipboard);
  ASSERT_EQ(1u, m.desktop.messages.size());
  EXPECT_EQ(kCopyFailedText, m.desktop.messages[0].text);
  EXPECT_EQ("Brovantine", m.desktop.messages[0].title);
  EXPECT_EQ(MsgButtons::Ok, m.desktop.messages[0].buttons);
  EXPECT_EQ(MsgIcon::None, m.desktop.messages[0].icon);
}

TEST(IdentifierCopy, UnusualIdentifiersAreCopiedAsTheyStand) {
  MemoryForm m;
  const std::string unusual = "{\xC3\xA9\xE4\xB8\xAD-\xF0\x9F\x98\x80}\ttab";
  const std::string longName(20000, 'x');
  m.lists[7].Put({" " + unusual + " ", longName});
  m.lists[7].index = 0;
  List7_DblClick(m.form);
  EXPECT_EQ(unusual, m.desktop.clipboard);
  m.lists[7].index = 1;
  List7_DblClick(m.form);
  EXPECT_EQ(longName, m.desktop.clipboard);
  EXPECT_EQ(2u, m.desktop.messages.size());
}

TEST(ListHints, PointerOverTheHelperObjectListsSetsTheHint) {
  MemoryForm m;
  EXPECT_EQ(List6_MouseMove, FindHandler("List6", Event::MouseMove));
  EXPECT_EQ(List7_MouseMove, FindHandler("List7", Event::MouseMove));
  List6_MouseMove(m.form);
  EXPECT_EQ("Double-click the CLSID copy to Clipboard", m.lists[6].toolTip);
  EXPECT_EQ("", m.lists[7].toolTip);
  List7_MouseMove(m.form);
  EXPECT_EQ("Double-click the CLSID copy to Clipboard", m.lists[7].toolTip);
  for (int i : {1, 2, 3, 4, 5}) EXPECT_EQ("", m.lists[i].toolTip) << i;
  // The first four carry it from the window's design; the menu list has none.
  for (const char* name : {"List1", "List2", "List3", "List4"}) {
    EXPECT_TRUE(FindControl(Form1Layout(), name)->flags & kHint) << name;
  }
  EXPECT_FALSE(FindControl(Form1Layout(), "List5")->flags & kHint);
  EXPECT_EQ(nullptr, FindHandler("List5", Event::MouseMove));
  EXPECT_TRUE(m.desktop.messages.empty());
}

TEST(BrowserLinks, HelpAndProAskFirstAndOpenOnlyOnYes) {
  const std::string help =
      HelpTarget(BRV_HELP_URL, "C:\\Program Files\\Brovantine\\Brovantine.exe");
  const struct {
    void (*handler)(Form1&);
    const char* button;
    const char* title;
    std::string target;
  } cases[] = {
      {Command8_Click, "Command8", "Brovantine Online Help", help},
      {Command11_Click, "Command11", "Brovantine Pro", BRV_PRO_URL},
  };
  for (const auto& c : cases) {
    MemoryForm m;
    EXPECT_EQ(c.handler, FindHandler(c.button, Event::Click));
    m.desktop.answers = {MsgAnswer::No};
    c.handler(m.form);
    c.handler(m.form);  // closed without an answer
    EXPECT_TRUE(m.desktop.opened.empty()) << c.button;
    m.desktop.answers = {MsgAnswer::Yes};
    c.handler(m.form);
    ASSERT_EQ(3u, m.desktop.messages.size());
    for (const ShownMessage& shown : m.desktop.messages) {
      EXPECT_EQ("This opens your web browser, do you want to continue?", shown.text);
      EXPECT_EQ(c.title, shown.title);
      EXPECT_EQ(MsgButtons::YesNo, shown.buttons);
      EXPECT_EQ(MsgIcon::None, shown.icon);
    }
    ASSERT_EQ(1u, m.desktop.opened.size()) << c.button;
    EXPECT_EQ("open", m.desktop.opened[0].first);
    EXPECT_EQ(c.target, m.desktop.opened[0].second);
  }
}

TEST(BrowserLinks, HelpPageLiesBesideTheRunningProgram) {
  EXPECT_EQ("C:\\Program Files\\Brovantine\\brovantine-help.html",
            HelpTarget("", "C:\\Program Files\\Brovantine\\Brovantine.exe"));
  // At the root of a drive, and under another name: still the program's own
  // folder, with one separator.
  EXPECT_EQ("D:\\brovantine-help.html", HelpTarget("", "D:\\renamed.exe"));
  EXPECT_EQ("\\\\server\\share\\tools\\brovantine-help.html",
            HelpTarget("", "\\\\server\\share\\tools\\b.exe"));
  // A page set at build time wins.
  EXPECT_EQ("https://help.example/", HelpTarget("https://help.example/", "D:\\renamed.exe"));
  // With the default setting, the help button follows the program's path.
  if (std::string(BRV_HELP_URL).empty()) {
    MemoryForm m;
    m.desktop.programPath = "E:\\Brovantine.exe";
    m.desktop.answers = {MsgAnswer::Yes};
    Command8_Click(m.form);
    ASSERT_EQ(1u, m.desktop.opened.size());
    EXPECT_EQ("E:\\brovantine-help.html", m.desktop.opened[0].second);
  }
}

// An odd file: spaces, "%", "&", non-ASCII letters, a name of 255
// characters, a path of nearly the longest the system takes.
const std::string kOdd = "C:\\Odd 100% & \xC3\xA9t\xC3\xA9\\" + std::string(255, 'n') + "\\" +
                         std::string(32400, 'p') + ".exe";
const char kEditorKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit";
const char kMenuName[] = "&Find 100% \xC3\xBC";

// An entry of each kind; only the machine button's file is missing and the
// disabled object's on the network.
void SeedEntries(MemoryForm& m) {
  Registry& r = m.registry;
  for (const char* file : {"C:\\a.dll", "C:\\b.dll"}) m.files.AddFile(file, {});
  m.files.AddFile(kOdd, {});
  CreateKey(r, kLocalMachine, Bho(kA));
  CreateKey(r, kLocalMachine, Bho(std::string(" ") + kC + std::string("\0x", 2)));
  RegisterClass(r, kA, "A", "C:\\a.dll");
  RegisterClass(r, {kClassesRoot, View::k64, Clsid32(kB)}, "B", "C:\\b.dll");
  RegisterClass(r, kC, "C", "\\\\server\\share\\c.dll");
  SetString(r, kCurrentUser, Button(kA), "Exec", "\"" + kOdd + "\" /x");
  SetString(r, kLocalMachine, Button(kB), "Exec", "C:\\gone.exe");
  SetString(r, kLocalMachine, Wow(kMachineToolbarsPath), kB, "");
  SetString(r, kCurrentUser, MenuEntry(kMenuName), "", "C:\\a.dll");
  CreateKey(r, kCurrentUser, kEditorKey);
  m.files.windows = "C:\\Win dows";
  Refresh_Click(m.form);
}

enum Then { Nothing, KeyGone, FileGone, Refused, NotWritable };

TEST(EntryMenu, EachItemAsksExactlyWhatItShouldOrIsGreyed) {
  using A = EntryAction;
  const std::string editor = "start|C:\\Win dows\\regedit.exe|/m;#Computer\\HKEY_";
  const std::string bho = editor + "LOCAL_MACHINE\\" + Bho(kA) + "#";
  const std::string search = "open|" + std::string(BRV_SEARCH_URL), none = "#(missing)#",
                    e2 = "\nsystem error 2";
  // Each item's access key where it applies ("-" where greyed), then
  // "what|target|arguments;" for each thing asked, "#", LastKey, "#", the box.
  const struct {
    const char* list;
    A chosen;
    Then then;
    std::string outcome;
  } cases[] = {
      {"List4", A::OpenKey, Nothing,
       "CRlpS" + editor + "LOCAL_MACHINE\\" + Wow(kMachineToolbarsPath) + "#"},
      {"List6", A::FileProperties, Nothing, "CRlpSproperties|C:\\a.dll;" + none},
      {"List1", A::OpenLocation, Nothing, "CRlpSselect|" + kOdd + ";" + none},
      {"List2", A::SearchWeb, Nothing,
       "CR--S" + search + "%7BBBBBBBBB-0000-0000-0000-000000000002%7D;" + none + kBrowserQuestion},
      {"List5", A::SearchWeb, Nothing,
       "RlpS" + search + "%26Find%20100%25%20%C3%BC;" + none + kBrowserQuestion},
      {"List7", A::OpenKey, Nothing, "C---S" + none},  // a NUL in its name
      {"List3", A::OpenKey, Nothing, none},            // an empty list: no menu
      {"List1", A::OpenKey, KeyGone,
       "CRlpS" + none + "The key HKEY_CURRENT_USER\\" + Button(kA) +
           " is no longer in the registry: Refresh shows the lists as they are now."},
      {"List6", A::FileProperties, FileGone,
       "CRlpS" + none + "The file C:\\a.dll is no longer there."},
      {"List6", A::OpenKey, Refused,
       "CRlpS" + bho + "The Registry Editor (C:\\Win dows\\regedit.exe) could not be started." +
           e2},
      {"List5", A::OpenLocation, Refused,
       "RlpSselect|C:\\a.dll;" + none + "Explorer could not show the file C:\\a.dll." + e2},
      {"List6", A::OpenKey, NotWritable,
       "CRlpS" + none + "The Registry Editor was not opened: the value HKEY_CURRENT_USER\\" +
           kEditorKey + "\\LastKey (the key it opens at) could not be written: system error 5"},
  };
  for (const auto& c : cases) {
    MemoryForm m;
    SeedEntries(m);
    m.lists[c.list[4] - '0'].index = 0;
    const EntryMenu menu = OpenEntryMenu(m.form, c.list);
    std::string outcome;
    for (const EntryMenuItem& item : menu.items) {
      const std::string caption = item.caption;
      outcome += item.enabled ? caption[caption.find('&') + 1] : '-';
    }
    if (c.then == KeyGone) m.registry.DeleteTree(kCurrentUser, Button(kA));
    if (c.then == FileGone) m.files = MemoryFiles();
    if (c.then == Refused) m.desktop.refusal = 2;
    if (c.then == NotWritable) m.registry.Protect(kCurrentUser, kEditorKey);
    const std::vector<std::string> before = DumpRegistry(m.registry);
    m.desktop.answers = {MsgAnswer::Yes};
    ChooseEntryAction(m.form, menu, c.chosen);
    for (const auto& open : m.desktop.opened) outcome += open.first + "|" + open.second + ";";
    outcome += "#" + ReadString(m.registry, kCurrentUser, kEditorKey, "LastKey") + "#";
    for (const ShownMessage& shown : m.desktop.messages) {
      outcome += (shown.title == "Brovantine" ? "" : shown.title + ": ") + shown.text;
    }
    EXPECT_EQ(c.outcome, outcome) << c.list;
    m.registry.DeleteValue(kCurrentUser, kEditorKey, "LastKey");
    EXPECT_EQ(before, DumpRegistry(m.registry)) << c.list;  // nothing else written
  }
}

TEST(AboutWindow, MenuAndButtonOpenIt) {
  MemoryForm m;
  EXPECT_EQ(About_Click, FindHandler("About", Event::Click));
  EXPECT_EQ(Command7_Click, FindHandler("Command7", Event::Click));
  About_Click(m.form);
  Command7_Click(m.form);
  EXPECT_EQ((std::vector<std::string>{"ShowAbout", "ShowAbout"}), m.windows.calls);
  EXPECT_TRUE(m.desktop.messages.empty());
}

TEST(AboutWindow, OkFrameAndKeysCloseItAndLinksOpenWithoutAsking) {
  MemoryForm m;
  SplashForm about{&m.desktop, &m.windows};
  splash::FindClickHandler("Command1")(about);
  splash::FindClickHandler("Frame1")(about);
  splash::Form_KeyPress(about);
  EXPECT_EQ((std::vector<std::string>{"CloseAbout", "CloseAbout", "CloseAbout"}), m.windows.calls);
  EXPECT_TRUE(m.desktop.opened.empty());

  m.windows.calls.clear();
  splash::FindClickHandler("Label1")(about);
  splash::FindClickHandler("Label2")(about);
  ASSERT_EQ(2u, m.desktop.opened.size());
  EXPECT_EQ("open", m.desktop.opened[0].first);
  EXPECT_EQ(BRV_HOME_URL, m.desktop.opened[0].second);
  EXPECT_EQ("open", m.desktop.opened[1].first);
  EXPECT_EQ(std::string("mailto:") + BRV_FEEDBACK_EMAIL + "?Subject=Brovantine feedback",
            m.desktop.opened[1].second);
  // The window stays open and nothing asks first.
  EXPECT_TRUE(m.windows.calls.empty());
  EXPECT_TRUE(m.desktop.messages.empty());
  // The other controls have no click of their own.
  for (const char* name : {"Label4", "lblWarning", "lblPlatform", "Image1", "Line1"}) {
    EXPECT_EQ(nullptr, splash::FindClickHandler(name)) << name;
  }
}

TEST(AboutWindow, LayoutTableMatchesTheDesign) {
  const FormSpec& layout = SplashLayout();
  EXPECT_STREQ("About - Brovantine v2.4", layout.caption);
  EXPECT_EQ(5595, layout.clientWidth);
  EXPECT_EQ(3240, layout.clientHeight);
  const ControlSpec* label2 = FindControl(layout, "Label2");
  ASSERT_NE(nullptr, label2);
  EXPECT_STREQ(BRV_MAKER_NAME, label2->caption);
  EXPECT_EQ(FontKind::ArialBoldUnderline9, label2->font);
  EXPECT_TRUE(label2->flags & kBlueText);
  EXPECT_TRUE(FindControl(layout, "Label1")->flags & kBlueText);
  EXPECT_EQ(FontKind::ArialBold9, FindControl(layout, "lblWarning")->font);
  EXPECT_FALSE(FindControl(layout, "Line1")->flags & kGreyLine);
  EXPECT_TRUE(FindControl(layout, "Line2")->flags & kGreyLine);
  EXPECT_EQ(ControlKind::Picture, FindControl(layout, "Image1")->kind);
  // Everything but the OK button lies in the frame; lblPlatform past its
  // right edge, where it does not show.
  const ControlSpec* frame = FindControl(layout, "Frame1");
  for (const ControlSpec& control : layout.controls) {
    if (control.kind == ControlKind::Frame || std::string(control.name) == "Command1") continue;
    EXPECT_STREQ("Frame1", control.container) << control.name;
    const bool inside = control.left + control.width <= frame->width;
    EXPECT_EQ(std::string(control.name) != "lblPlatform", inside) << control.name;
  }
}

}  // namespace
}  // namespace brv
