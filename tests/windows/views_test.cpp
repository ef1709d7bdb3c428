// Both registry views in the real window, on the real registry: the 32-bit
// view's entries listed and marked, their details, and every action on them
// checked in both views afterwards.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "app/win32/controls_win.h"
#include "harness_win.h"

namespace brv {
namespace {

const char kBho[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects";
const char kBho32[] =
    "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects";
const char kButtons32[] = "Software\\Wow6432Node\\Microsoft\\Internet Explorer\\Extensions";
const char kToolbars32[] = "Software\\Wow6432Node\\Microsoft\\Internet Explorer\\Toolbar";
const char kA[] = "{A32A32A3-0000-4000-8000-000000000001}";
const char kB[] = "{B32B32B3-0000-4000-8000-000000000002}";
const char kMark[] = " (32-bit)";

std::string Under(const char* parent, const std::string& name) {
  return std::string(parent) + "\\" + name;
}

// The 32-bit view's class keys: a flag on the classes root bypasses the
// scratch override, so these live in the prefix's own 32-bit CLSID and are
// removed again by the fixture.
void SetClass32(const std::string& id, const std::string& sub, const std::string& text) {
  HKEY key = nullptr;
  const std::string path = "CLSID\\" + id + (sub.empty() ? "" : "\\" + sub);
  ASSERT_EQ(ERROR_SUCCESS,
            RegCreateKeyExW(HKEY_CLASSES_ROOT, ToWide(path).c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key, nullptr));
  const std::wstring data = ToWide(text);
  RegSetValueExW(key, L"", 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                 static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

bool Class32Exists(const std::string& id) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, ToWide("CLSID\\" + id).c_str(), 0,
                    KEY_READ | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

void RemoveClasses32() {
  for (const char* id : {kA, kB}) {
    HKEY parent = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID", 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, &parent) ==
        ERROR_SUCCESS) {
      RegDeleteTreeW(parent, ToWide(id).c_str());
      RegCloseKey(parent);
    }
  }
}

std::string ReadClipboard() {
  std::string text = "(not open)";
  if (!OpenClipboard(nullptr)) return text;
  text = "(empty)";
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const wchar_t* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = FromWide(chars, wcslen(chars));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

class ViewsWindowTest : public ::testing::Test, public WindowTest {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
  }
  void SetUp() override { RemoveClasses32(); }
  void TearDown() override { RemoveClasses32(); }
  void Click(const char* list, const std::string& item, bool doubleClick = false) {
    const int index = FindListItem(Control(list), item);
    ASSERT_LE(0, index) << item;
    ClickListItem(Control(list), index, doubleClick);
  }

  // One object in both views, each with its own class; one in the 32-bit
  // view only, disabled.
  void SeedObjects() {
    SetString(HKEY_LOCAL_MACHINE, Under(kBho, kA), "view", "64");
    SetString(HKEY_LOCAL_MACHINE, Under(kBho32, kA), "view", "32");
    SetString(HKEY_LOCAL_MACHINE, Under(kBho32, kA) + "\\Settings", "level", "3");
    SetString(HKEY_LOCAL_MACHINE, Under(kBho32, std::string(" ") + kB), "view", "32");
    SetString(HKEY_CLASSES_ROOT, "CLSID\\" + std::string(kA), "", "Alpha 64");
    SetString(HKEY_CLASSES_ROOT, "CLSID\\" + std::string(kA) + "\\InprocServer32", "",
              "C:\\a64.dll");
    SetClass32(kA, "", "Alpha 32");
    SetClass32(kA, "InprocServer32", "C:\\a32.dll");
    SetClass32(kB, "", "Beta 32");
  }
};

TEST_F(ViewsWindowTest, The32BitViewIsListedMarkedWithItsOwnDetails) {
  SeedObjects();
  SetString(HKEY_LOCAL_MACHINE, Under(kButtons32, kB), "ButtonText", "Beta button");
  SetString(HKEY_LOCAL_MACHINE, Under(kButtons32, kB), "Exec", "C:\\beta.exe");
  SetString(HKEY_LOCAL_MACHINE, kToolbars32, kB, "");
  Open();
  EXPECT_EQ((std::vector<std::string>{kA, std::string(kA) + kMark}), ListItems(Control("List6")));
  EXPECT_EQ((std::vector<std::string>{std::string(" ") + kB + kMark}), ListItems(Control("List7")));
  EXPECT_EQ((std::vector<std::string>{std::string(kB) + kMark}), ListItems(Control("List2")));
  EXPECT_EQ((std::vector<std::string>{std::string(kB) + kMark}), ListItems(Control("List4")));

  Click("List6", std::string(kA) + kMark);
  EXPECT_EQ("Alpha 32", Text("Text5"));
  EXPECT_EQ("C:\\a32.dll", Text("Text6"));
  Click("List6", kA);
  EXPECT_EQ("Alpha 64", Text("Text5"));
  EXPECT_EQ("C:\\a64.dll", Text("Text6"));
  Click("List4", std::string(kB) + kMark);
  EXPECT_EQ("Beta 32", Text("Text3"));
  Click("List2", std::string(kB) + kMark);
  EXPECT_EQ("Beta button", Text("Text1"));
  EXPECT_EQ("C:\\beta.exe", Text("Text2"));

  // The copy is the identifier alone.
  boxes.answers = {IDOK};
  Click("List7", std::string(" ") + kB + kMark, true);
  Pump();
  EXPECT_EQ(kB, ReadClipboard());
}

TEST_F(ViewsWindowTest, DeleteTakesThe32BitEntryAndItsClassOnly) {
  SeedObjects();
  Open();
  Click("List6", std::string(kA) + kMark);
  boxes.answers = {IDOK};
  ClickButton(Control("Command6"));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Under(kBho32, kA)));
  EXPECT_FALSE(Class32Exists(kA));
  // The 64-bit twin and its class are whole; the neighbour too.
  EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, Under(kBho, kA), "view"));
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "CLSID\\" + std::string(kA) + "\\InprocServer32"));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, Under(kBho32, std::string(" ") + kB)));
  EXPECT_TRUE(Class32Exists(kB));
  EXPECT_EQ((std::vector<std::string>{kA}), ListItems(Control("List6")));
}

TEST_F(ViewsWindowTest, DisableEnableAndExplorerCommandsActInTheEntrysView) {
  SeedObjects();
  Open();
  Click("List6", std::string(kA) + kMark);
  ClickButton(Control("Command2"));  // disable the 32-bit one
  EXPECT_EQ((std::vector<std::string>{" " + std::string(kA), " " + std::string(kB)}),
            SubKeys(HKEY_LOCAL_MACHINE, kBho32));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, Under(kBho32, std::string(" ") + kA) + "\\Settings"));
  EXPECT_EQ((std::vector<std::string>{kA}), SubKeys(HKEY_LOCAL_MACHINE, kBho));

  Click("List7", std::string(" ") + kB + kMark);
  ClickButton(Control("Command3"));  // enable the other 32-bit one
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, Under(kBho32, kB)));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Under(kBho, kB)));

  Click("List6", std::string(kB) + kMark);
  boxes.answers = {IDOK};
  ClickButton(Control("Command5"));
  EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, Under(kBho32, kB), "NoExplorer"));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Under(kBho, kB)));
  EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, Under(kBho, kA), "NoExplorer"));

  SetString(HKEY_LOCAL_MACHINE, Under(kBho, kB), "", "");  // a 64-bit twin that keeps its value
  SetString(HKEY_LOCAL_MACHINE, Under(kBho, kB), "NoExplorer", "1");
  Click("List6", std::string(kB) + kMark);
  boxes.answers = {IDOK};
  ClickButton(Control("Command9"));
  EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, Under(kBho32, kB), "NoExplorer"));
  EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, Under(kBho, kB), "NoExplorer"));
}

}  // namespace
}  // namespace brv
