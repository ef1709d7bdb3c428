// The toolbar panel, on both windows. Value names are compared sorted: the
// registries enumerate values in orders of their own.
#include "panels/panel_test.h"

namespace brv {
namespace {

class ToolbarPanel : public PanelTest {
 protected:
  // A toolbar value with a class registration: name and file.
  void Register(RootKey root, const std::string& id, const std::string& name,
                const std::string& file) {
    SetData(reg, root, ToolbarKey(root), id, {kRegBinary, std::string(1, '\0')});
    RegisterClass(reg, id, name, file, "InProcServer32");
  }
  static const char* ToolbarKey(RootKey root) {
    return root == kCurrentUser ? kUserToolbarsPath : kMachineToolbarsPath;
  }
  std::vector<std::string> Toolbars(RootKey root) {
    return Sorted(Values(reg, root, ToolbarKey(root)));
  }
  void SelectAndDelete(const std::string& list, const std::string& name) {
    Select(list, name);
    ClickAnswering("Command4", MsgAnswer::Ok);
  }
};

TEST_F(ToolbarPanel, SelectedShowsItsRegistrationAndDeleteRemovesOnlyIt) {
  Register(kCurrentUser, kA, "Alpha Bar", "C:\\alpha.dll");
  SetString(reg, kClassesRoot, Clsid(kA) + "\\Implemented Categories\\{X}", "", "");
  Register(kCurrentUser, kB, "Beta Bar", "C:\\beta.dll");
  SetString(reg, kCurrentUser, kUserToolbarsPath, "ITBarLayout", "");
  SetString(reg, kLocalMachine, kMachineToolbarsPath, kA, "");  // the same for all users
  SetString(reg, kClassesRoot, Clsid("{AAAAAAAA-0000-0000-0000-0000000000011}"), "", "twin");
  SetString(reg, kCurrentUser, Button(kA), "MenuText", "Alpha menu");
  Open();
  EXPECT_EQ((std::vector<std::string>{kA, kB}), Sorted(d->Items("List3")));
  EXPECT_EQ(std::vector<std::string>{kA}, d->Items("List4"));

  Select("List4", kA);
  EXPECT_EQ("Alpha Bar", d->Text("Text3"));
  Select("List3", kB);
  EXPECT_EQ("Beta Bar", d->Text("Text3"));
  EXPECT_EQ("C:\\beta.dll", d->Text("Text4"));
  EXPECT_EQ(-1, d->ListIndex("List4"));
  Select("List3", kA);
  EXPECT_EQ("Alpha Bar", d->Text("Text3"));
  EXPECT_EQ("C:\\alpha.dll", d->Text("Text4"));
  EXPECT_TRUE(d->Enabled("Command4"));

  ClickAnswering("Command4", MsgAnswer::Cancel);
  EXPECT_EQ(std::vector<ShownMessage>{DeleteConfirmationBox()}, d->Boxes());
  EXPECT_TRUE(KeyExists(reg, kClassesRoot, Clsid(kA)));
  EXPECT_TRUE(ValueExists(reg, kCurrentUser, kUserToolbarsPath, kA));
  EXPECT_EQ("Alpha Bar", d->Text("Text3"));

  Select("List1", kA);  // the toolbar-button panel's menu text, which a delete empties
  EXPECT_EQ("Alpha menu", d->Text("Text9"));
  SelectAndDelete("List3", kA);
  EXPECT_EQ(2u, d->Boxes().size());  // nothing after the delete
  EXPECT_FALSE(KeyExists(reg, kClassesRoot, Clsid(kA)));
  EXPECT_EQ((std::vector<std::string>{"ITBarLayout", kB}), Toolbars(kCurrentUser));
  EXPECT_EQ((std::vector<std::string>{"{AAAAAAAA-0000-0000-0000-0000000000011}", kB}),
            SubKeys(reg, kClassesRoot, "CLSID"));
  EXPECT_TRUE(KeyExists(reg, kClassesRoot, Clsid(kB) + "\\InProcServer32"));
  EXPECT_EQ(std::vector<std::string>{kA}, Toolbars(kLocalMachine));
  EXPECT_EQ(std::vector<std::string>{kB}, d->Items("List3"));
  EXPECT_EQ(std::vector<std::string>{kA}, d->Items("List4"));
  EXPECT_EQ(-1, d->ListIndex("List3"));
  for (const char* box : {"Text3", "Text4", "Text9"}) EXPECT_EQ("", d->Text(box)) << box;
  EXPECT_TRUE(d->Enabled("Command4"));

  Select("List4", kA);  // the class is gone; the value is not
  EXPECT_EQ("Name does not exist in registry", d->Text("Text3"));
  EXPECT_EQ("DLLName does not Exist in registry", d->Text("Text4"));
  ClickAnswering("Command4", MsgAnswer::Ok);
  EXPECT_TRUE(Toolbars(kLocalMachine).empty());
  EXPECT_TRUE(d->Items("List4").empty());
  EXPECT_EQ((std::vector<std::string>{"ITBarLayout", kB}), Toolbars(kCurrentUser));
}

TEST_F(ToolbarPanel, ProtectedBandsAreKeptInAnyLetterCase) {
  const std::string links = "{0e5cbf21-d15f-11d0-8301-00aa005b4383}";
  const std::string addressBar = "{01e04581-4eee-11d0-bfe9-00aa005b4383}";
  Register(kCurrentUser, kLinks, "Links", "C:\\shdocvw.dll");
  Register(kCurrentUser, addressBar, "Address", "C:\\browseui.dll");
  Register(kLocalMachine, links, "Links", "C:\\shdocvw.dll");
  Register(kLocalMachine, kAddressBar, "Address", "C:\\browseui.dll");
  Open();
  const ShownMessage kept = Told("You cannot delete Links and Addressbar bands");
  for (const std::string& band : {std::string(kLinks), addressBar}) SelectAndDelete("List3", band);
  for (const std::string& band : {links, std::string(kAddressBar)}) SelectAndDelete("List4", band);
  // Told for the current user's; passed over in silence for the machine's.
  EXPECT_EQ((std::vector<ShownMessage>{DeleteConfirmationBox(), kept, DeleteConfirmationBox(), kept,
                                       DeleteConfirmationBox(), DeleteConfirmationBox()}),
            d->Boxes());
  EXPECT_EQ(2u, Toolbars(kCurrentUser).size());
  EXPECT_EQ(2u, Toolbars(kLocalMachine).size());
  EXPECT_EQ(2u, SubKeys(reg, kClassesRoot, "CLSID").size());
}

TEST_F(ToolbarPanel, AMissingKeyOrLongNamesHideNoToolbar) {
  const std::string longest = "{" + std::string(16382, 'L');
  SetString(reg, kLocalMachine, kMachineToolbarsPath, std::string(2000, 'x'), "");
  SetString(reg, kLocalMachine, kMachineToolbarsPath, "{" + std::string(2500, 'y'), "");
  SetString(reg, kLocalMachine, kMachineToolbarsPath, longest, "");
  SetString(reg, kLocalMachine, kMachineToolbarsPath, std::string(16383, 'm'), "");
  Register(kLocalMachine, kB, "Beta Bar", "C:\\beta.dll");
  Open();
  // Compared without printing: the names run to thousands of characters.
  EXPECT_TRUE(d->Items("List3").empty());
  EXPECT_TRUE(Sorted({longest, "{" + std::string(2500, 'y'), kB}) == Sorted(d->Items("List4")));

  Select("List4", longest);
  EXPECT_EQ("Name does not exist in registry", d->Text("Text3"));
  ClickAnswering("Command4", MsgAnswer::Ok);
  EXPECT_FALSE(ValueExists(reg, kLocalMachine, kMachineToolbarsPath, longest));
  EXPECT_EQ(4u, Toolbars(kLocalMachine).size());
  EXPECT_EQ(2u, d->Items("List4").size());

  // The current user's, long names among them.
  const std::string names[] = {"x" + std::string(1999, 'a'), "{" + std::string(1999, 'b'),
                               std::string(5000, 'c'), longest, kA};
  for (const std::string& name : names) SetString(reg, kCurrentUser, kUserToolbarsPath, name, "");
  d->Click("Refresh");
  EXPECT_TRUE(Sorted({names[1], longest, kA}) == Sorted(d->Items("List3")));
  SelectAndDelete("List3", longest);
  EXPECT_FALSE(ValueExists(reg, kCurrentUser, kUserToolbarsPath, longest));
  EXPECT_TRUE(Sorted({names[1], kA}) == Sorted(d->Items("List3")));
}

TEST_F(ToolbarPanel, ValueNamesNeverLeadTheDeleteIntoAnotherKey) {
  Register(kCurrentUser, kA, "Alpha Bar", "C:\\alpha.dll");
  Register(kCurrentUser, kLinks, "Links", "C:\\shdocvw.dll");
  const std::string intoClass = std::string(kA) + "\\InProcServer32";
  const std::string intoBand = std::string(kLinks) + "\\";
  const std::string throughEmpty = std::string(kA) + "\\\\";
  const std::string oddName = "{not-a-class}";
  const std::string spaced = std::string(kA) + " ";
  const std::string odd[] = {intoClass, intoBand, throughEmpty, oddName, kNonAnsi, spaced};
  for (const std::string& name : odd) SetString(reg, kCurrentUser, kUserToolbarsPath, name, "");
  CreateKey(reg, kClassesRoot, Clsid(oddName));
  RegisterClass(reg, kNonAnsi, "\xE5\x90\x8D\xE5\x89\x8D", "C:\\\xC3\xBC.dll", "InProcServer32");
  // Its name in other letters' case, which its delete leaves.
  const std::string upper = kNonAnsiShown + std::string("x");
  SetString(reg, kCurrentUser, kUserToolbarsPath, upper, "");
  // Listed as itself, its NUL marked; never addressed as the name before it.
  const std::string withNul = std::string(kA) + '\0' + "hidden";
  const std::string withNulShown = std::string(kA) + "\xE2\x90\x80hidden";
  SetData(reg, kCurrentUser, kUserToolbarsPath, withNul, {kRegSz, std::string(2, '\0')});
  Open();
  ASSERT_EQ(10u, d->Items("List3").size());

  Select("List3", kNonAnsi);
  EXPECT_EQ("\xE5\x90\x8D\xE5\x89\x8D", d->Text("Text3"));
  EXPECT_EQ("C:\\\xC3\xBC.dll", d->Text("Text4"));
  Select("List3", intoClass);
  EXPECT_EQ("Name does not exist in registry", d->Text("Text3"));
  EXPECT_EQ("DLLName does not Exist in registry", d->Text("Text4"));
  for (const std::string& name : odd) {
    SelectAndDelete("List3", name);
    EXPECT_FALSE(ValueExists(reg, kCurrentUser, kUserToolbarsPath, name)) << name;
  }
  EXPECT_EQ(std::vector<ShownMessage>(6, DeleteConfirmationBox()), d->Boxes());
  EXPECT_EQ((std::vector<std::string>{kLinks, kA, withNul, upper}), Toolbars(kCurrentUser));
  for (const std::string& key : {std::string(kA) + "\\InProcServer32", std::string(kLinks), oddName,
                                 std::string(kNonAnsi)}) {
    EXPECT_TRUE(KeyExists(reg, kClassesRoot, Clsid(key))) << key;
  }
  EXPECT_EQ((std::vector<std::string>{kLinks, kA, withNulShown, upper}), Sorted(d->Items("List3")));

  // Its class is the first toolbar's, which the delete leaves to it.
  Select("List3", withNulShown);
  EXPECT_EQ("Alpha Bar", d->Text("Text3"));
  ClickAnswering("Command4", MsgAnswer::Ok);
  EXPECT_EQ((std::vector<std::string>{kLinks, kA, upper}), Toolbars(kCurrentUser));
  EXPECT_TRUE(KeyExists(reg, kClassesRoot, Clsid(kA) + "\\InProcServer32"));
}

}  // namespace
}  // namespace brv
