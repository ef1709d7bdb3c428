// Hostile content that hides or destroys, beyond the scenarios both windows
// run (HiddenPanel): names and values holding a NUL, moves that fail part
// way, a class named "Error".
#include <gtest/gtest.h>

#include "catalogue/bhos.h"
#include "catalogue/common.h"
#include "catalogue/toolbar_buttons.h"
#include "catalogue/toolbars.h"
#include "support/memory_form.h"

namespace brv {
namespace {

class Hidden : public ::testing::Test {
 protected:
  void Select(int list, const std::string& text, void (*click)(Form1&)) {
    ASSERT_TRUE(m.lists[list].Select(text)) << text;
    click(m.form);
  }

  MemoryForm m;
  Form1& form = m.form;
};

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
