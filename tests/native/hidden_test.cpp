// Hostile content that hides or destroys: registry links, names and values
// holding a NUL, moves that fail part way, a class named "Error". Each case
// checks the whole registry afterwards: only the asked change, the links'
// targets intact.
#include <gtest/gtest.h>

#include <algorithm>

#include "catalogue/bhos.h"
#include "catalogue/common.h"
#include "catalogue/toolbar_buttons.h"
#include "catalogue/toolbars.h"
#include "support/memory_form.h"

namespace brv {
namespace {

const char kA[] = "{AAAAAAAA-0000-0000-0000-000000000001}";
const char kB[] = "{BBBBBBBB-0000-0000-0000-000000000002}";
const char kTarget[] = "Software\\Precious";

std::string Bho(const std::string& name) {
  return std::string(kBhoPath) + "\\" + name;
}

class Hidden : public ::testing::Test {
 protected:
  void SetUp() override {
    m.SetString(kCurrentUser, kTarget, "keep", "precious");
    m.SetString(kCurrentUser, std::string(kTarget) + "\\Deep", "keep", "deep");
  }
  void Link(RootKey root, const std::string& path) {
    ASSERT_EQ(kErrorSuccess,
              m.registry.CreateLink({root, View::k64, path}, {kCurrentUser, View::k64, kTarget}));
  }
  void Select(int list, const std::string& text, void (*click)(Form1&)) {
    ASSERT_TRUE(m.lists[list].Select(text)) << text;
    click(m.form);
  }
  std::vector<std::string> Target() { return DumpKey(m.registry, kCurrentUser, kTarget); }

  MemoryForm m;
  Form1& form = m.form;
};

TEST_F(Hidden, DeletingALinkedEntryRemovesTheLinkNeverItsTarget) {
  const std::vector<std::string> target = Target();
  ASSERT_EQ(4u, target.size());
  // A helper object whose registration is a link, one holding a link, and a
  // toolbar whose class key is a link.
  Link(kLocalMachine, Bho(kA));
  Link(kLocalMachine, Bho(kB) + "\\Inner");
  Link(kClassesRoot, std::string("CLSID\\") + kB);
  m.SetString(kCurrentUser, kUserToolbarsPath, kB, "");
  CODINGS4(form);
  codings1(form);
  Select(6, kA, List6_Click);  // details read through the link are fine
  m.desktop.answers = {MsgAnswer::Ok};
  Command6_Click(form);
  EXPECT_FALSE(m.KeyExists(kLocalMachine, Bho(kA)));
  Select(6, kB, List6_Click);
  m.desktop.answers = {MsgAnswer::Ok};
  Command6_Click(form);
  EXPECT_FALSE(m.KeyExists(kLocalMachine, Bho(kB)));
  EXPECT_TRUE(m.SubKeys(kLocalMachine, kBhoPath).empty());
  Select(3, kB, List3_Click);
  m.desktop.answers = {MsgAnswer::Ok};
  Command4_Click(form);
  EXPECT_FALSE(m.ValueExists(kCurrentUser, kUserToolbarsPath, kB));
  EXPECT_TRUE(m.SubKeys(kClassesRoot, "CLSID").empty());
  EXPECT_EQ(target, Target());
}

TEST_F(Hidden, DisablingOrEnablingALinkIsRefusedAndChangesNothing) {
  Link(kLocalMachine, Bho(kA));
  m.CreateKey(kLocalMachine, Bho(std::string(" ") + kB));
  Link(kLocalMachine, Bho(std::string(" ") + kB) + "\\Settings");
  CODINGS4(form);
  const std::vector<std::string> before = DumpRegistry(m.registry);
  Select(6, kA, List6_Click);
  Command2_Click(form);
  Select(7, std::string(" ") + kB, List7_Click);
  Command3_Click(form);
  EXPECT_EQ(before, DumpRegistry(m.registry));
  ASSERT_EQ(2u, m.desktop.messages.size());
  for (const ShownMessage& shown : m.desktop.messages) {
    EXPECT_EQ(0u, shown.text.find("Nothing was changed. The key of the selected BHO is a registry "
                                  "link, or holds one."))
        << shown.text;
    EXPECT_EQ("Brovantine", shown.title);
  }
}

TEST_F(Hidden, AMoveTakesValuesAndKeysByTheirExactNamesAndTypes) {
  const std::string data = std::string("Data") + '\0' + "more";
  m.SetString(kLocalMachine, Bho(kA), "Data", "plain");
  m.SetData(kLocalMachine, Bho(kA), data, {kRegBinary, std::string("\x01\0\x02", 3)});
  m.SetString(kLocalMachine, Bho(kA) + "\\Sub" + '\0' + "key", "v", "hidden sub-key");
  const std::vector<std::string> before = DumpKey(m.registry, kLocalMachine, Bho(kA));
  CODINGS4(form);
  Select(6, kA, List6_Click);
  Command2_Click(form);
  EXPECT_FALSE(m.KeyExists(kLocalMachine, Bho(kA)));
  EXPECT_EQ(before, DumpKey(m.registry, kLocalMachine, Bho(std::string(" ") + kA)));
}

TEST_F(Hidden, AMoveThatFailsPartWayLeavesTheRegistryAsItWasAndSaysWhy) {
  m.SetString(kLocalMachine, Bho(kA), "v", "x");
  m.SetString(kLocalMachine, Bho(kA) + "\\A first", "v", "copied before the failure");
  m.SetString(kLocalMachine, Bho(kA) + "\\Unreadable", "v", "y");
  m.registry.Deny(kLocalMachine, Bho(kA) + "\\Unreadable");
  CODINGS4(form);
  const std::vector<std::string> before = DumpRegistry(m.registry);
  Select(6, kA, List6_Click);
  Command2_Click(form);
  EXPECT_EQ(before, DumpRegistry(m.registry));
  EXPECT_EQ(std::vector<std::string>{kA}, m.lists[6].items);
  EXPECT_TRUE(m.lists[7].items.empty());
  ASSERT_EQ(1u, m.desktop.messages.size());
  EXPECT_EQ(
      "Nothing was changed. The key of the selected BHO could not be renamed:\n"
      "system error 5",
      m.desktop.messages[0].text);
  EXPECT_EQ("Brovantine", m.desktop.messages[0].title);

  // Into a disabled twin that exists, the part copied stays there: said so.
  m.SetString(kLocalMachine, Bho(std::string(" ") + kA), "twin", "t");
  CODINGS4(form);
  Select(6, kA, List6_Click);
  Command2_Click(form);
  ASSERT_EQ(2u, m.desktop.messages.size());
  EXPECT_EQ(0u, m.desktop.messages[1].text.find("The key of the selected BHO could not be "
                                                "renamed completely."));
  EXPECT_EQ("x", m.ReadString(kLocalMachine, Bho(kA), "v"));
}

TEST_F(Hidden, ADeleteTheRegistryRefusesInPartTakesTheRestAndSaysWhatIsLeft) {
  m.SetString(kLocalMachine, Bho(kA), "v", "x");
  m.SetString(kLocalMachine, Bho(kA) + "\\Free", "v", "x");
  m.SetString(kLocalMachine, Bho(kA) + std::string("\\Held") + '\0' + "x", "v", "x");
  m.SetString(kLocalMachine, Bho(kA) + "\\Locked", "v", "x");
  m.registry.Protect(kLocalMachine, Bho(kA) + "\\Locked");
  CODINGS4(form);
  Select(6, kA, List6_Click);
  m.desktop.answers = {MsgAnswer::Ok};
  Command6_Click(form);
  EXPECT_EQ(std::vector<std::string>{"Locked"}, m.SubKeys(kLocalMachine, Bho(kA)));
  EXPECT_EQ(std::vector<std::string>{kA}, m.lists[6].items);
  ASSERT_EQ(2u, m.desktop.messages.size());
  EXPECT_EQ(std::string(kNotAllDeleted) + "\nsystem error 5", m.desktop.messages[1].text);
}

TEST_F(Hidden, AMissingClsidExtensionReadsNoClassNamedError) {
  const std::string entry = std::string(kExtensionsPath) + "\\" + kA;
  m.SetString(kCurrentUser, entry, "ButtonText", "No class");
  m.SetString(kClassesRoot, "CLSID\\Error\\InProcServer32", "", "C:\\lender.dll");
  m.SetString(kLocalMachine, std::string(kExtensionsPath) + "\\" + kB, "ButtonText", "Neither");
  CODINGS(form);
  Select(1, kA, List1_Click);
  EXPECT_EQ("No reference found in the registry", m.texts[2].text);
  Select(2, kB, List2_Click);
  EXPECT_EQ("No reference found in the registry", m.texts[2].text);
}

TEST_F(Hidden, NulsAreShownMarkedAndCopiedUpToTheFirst) {
  const std::string name = std::string(kA) + '\0' + "x" + '\0';
  m.CreateKey(kLocalMachine, Bho(name));
  CODINGS4(form);
  const std::string shown = std::string(kA) + kNulMark + "X" + kNulMark;
  ASSERT_EQ(std::vector<std::string>{shown}, m.lists[6].items);
  EXPECT_EQ(name, m.lists[6].entries[0].name);
  EXPECT_EQ(kA, m.lists[6].entries[0].identifier);
}

}  // namespace
}  // namespace brv
