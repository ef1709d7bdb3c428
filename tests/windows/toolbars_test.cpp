// The toolbar and context-menu panels of the real window, driven as a user
// drives them, on a scratch registry checked after each deletion.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "app/win32/controls_win.h"
#include "conformance/registry_conformance.h"
#include "harness_win.h"

namespace brv {
namespace {

const char kUser[] = "Software\\Microsoft\\Internet Explorer\\Toolbar\\WebBrowser";
const char kMachine[] = "Software\\Microsoft\\Internet Explorer\\Toolbar";
const char kMenuExt[] = "Software\\Microsoft\\Internet Explorer\\MenuExt";
const char kA[] = "{AAAAAAAA-0000-0000-0000-000000000001}";
const char kB[] = "{BBBBBBBB-0000-0000-0000-000000000002}";
const char kLinks[] = "{0E5CBF21-D15F-11D0-8301-00AA005B4383}";
const char kAddressBar[] = "{01E04581-4EEE-11D0-BFE9-00AA005B4383}";

std::string Clsid(const std::string& id) {
  return "CLSID\\" + id;
}

std::string MenuEntry(const std::string& name) {
  return std::string(kMenuExt) + "\\" + name;
}

// Value names of a key, sorted (Wine enumerates values in its own order).
std::vector<std::string> Values(HKEY root, const std::string& path) {
  std::vector<std::string> names;
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, ToWide(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
  std::vector<wchar_t> name(16384);
  for (DWORD i = 0;; ++i) {
    DWORD length = static_cast<DWORD>(name.size());
    if (RegEnumValueW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr)) break;
    names.push_back(FromWide(name.data(), length));
  }
  RegCloseKey(key);
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> Sorted(std::vector<std::string> items) {
  std::sort(items.begin(), items.end());
  return items;
}

class PanelsTest : public ::testing::Test, public WindowTest {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
  }
  void Register(HKEY root, const std::string& id, const std::string& name,
                const std::string& file) {
    SetData(root, root == HKEY_CURRENT_USER ? kUser : kMachine, id, REG_BINARY,
            std::string(1, '\0'));
    SetString(HKEY_CLASSES_ROOT, Clsid(id), "", name);
    SetString(HKEY_CLASSES_ROOT, Clsid(id) + "\\InProcServer32", "", file);
  }
  // Clicks the item with this text; false if it is not listed.
  bool Click(const char* list, const std::string& text) {
    const int index = FindListItem(Control(list), text);
    if (index < 0) return false;
    ClickListItem(Control(list), index);
    return true;
  }
  void Delete(const char* button, int answer = IDOK) {
    boxes.answers = {answer};
    ClickButton(Control(button));
  }
};

TEST_F(PanelsTest, ToolbarSelectedShowsItsRegistrationAndDeleteRemovesOnlyIt) {
  Register(HKEY_CURRENT_USER, kA, "Alpha Bar", "C:\\alpha.dll");
  SetString(HKEY_CLASSES_ROOT, Clsid(kA) + "\\Implemented Categories\\{X}", "", "");
  Register(HKEY_CURRENT_USER, kB, "Beta Bar", "C:\\beta.dll");
  SetData(HKEY_CURRENT_USER, kUser, "ITBarLayout", REG_BINARY, std::string(4, '\x11'));
  SetString(HKEY_LOCAL_MACHINE, kMachine, kA, "");
  SetString(HKEY_CURRENT_USER,
            std::string("Software\\Microsoft\\Internet Explorer\\Extensions\\") + kA, "MenuText",
            "Alpha menu");
  Open();
  EXPECT_EQ((std::vector<std::string>{kA, kB}), Sorted(ListItems(Control("List3"))));
  EXPECT_EQ(std::vector<std::string>{kA}, ListItems(Control("List4")));

  ASSERT_TRUE(Click("List4", kA));
  EXPECT_EQ("Alpha Bar", Text("Text3"));
  ASSERT_TRUE(Click("List3", kB));
  EXPECT_EQ("Beta Bar", Text("Text3"));
  EXPECT_EQ("C:\\beta.dll", Text("Text4"));
  EXPECT_EQ(-1, SendMessageW(Control("List4"), LB_GETCURSEL, 0, 0));
  ASSERT_TRUE(Click("List3", kA));
  EXPECT_EQ("Alpha Bar", Text("Text3"));
  EXPECT_EQ("C:\\alpha.dll", Text("Text4"));
  EXPECT_TRUE(Enabled("Command4"));

  const size_t before = boxes.seen.size();
  Delete("Command4", IDCANCEL);
  ASSERT_EQ(before + 1, boxes.seen.size());
  EXPECT_EQ(DeleteConfirmation(), boxes.seen.back());
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, Clsid(kA)));
  EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kUser, kA));

  ClickListItem(Control("List1"), 0);  // the toolbar-button panel's menu text
  EXPECT_EQ("Alpha menu", Text("Text9"));
  ASSERT_TRUE(Click("List3", kA));
  Delete("Command4");
  EXPECT_EQ(before + 2, boxes.seen.size());
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, Clsid(kA)));
  EXPECT_EQ((std::vector<std::string>{"ITBarLayout", kB}), Values(HKEY_CURRENT_USER, kUser));
  EXPECT_EQ(std::vector<std::string>{kB}, SubKeys(HKEY_CLASSES_ROOT, "CLSID"));
  EXPECT_EQ(std::vector<std::string>{kA}, Values(HKEY_LOCAL_MACHINE, kMachine));
  EXPECT_EQ(std::vector<std::string>{kB}, ListItems(Control("List3")));
  EXPECT_EQ(std::vector<std::string>{kA}, ListItems(Control("List4")));
  EXPECT_EQ("", Text("Text3"));
  EXPECT_EQ("", Text("Text4"));
  EXPECT_EQ("", Text("Text9"));

  ASSERT_TRUE(Click("List4", kA));  // the class is gone; the value is not
  EXPECT_EQ("Name does not exist in registry", Text("Text3"));
  EXPECT_EQ("DLLName does not Exist in registry", Text("Text4"));
  Delete("Command4");
  EXPECT_TRUE(Values(HKEY_LOCAL_MACHINE, kMachine).empty());
  EXPECT_TRUE(ListItems(Control("List4")).empty());
  EXPECT_EQ((std::vector<std::string>{"ITBarLayout", kB}), Values(HKEY_CURRENT_USER, kUser));
  EXPECT_EQ(std::vector<std::string>{kB}, SubKeys(HKEY_CLASSES_ROOT, "CLSID"));
}

TEST_F(PanelsTest, ProtectedBandsStayWhateverTheirCase) {
  const std::string links = "{0e5cbf21-d15f-11d0-8301-00aa005b4383}";
  Register(HKEY_CURRENT_USER, kLinks, "Links", "C:\\shdocvw.dll");
  Register(HKEY_LOCAL_MACHINE, links, "Links", "C:\\shdocvw.dll");
  Register(HKEY_LOCAL_MACHINE, kAddressBar, "Address", "C:\\browseui.dll");
  Open();
  ASSERT_TRUE(Click("List3", kLinks));
  const size_t before = boxes.seen.size();
  Delete("Command4");
  ASSERT_EQ(before + 2, boxes.seen.size());
  EXPECT_EQ("Brovantine", boxes.seen.back().title);
  EXPECT_EQ("You cannot delete Links and Addressbar bands", boxes.seen.back().text);
  EXPECT_TRUE(boxes.seen.back().hasOk);
  EXPECT_FALSE(boxes.seen.back().hasCancel);
  EXPECT_FALSE(boxes.seen.back().hasIcon);

  ASSERT_TRUE(Click("List4", links));
  Delete("Command4");
  ASSERT_TRUE(Click("List4", kAddressBar));
  Delete("Command4");
  EXPECT_EQ(before + 4, boxes.seen.size());  // the confirmations only
  EXPECT_EQ(std::vector<std::string>{kLinks}, Values(HKEY_CURRENT_USER, kUser));
  EXPECT_EQ(2u, Values(HKEY_LOCAL_MACHINE, kMachine).size());
  EXPECT_EQ(2u, SubKeys(HKEY_CLASSES_ROOT, "CLSID").size());
}

TEST_F(PanelsTest, MissingPerUserKeyAndLongNamesHideNoToolbar) {
  const std::string longest = "{" + std::string(16382, 'L');
  SetString(HKEY_LOCAL_MACHINE, kMachine, std::string(2000, 'x'), "");
  SetString(HKEY_LOCAL_MACHINE, kMachine, "{" + std::string(2500, 'y'), "");
  SetString(HKEY_LOCAL_MACHINE, kMachine, longest, "");
  Register(HKEY_LOCAL_MACHINE, kB, "Beta Bar", "C:\\beta.dll");
  Open();
  EXPECT_TRUE(ListItems(Control("List3")).empty());
  // Compared without printing: the names run to thousands of characters.
  EXPECT_TRUE(Sorted({longest, "{" + std::string(2500, 'y'), kB}) ==
              Sorted(ListItems(Control("List4"))));

  ASSERT_TRUE(Click("List4", longest));
  EXPECT_EQ("Name does not exist in registry", Text("Text3"));
  Delete("Command4");
  EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kMachine, longest));
  EXPECT_EQ(3u, Values(HKEY_LOCAL_MACHINE, kMachine).size());
  EXPECT_EQ(2u, ListItems(Control("List4")).size());
}

TEST_F(PanelsTest, ToolbarValueNamesNeverLeadTheDeleteIntoAnotherKey) {
  Register(HKEY_CURRENT_USER, kA, "Alpha Bar", "C:\\alpha.dll");
  Register(HKEY_CURRENT_USER, kLinks, "Links", "C:\\shdocvw.dll");
  const std::string intoClass = std::string(kA) + "\\InProcServer32";
  const std::string intoBand = std::string(kLinks) + "\\";
  const std::string nonAnsi = "{\xC3\xA9\xE4\xB8\xAD-\xD0\xB6-\xF0\x9F\x98\x80}";
  const std::string spaced = std::string(kA) + " ";
  for (const std::string& name : {intoClass, intoBand, nonAnsi, spaced}) {
    SetString(HKEY_CURRENT_USER, kUser, name, "");
  }
  SetString(HKEY_CLASSES_ROOT, Clsid(nonAnsi), "", "\xE5\x90\x8D\xE5\x89\x8D");
  // Listed as itself, its NUL marked; never addressed as the name before it.
  const std::string withNul = std::string(kA) + '\0' + "hidden";
  const std::string withNulShown = std::string(kA) + "\xE2\x90\x80hidden";
  WriteRawValue(kUser, withNul, {REG_SZ, std::string(2, '\0')});
  ASSERT_EQ(7u, Values(HKEY_CURRENT_USER, kUser).size());
  Open();
  ASSERT_EQ(7u, ListItems(Control("List3")).size());

  ASSERT_TRUE(Click("List3", nonAnsi));
  EXPECT_EQ("\xE5\x90\x8D\xE5\x89\x8D", Text("Text3"));
  ASSERT_TRUE(Click("List3", intoClass));
  EXPECT_EQ("Name does not exist in registry", Text("Text3"));
  EXPECT_EQ("DLLName does not Exist in registry", Text("Text4"));
  for (const std::string& name : {intoClass, intoBand, nonAnsi, spaced}) {
    ASSERT_TRUE(Click("List3", name)) << name;
    Delete("Command4");
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kUser, name)) << name;
  }
  EXPECT_EQ((std::vector<std::string>{kLinks, kA, withNul}), Values(HKEY_CURRENT_USER, kUser));
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, Clsid(kA) + "\\InProcServer32"));
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, Clsid(kLinks)));
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, Clsid(nonAnsi)));
  EXPECT_EQ((std::vector<std::string>{kLinks, kA, withNulShown}),
            Sorted(ListItems(Control("List3"))));

  // Its class is the first toolbar's, which the delete leaves to it.
  ASSERT_TRUE(Click("List3", withNulShown));
  EXPECT_EQ("Alpha Bar", Text("Text3"));
  Delete("Command4");
  EXPECT_EQ((std::vector<std::string>{kLinks, kA}), Values(HKEY_CURRENT_USER, kUser));
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, Clsid(kA) + "\\InProcServer32"));
}

TEST_F(PanelsTest, ContextMenuEntryShownAndDeletedAlone) {
  const std::string nonAnsi = "\xC3\xA9tendre \xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x98\x80";
  SetString(HKEY_CURRENT_USER, MenuEntry("&Translate"), "", "C:\\translate.htm");
  SetString(HKEY_CURRENT_USER, MenuEntry("&Translate") + "\\Deeper", "v", "x");
  SetString(HKEY_CURRENT_USER, MenuEntry("&Translate "), "", "trailing space");
  SetString(HKEY_CURRENT_USER, MenuEntry("download all"), "", "res://get.dll/all.htm");
  SetString(HKEY_CURRENT_USER, MenuEntry(nonAnsi), "", "C:\\\xE4\xB8\xAD.htm");
  CreateKey(HKEY_CURRENT_USER, MenuEntry("No command"));
  Open();
  EXPECT_EQ((std::vector<std::string>{"&TRANSLATE", "&TRANSLATE ", "DOWNLOAD ALL", "NO COMMAND",
                                      "\xC3\x89TENDRE \xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x98\x80"}),
            ListItems(Control("List5")));

  ASSERT_TRUE(Click("List5", "DOWNLOAD ALL"));
  EXPECT_EQ("res://get.dll/all.htm", Text("Text7"));
  ASSERT_TRUE(Click("List5", "NO COMMAND"));
  EXPECT_EQ("res://get.dll/all.htm", Text("Text7"));
  ASSERT_TRUE(Click("List5", "&TRANSLATE "));
  EXPECT_EQ("trailing space", Text("Text7"));

  const size_t before = boxes.seen.size();
  Delete("Command10", IDCANCEL);
  ASSERT_EQ(before + 1, boxes.seen.size());
  EXPECT_EQ(DeleteConfirmation(), boxes.seen.back());
  EXPECT_EQ(5u, SubKeys(HKEY_CURRENT_USER, kMenuExt).size());

  Delete("Command10");
  EXPECT_EQ(before + 2, boxes.seen.size());
  EXPECT_EQ("", Text("Text7"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, MenuEntry("&Translate ")));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, MenuEntry("&Translate") + "\\Deeper"));
  EXPECT_EQ(4u, ListItems(Control("List5")).size());

  ASSERT_TRUE(Click("List5", "\xC3\x89TENDRE \xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x98\x80"));
  EXPECT_EQ("C:\\\xE4\xB8\xAD.htm", Text("Text7"));
  Delete("Command10");
  ASSERT_TRUE(Click("List5", "&TRANSLATE"));
  Delete("Command10");
  EXPECT_EQ((std::vector<std::string>{"download all", "No command"}),
            SubKeys(HKEY_CURRENT_USER, kMenuExt));
  EXPECT_EQ((std::vector<std::string>{"DOWNLOAD ALL", "NO COMMAND"}), ListItems(Control("List5")));
}

}  // namespace
}  // namespace brv
