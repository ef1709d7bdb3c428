// The toolbar panel on memory.
#include <gtest/gtest.h>

#include "catalogue/common.h"
#include "catalogue/toolbars.h"
#include "base/text.h"
#include "support/memory_form.h"

namespace brv {
namespace {

const char kUser[] = "Software\\Microsoft\\Internet Explorer\\Toolbar\\WebBrowser";
const char kMachine[] = "Software\\Microsoft\\Internet Explorer\\Toolbar";
const char kBandsKept[] = "You cannot delete Links and Addressbar bands";

class Toolbars : public ::testing::Test {
 protected:
  // A toolbar value with a class registration: name and file.
  void Register(RootKey root, const std::string& id, const std::string& name,
                const std::string& file) {
    m.SetData(root, root == kCurrentUser ? kUser : kMachine, id, {kRegBinary, std::string(1, 0)});
    RegisterClass(m.registry, id, name, file, "InProcServer32");
  }
  // Answers the confirmation with OK and deletes.
  void ConfirmAndDelete() {
    m.desktop.answers = {MsgAnswer::Ok};
    Command4_Click(form);
  }

  MemoryForm m;
  Form1& form = m.form;
};

TEST_F(Toolbars, FillListsBraceValuesAsEnumeratedFromBothKeys) {
  m.SetData(kCurrentUser, kUser, "ITBarLayout", {kRegBinary, std::string(4, '\x11')});
  m.SetData(kCurrentUser, kUser, "{cccccccc-0000-0000-0000-000000000003}", {kRegDword, "1234"});
  m.SetString(kCurrentUser, kUser, kA, "");
  m.SetString(kCurrentUser, kUser, " {DDDDDDDD-0000-0000-0000-000000000004}", "");
  m.SetString(kCurrentUser, kUser, "{not a class", "");
  m.SetString(kLocalMachine, kMachine, kB, "");
  m.CreateKey(kLocalMachine, std::string(kMachine) + "\\{EEEEEEEE-0000-0000-0000-000000000005}");
  m.lists[3].Put({"stale"});
  m.texts[3].text = "old";
  m.texts[4].text = "old";
  m.texts[9].text = "menu text";
  codings1(form);
  EXPECT_EQ(
      (std::vector<std::string>{"{cccccccc-0000-0000-0000-000000000003}", kA, "{not a class"}),
      m.lists[3].items);
  EXPECT_EQ(std::vector<std::string>{kB}, m.lists[4].items);  // sub-keys are not toolbars
  EXPECT_EQ("", m.texts[3].text);
  EXPECT_EQ("", m.texts[4].text);
  EXPECT_EQ("menu text", m.texts[9].text);  // not this panel's to clear
  EXPECT_EQ(1, m.lists[3].repaints);
}

TEST_F(Toolbars, MissingPerUserKeyDoesNotHideTheMachineList) {
  m.SetString(kLocalMachine, kMachine, kB, "");
  codings1(form);
  EXPECT_TRUE(m.lists[3].items.empty());
  EXPECT_EQ(std::vector<std::string>{kB}, m.lists[4].items);

  m.registry.DeleteTree(kLocalMachine, kMachine);
  m.SetString(kCurrentUser, kUser, kA, "");
  codings1(form);
  EXPECT_EQ(std::vector<std::string>{kA}, m.lists[3].items);
  EXPECT_TRUE(m.lists[4].items.empty());
  EXPECT_TRUE(m.desktop.messages.empty());
}

TEST_F(Toolbars, ClickShowsNameAndFileAndClearsTheOtherList) {
  Register(kCurrentUser, kA, "Alpha Bar", "C:\\alpha.dll");
  Register(kLocalMachine, kB, "Beta Bar", "C:\\beta.dll");
  codings1(form);
  m.buttons[4].enabled = false;
  m.lists[4].index = 0;
  m.lists[3].index = 0;
  List3_Click(form);
  EXPECT_EQ("Alpha Bar", m.texts[3].text);
  EXPECT_EQ("C:\\alpha.dll", m.texts[4].text);
  EXPECT_EQ(-1, m.lists[4].index);
  EXPECT_TRUE(m.buttons[4].enabled);
  EXPECT_EQ(kA, form.currentUserToolbar.name);

  List4_Click(form);  // no selection there now: nothing happens
  EXPECT_EQ("Alpha Bar", m.texts[3].text);
  EXPECT_EQ("", form.allUsersToolbar.name);

  m.lists[4].index = 0;
  List4_Click(form);
  EXPECT_EQ("Beta Bar", m.texts[3].text);
  EXPECT_EQ("C:\\beta.dll", m.texts[4].text);
  EXPECT_EQ(-1, m.lists[3].index);
  EXPECT_EQ(kB, form.allUsersToolbar.name);
}

TEST_F(Toolbars, MissingOrEmptyRegistrationShowsMessagesOrLeavesTheBoxes) {
  Register(kCurrentUser, kA, "Alpha Bar", "C:\\alpha.dll");
  m.SetString(kCurrentUser, kUser, kB, "");  // no class key at all
  m.SetString(kCurrentUser, kUser, kC, "");
  m.SetData(kClassesRoot, Clsid(kC), "", {kRegSz, Utf8ToUtf16LeBytes("   ", false)});
  m.CreateKey(kClassesRoot, Clsid(kC) + "\\InProcServer32");  // no default value
  codings1(form);
  ASSERT_TRUE(m.lists[3].Select(kA));
  List3_Click(form);
  ASSERT_TRUE(m.lists[3].Select(kC));
  List3_Click(form);
  EXPECT_EQ("Alpha Bar", m.texts[3].text);  // a blank name leaves the previous one
  EXPECT_EQ("DLLName does not Exist in registry", m.texts[4].text);
  ASSERT_TRUE(m.lists[3].Select(kB));
  List3_Click(form);
  EXPECT_EQ("Name does not exist in registry", m.texts[3].text);
  EXPECT_EQ("DLLName does not Exist in registry", m.texts[4].text);
}

TEST_F(Toolbars, NameWithBackslashShowsNoRegistrationOfAnotherKey) {
  const std::string id = std::string(kA) + "\\InProcServer32";
  Register(kCurrentUser, kA, "Alpha Bar", "C:\\alpha.dll");
  m.SetString(kCurrentUser, kUser, id, "");
  codings1(form);
  ASSERT_TRUE(m.lists[3].Select(id));
  List3_Click(form);
  EXPECT_EQ("Name does not exist in registry", m.texts[3].text);
  EXPECT_EQ("DLLName does not Exist in registry", m.texts[4].text);
}

TEST_F(Toolbars, DeleteOfMachineToolbarAndWithNothingSelected) {
  Register(kLocalMachine, kB, "Beta Bar", "C:\\beta.dll");
  Register(kCurrentUser, kA, "Alpha Bar", "C:\\alpha.dll");
  codings1(form);
  m.texts[9].text = "menu text";
  ConfirmAndDelete();  // nothing selected: asks, changes nothing, says nothing
  EXPECT_EQ(1u, m.desktop.messages.size());
  EXPECT_TRUE(m.ValueExists(kLocalMachine, kMachine, kB));
  EXPECT_TRUE(m.ValueExists(kCurrentUser, kUser, kA));
  EXPECT_EQ("menu text", m.texts[9].text);

  m.lists[4].index = 0;
  List4_Click(form);
  ConfirmAndDelete();
  EXPECT_FALSE(m.ValueExists(kLocalMachine, kMachine, kB));
  EXPECT_FALSE(m.KeyExists(kClassesRoot, Clsid(kB)));
  EXPECT_TRUE(m.ValueExists(kCurrentUser, kUser, kA));
  EXPECT_TRUE(m.KeyExists(kClassesRoot, Clsid(kA)));
  EXPECT_TRUE(m.lists[4].items.empty());
  EXPECT_EQ("", m.texts[9].text);
}

TEST_F(Toolbars, NamesAreAddressedExactlyAsListed) {
  const std::string lower = "{aaaaaaaa-0000-0000-0000-000000000002}";
  Register(kCurrentUser, kA, "Alpha Bar", "C:\\alpha.dll");
  Register(kCurrentUser, lower, "Lower Bar", "C:\\lower.dll");
  codings1(form);
  ASSERT_TRUE(m.lists[3].Select(lower));  // listed with its case kept
  List3_Click(form);
  EXPECT_EQ("Lower Bar", m.texts[3].text);
  ConfirmAndDelete();
  EXPECT_FALSE(m.KeyExists(kClassesRoot, Clsid(lower)));
  EXPECT_EQ(std::vector<std::string>{kA}, m.lists[3].items);
}

TEST_F(Toolbars, NameHoldingANulIsListedWithItsClassAndDeletedAsItself) {
  Register(kCurrentUser, kA, "Alpha Bar", "C:\\alpha.dll");
  const std::string hidden = std::string(kA) + '\0' + "hidden";
  m.SetString(kCurrentUser, kUser, hidden, "");
  codings1(form);
  EXPECT_EQ((std::vector<std::string>{kA, std::string(kA) + "\xE2\x90\x80hidden"}),
            m.lists[3].items);
  m.lists[3].index = 1;
  List3_Click(form);
  EXPECT_EQ("Alpha Bar", m.texts[3].text);
  ConfirmAndDelete();
  // The value goes; the class it shares with the other toolbar stays.
  EXPECT_FALSE(m.ValueExists(kCurrentUser, kUser, hidden));
  EXPECT_TRUE(m.ValueExists(kCurrentUser, kUser, kA));
  EXPECT_TRUE(m.KeyExists(kClassesRoot, Clsid(kA)));
  EXPECT_EQ(std::vector<std::string>{kA}, m.lists[3].items);
}

TEST_F(Toolbars, FailedDeleteIsToldAndTheToolbarStays) {
  Register(kLocalMachine, kB, "Beta Bar", "C:\\beta.dll");
  m.registry.Protect(kLocalMachine, kMachine);
  m.registry.Protect(kClassesRoot, Clsid(kB));
  codings1(form);
  m.lists[4].index = 0;
  ConfirmAndDelete();
  EXPECT_EQ(std::vector<std::string>{kB}, m.lists[4].items);
  EXPECT_TRUE(m.KeyExists(kClassesRoot, Clsid(kB)));
  ASSERT_EQ(2u, m.desktop.messages.size());
  EXPECT_EQ(std::string(kNotAllDeleted) + "\nsystem error 5", m.desktop.messages[1].text);
}

}  // namespace
}  // namespace brv
