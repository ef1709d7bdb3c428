// The Browser Helper Objects panel of the real window, on the real registry.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include "app/win32/controls_win.h"
#include "harness_win.h"

namespace brv {
namespace {

const char kBho[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects";
const char kA[] = "{AAAAAAAA-0000-0000-0000-000000000001}";
const char kLowerA[] = "{aaaaaaaa-0000-0000-0000-000000000001}";
const char kB[] = "{BBBBBBBB-0000-0000-0000-000000000002}";
const char kC[] = "{CCCCCCCC-0000-0000-0000-000000000003}";

std::string Bho(const std::string& name) {
  return std::string(kBho) + "\\" + name;
}
std::string Clsid(const std::string& id) {
  return "CLSID\\" + id;
}

const std::string kNoExplorerBytes("1\0\0\0", 4);

class BhoWindowTest : public ::testing::Test, public WindowTest {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
  }
  void Click(const char* list, const std::string& item) {
    const int index = FindListItem(Control(list), item);
    ASSERT_LE(0, index) << item;
    ClickListItem(Control(list), index);
  }
};

TEST_F(BhoWindowTest, DisableAndEnableMoveTheKeyWithEverythingItHolds) {
  SetData(HKEY_LOCAL_MACHINE, Bho(kLowerA), "NoExplorer", REG_SZ, kNoExplorerBytes);
  SetString(HKEY_LOCAL_MACHINE, Bho(kLowerA) + "\\Settings", "level", "3");
  SetString(HKEY_LOCAL_MACHINE, Bho(kB), "", "neighbour");
  SetString(HKEY_CLASSES_ROOT, Clsid(kA), "", "Alpha helper");
  SetString(HKEY_CLASSES_ROOT, Clsid(kA) + "\\InprocServer32", "", "C:\\alpha.dll");
  Open();
  EXPECT_EQ((std::vector<std::string>{kA, kB}), ListItems(Control("List6")));
  EXPECT_FALSE(Enabled("Command2") || Enabled("Command3") || Enabled("Command5") ||
               Enabled("Command9"));

  Click("List6", kA);
  EXPECT_EQ("Alpha helper", Text("Text5"));
  EXPECT_EQ("C:\\alpha.dll", Text("Text6"));
  EXPECT_TRUE(Enabled("Command2") && Enabled("Command5") && Enabled("Command9"));
  EXPECT_FALSE(Enabled("Command3"));

  ClickButton(Control("Command2"));
  const std::string disabled = std::string(" ") + kLowerA;
  EXPECT_EQ((std::vector<std::string>{disabled, kB}), SubKeys(HKEY_LOCAL_MACHINE, kBho));
  EXPECT_EQ((StoredValue{REG_SZ, kNoExplorerBytes}),
            ReadValue(HKEY_LOCAL_MACHINE, Bho(disabled), "NoExplorer"));
  EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, Bho(disabled) + "\\Settings", "level"));
  EXPECT_EQ(std::vector<std::string>{kB}, ListItems(Control("List6")));
  EXPECT_EQ(std::vector<std::string>{std::string(" ") + kA}, ListItems(Control("List7")));
  EXPECT_EQ("", Text("Text5"));

  Click("List7", std::string(" ") + kA);
  EXPECT_EQ("Alpha helper", Text("Text5"));
  EXPECT_TRUE(Enabled("Command3"));
  EXPECT_FALSE(Enabled("Command2") || Enabled("Command5") || Enabled("Command9"));
  ClickButton(Control("Command3"));
  EXPECT_EQ((std::vector<std::string>{kLowerA, kB}), SubKeys(HKEY_LOCAL_MACHINE, kBho));
  EXPECT_EQ((StoredValue{REG_SZ, kNoExplorerBytes}),
            ReadValue(HKEY_LOCAL_MACHINE, Bho(kLowerA), "NoExplorer"));
  EXPECT_EQ((StoredValue{REG_SZ, std::string("3\0\0\0", 4)}),
            ReadValue(HKEY_LOCAL_MACHINE, Bho(kLowerA) + "\\Settings", "level"));
  EXPECT_EQ((std::vector<std::string>{kA, kB}), ListItems(Control("List6")));
  EXPECT_TRUE(ListItems(Control("List7")).empty());
  EXPECT_TRUE(Enabled("Command3"));  // the buttons keep their state across the refill
  EXPECT_EQ(1u, boxes.seen.size());  // only the start-up note
}

TEST_F(BhoWindowTest, DeleteRemovesRegistrationAndClassKeyAndNothingElse) {
  SetString(HKEY_LOCAL_MACHINE, Bho(kA) + "\\Settings", "level", "3");
  CreateKey(HKEY_LOCAL_MACHINE, Bho(std::string(" ") + kB));
  CreateKey(HKEY_LOCAL_MACHINE, Bho(kC));
  SetString(HKEY_CLASSES_ROOT, Clsid(kA) + "\\InprocServer32", "", "C:\\a.dll");
  SetString(HKEY_CLASSES_ROOT, Clsid(kB) + "\\InprocServer32", "", "C:\\b.dll");
  SetString(HKEY_CLASSES_ROOT, Clsid(kC), "", "Gamma");
  Open();

  Click("List6", kA);
  boxes.answers = {IDCANCEL};
  ClickButton(Control("Command6"));
  ASSERT_EQ(2u, boxes.seen.size());
  EXPECT_EQ(DeleteConfirmation(), boxes.seen[1]);
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, Bho(kA)));

  boxes.answers = {IDOK};
  ClickButton(Control("Command6"));
  EXPECT_EQ((std::vector<std::string>{std::string(" ") + kB, kC}),
            SubKeys(HKEY_LOCAL_MACHINE, kBho));
  EXPECT_EQ((std::vector<std::string>{kB, kC}), SubKeys(HKEY_CLASSES_ROOT, "CLSID"));
  EXPECT_EQ(std::vector<std::string>{kC}, ListItems(Control("List6")));
  EXPECT_EQ("", Text("Text6"));

  Click("List7", std::string(" ") + kB);
  EXPECT_EQ("C:\\b.dll", Text("Text6"));
  boxes.answers = {IDOK};
  ClickButton(Control("Command6"));
  EXPECT_EQ(std::vector<std::string>{kC}, SubKeys(HKEY_LOCAL_MACHINE, kBho));
  EXPECT_EQ(std::vector<std::string>{kC}, SubKeys(HKEY_CLASSES_ROOT, "CLSID"));
  EXPECT_TRUE(ListItems(Control("List7")).empty());
  EXPECT_EQ("", Text("Text6"));
  EXPECT_EQ(4u, boxes.seen.size());
}

TEST_F(BhoWindowTest, ExplorerLoadingCommandsReportWhatHolds) {
  SetString(HKEY_LOCAL_MACHINE, Bho(kA), "keep", "k");
  Open();
  Click("List6", kA);
  ClickButton(Control("Command5"));
  ASSERT_EQ(2u, boxes.seen.size());
  EXPECT_EQ("Brovantine", boxes.seen[1].title);
  EXPECT_EQ("Done. The selected BHO will not load with Windows Explorer shell", boxes.seen[1].text);
  EXPECT_TRUE(boxes.seen[1].hasOk && !boxes.seen[1].hasCancel && !boxes.seen[1].hasIcon);
  EXPECT_EQ((StoredValue{REG_SZ, kNoExplorerBytes}),
            ReadValue(HKEY_LOCAL_MACHINE, Bho(kA), "NoExplorer"));

  ClickButton(Control("Command9"));
  ClickButton(Control("Command9"));  // already absent: still done
  ASSERT_EQ(4u, boxes.seen.size());
  EXPECT_EQ("Done. The selected BHO will load with Windows Explorer shell", boxes.seen[3].text);
  EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, Bho(kA), "NoExplorer"));
  EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, Bho(kA), "keep"));

  // The key goes from outside while it is still listed.
  ASSERT_EQ(ERROR_SUCCESS, SHDeleteKeyW(HKEY_LOCAL_MACHINE, ToWide(Bho(kA)).c_str()));
  ClickButton(Control("Command5"));
  ClickButton(Control("Command9"));
  ASSERT_EQ(6u, boxes.seen.size());
  const std::string expected =
      "Nothing was changed. The key of the selected BHO could not be opened:\n" +
      desktop.ErrorText(ERROR_FILE_NOT_FOUND);
  for (size_t i : {4u, 5u}) {
    EXPECT_EQ("Brovantine", boxes.seen[i].title);
    EXPECT_EQ(expected, boxes.seen[i].text);
  }
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Bho(kA)));
  EXPECT_EQ(std::vector<std::string>{kA}, ListItems(Control("List6")));  // no refill
}

TEST_F(BhoWindowTest, NamesOutsideTheCodePageAreHandledAsThemselves) {
  const std::string id = "{\xC3\xA9\xE4\xB8\xAD-\xD0\xB6-\xF0\x9F\x98\x80}";
  const std::string shown = "{\xC3\x89\xE4\xB8\xAD-\xD0\x96-\xF0\x9F\x98\x80}";
  SetString(HKEY_LOCAL_MACHINE, Bho(id), "v", "x");
  SetString(HKEY_CLASSES_ROOT, Clsid(id), "", "\xE4\xB8\xAD\xE6\x96\x87");
  Open();
  ASSERT_EQ(std::vector<std::string>{shown}, ListItems(Control("List6")));
  ClickListItem(Control("List6"), 0);
  EXPECT_EQ("\xE4\xB8\xAD\xE6\x96\x87", Text("Text5"));
  ClickButton(Control("Command2"));
  EXPECT_EQ(std::vector<std::string>{" " + id}, SubKeys(HKEY_LOCAL_MACHINE, kBho));
  EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, Bho(" " + id), "v"));
  ClickListItem(Control("List7"), 0);
  boxes.answers = {IDOK};
  ClickButton(Control("Command6"));
  EXPECT_TRUE(SubKeys(HKEY_LOCAL_MACHINE, kBho).empty());
  EXPECT_TRUE(SubKeys(HKEY_CLASSES_ROOT, "CLSID").empty());
}

}  // namespace
}  // namespace brv
