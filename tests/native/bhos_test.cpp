// The Browser Helper Objects panel on memory.
#include <gtest/gtest.h>

#include "catalogue/common.h"
#include "catalogue/bhos.h"
#include "base/text.h"
#include "support/memory_form.h"

namespace brv {
namespace {

const RegData kNoExplorerData{kRegSz, std::string("1\0\0\0", 4)};  // "1" and its NUL, UTF-16

class Bhos : public ::testing::Test {
 protected:
  // An object whose registration holds a NoExplorer value and a sub-key.
  void SeedFull(const std::string& name) {
    m.SetData(kLocalMachine, Bho(name), "NoExplorer", kNoExplorerData);
    m.SetString(kLocalMachine, Bho(name), "", "default text");
    m.SetData(kLocalMachine, Bho(name), "flags", {kRegDword, std::string("\x05\0\0\0", 4)});
    m.SetString(kLocalMachine, Bho(name) + "\\Settings\\Deeper", "level", "3");
    m.CreateKey(kLocalMachine, Bho(name) + "\\Empty");
  }

  void Select(int list, const std::string& text) {
    ASSERT_TRUE(m.lists[list].Select(text)) << text;
    (list == 6 ? List6_Click : List7_Click)(form);
  }

  MemoryForm m;
  Form1& form = m.form;
};

TEST_F(Bhos, FillSplitsEnabledAndDisabledUpperCasedInEnumerationOrder) {
  m.CreateKey(kLocalMachine, Bho(kLowerA));
  m.CreateKey(kLocalMachine, Bho(std::string(" ") + kLowerA));
  m.CreateKey(kLocalMachine, Bho(std::string("  ") + kB));
  m.CreateKey(kLocalMachine, Bho("helper"));
  m.texts[5].text = "old";
  m.texts[6].text = "old";
  m.lists[6].Put({"stale"});
  CODINGS4(form);
  EXPECT_EQ((std::vector<std::string>{"HELPER", kA}), m.lists[6].items);
  EXPECT_EQ((std::vector<std::string>{std::string("  ") + kB, std::string(" ") + kA}),
            m.lists[7].items);
  EXPECT_EQ("", m.texts[5].text);
  EXPECT_EQ("", m.texts[6].text);
  EXPECT_EQ(1, m.lists[6].repaints);

  m.registry.DeleteTree(kLocalMachine, kBhoPath);
  CODINGS4(form);
  EXPECT_TRUE(m.lists[6].items.empty());
  EXPECT_TRUE(m.lists[7].items.empty());
  m.CreateKey(kLocalMachine, kBhoPath);
  CODINGS4(form);
  EXPECT_TRUE(m.lists[6].items.empty() && m.lists[7].items.empty());
  EXPECT_TRUE(m.desktop.messages.empty());
}

TEST_F(Bhos, ClicksShowDetailsAndSwitchTheButtons) {
  m.CreateKey(kLocalMachine, Bho(kA));
  m.CreateKey(kLocalMachine, Bho(std::string("  ") + kB));
  RegisterClass(m.registry, kA, "Alpha helper", "C:\\alpha.dll");
  RegisterClass(m.registry, kB, "Beta helper", "C:\\beta.dll");
  CODINGS4(form);

  Select(6, kA);
  EXPECT_EQ("Alpha helper", m.texts[5].text);
  EXPECT_EQ("C:\\alpha.dll", m.texts[6].text);
  EXPECT_TRUE(m.buttons[2].enabled && m.buttons[5].enabled && m.buttons[9].enabled);
  EXPECT_FALSE(m.buttons[3].enabled);

  Select(7, std::string("  ") + kB);  // identifier without any of the spaces
  EXPECT_EQ("Beta helper", m.texts[5].text);
  EXPECT_EQ("C:\\beta.dll", m.texts[6].text);
  EXPECT_EQ(-1, m.lists[6].index);
  EXPECT_TRUE(m.buttons[3].enabled);
  EXPECT_FALSE(m.buttons[2].enabled || m.buttons[5].enabled || m.buttons[9].enabled);
  EXPECT_TRUE(m.buttons[6].enabled);

  Select(6, kA);
  EXPECT_EQ(-1, m.lists[7].index);
  EXPECT_TRUE(m.buttons[2].enabled && !m.buttons[3].enabled);

  // A refill keeps the buttons of the last selection, with nothing selected.
  CODINGS4(form);
  EXPECT_EQ(-1, m.lists[6].index);
  EXPECT_TRUE(m.buttons[2].enabled && m.buttons[5].enabled && m.buttons[9].enabled);
  EXPECT_FALSE(m.buttons[3].enabled);
  EXPECT_EQ("", m.texts[5].text);

  List6_Click(form);  // no selection: nothing happens
  EXPECT_EQ("", m.texts[5].text);
}

TEST_F(Bhos, MissingOrEmptyClassDataShowsErrorOrKeepsTheBox) {
  m.CreateKey(kLocalMachine, Bho(std::string(" ") + kA));
  m.CreateKey(kLocalMachine, Bho(kB));
  m.SetData(kClassesRoot, Clsid(kB), "", {kRegSz, Utf8ToUtf16LeBytes("   ", false)});
  m.SetString(kClassesRoot, Clsid(kB) + "\\InprocServer32", "", "");
  CODINGS4(form);
  m.lists[6].index = 0;
  Select(7, std::string(" ") + kA);
  EXPECT_EQ("Error", m.texts[5].text);
  EXPECT_EQ("Error", m.texts[6].text);
  EXPECT_EQ(-1, m.lists[6].index);
  EXPECT_TRUE(m.buttons[3].enabled);
  EXPECT_FALSE(m.buttons[2].enabled || m.buttons[5].enabled || m.buttons[9].enabled);

  Select(6, kB);
  EXPECT_EQ("Error", m.texts[5].text);  // blank description: the box keeps its text
  EXPECT_EQ("", m.texts[6].text);       // empty file: shown up to its NUL
}

TEST_F(Bhos, DisableJoinsAnExistingDisabledTwinAndLosesNothing) {
  SeedFull(kA);
  m.SetString(kLocalMachine, Bho(std::string(" ") + kA), "own", "twin's");
  m.SetString(kLocalMachine, Bho(std::string(" ") + kA), "", "twin default");
  m.SetString(kLocalMachine, Bho(std::string(" ") + kA) + "\\Settings", "other", "x");
  CODINGS4(form);
  Select(6, kA);
  Command2_Click(form);
  const std::string twin = Bho(std::string(" ") + kA);
  EXPECT_FALSE(m.KeyExists(kLocalMachine, Bho(kA)));
  EXPECT_EQ("twin's", m.ReadString(kLocalMachine, twin, "own"));
  EXPECT_EQ("default text", m.ReadString(kLocalMachine, twin, ""));  // the moved data wins
  EXPECT_TRUE(m.ValueExists(kLocalMachine, twin, "NoExplorer"));
  EXPECT_TRUE(m.ValueExists(kLocalMachine, twin, "flags"));
  EXPECT_EQ("x", m.ReadString(kLocalMachine, twin + "\\Settings", "other"));
  EXPECT_EQ("3", m.ReadString(kLocalMachine, twin + "\\Settings\\Deeper", "level"));
  EXPECT_TRUE(m.KeyExists(kLocalMachine, twin + "\\Empty"));
  EXPECT_TRUE(m.lists[6].items.empty());
  EXPECT_EQ(std::vector<std::string>{std::string(" ") + kA}, m.lists[7].items);
}

TEST_F(Bhos, FailedCopyLeavesTheOldKeyWhole) {
  SeedFull(kA);
  // The twin's sub-key refuses changes: the copy stops half-way.
  m.CreateKey(kLocalMachine, Bho(std::string(" ") + kA) + "\\Settings\\Deeper");
  m.registry.Protect(kLocalMachine, Bho(std::string(" ") + kA) + "\\Settings\\Deeper");
  const std::vector<std::string> before = DumpKey(m.registry, kLocalMachine, Bho(kA));
  CODINGS4(form);
  Select(6, kA);
  Command2_Click(form);
  EXPECT_EQ(before, DumpKey(m.registry, kLocalMachine, Bho(kA)));
  EXPECT_EQ(std::vector<std::string>{kA}, m.lists[6].items);  // listed where it still is
  EXPECT_EQ(std::vector<std::string>{std::string(" ") + kA}, m.lists[7].items);

  // Without write access to the registration key nothing is created.
  MemoryForm other;
  other.SetString(kLocalMachine, Bho(kB), "v", "kept");
  other.registry.Protect(kLocalMachine, kBhoPath);
  CODINGS4(other.form);
  other.lists[6].index = 0;
  Command2_Click(other.form);
  EXPECT_EQ(std::vector<std::string>{kB}, other.SubKeys(kLocalMachine, kBhoPath));
  EXPECT_EQ("kept", other.ReadString(kLocalMachine, Bho(kB), "v"));
  EXPECT_EQ(std::vector<std::string>{kB}, other.lists[6].items);

  // The copy succeeds but the old key refuses to go: both stay, both listed.
  MemoryForm third;
  third.SetString(kLocalMachine, Bho(kB), "v", "kept");
  third.registry.Protect(kLocalMachine, Bho(kB));
  CODINGS4(third.form);
  third.lists[6].index = 0;
  Command2_Click(third.form);
  EXPECT_EQ("kept", third.ReadString(kLocalMachine, Bho(kB), "v"));
  EXPECT_EQ("kept", third.ReadString(kLocalMachine, Bho(std::string(" ") + kB), "v"));
  EXPECT_EQ(std::vector<std::string>{kB}, third.lists[6].items);
  EXPECT_EQ(std::vector<std::string>{std::string(" ") + kB}, third.lists[7].items);
}

TEST_F(Bhos, DisableAndEnableWithoutSelectionOrWithTheKeyGoneChangeNothing) {
  m.CreateKey(kLocalMachine, Bho(kA));
  m.CreateKey(kLocalMachine, Bho(std::string(" ") + kB));
  CODINGS4(form);
  m.CreateKey(kLocalMachine, Bho("later"));
  Command2_Click(form);
  Command3_Click(form);
  EXPECT_EQ(std::vector<std::string>{kA}, m.lists[6].items);  // not even refilled

  m.lists[6].index = 0;
  m.registry.DeleteTree(kLocalMachine, Bho(kA));
  Command2_Click(form);
  EXPECT_FALSE(m.KeyExists(kLocalMachine, Bho(std::string(" ") + kA)));
  EXPECT_EQ(std::vector<std::string>{"LATER"}, m.lists[6].items);
}

TEST_F(Bhos, EachNameIsRenamedShownAndDeletedAsItselfNotAsItsNeighbour) {
  const std::string spaced = std::string(kA) + " ";
  m.SetString(kLocalMachine, Bho(kA), "who", "plain");
  m.SetString(kLocalMachine, Bho(spaced), "who", "spaced");
  CODINGS4(form);
  Select(6, spaced);
  Command2_Click(form);
  EXPECT_EQ("plain", m.ReadString(kLocalMachine, Bho(kA), "who"));
  EXPECT_EQ("spaced", m.ReadString(kLocalMachine, Bho(" " + spaced), "who"));
  Select(7, " " + spaced);
  Command3_Click(form);
  EXPECT_EQ((std::vector<std::string>{kA, spaced}), m.SubKeys(kLocalMachine, kBhoPath));
  EXPECT_EQ("spaced", m.ReadString(kLocalMachine, Bho(spaced), "who"));

  // The class each names: its own, beside the neighbour {A} and its class.
  const struct {
    std::string name;
    int list;
    std::string named;
  } rows[] = {{spaced, 6, spaced}, {" " + spaced, 7, spaced}, {"  " + spaced, 7, spaced}};
  for (const auto& row : rows) {
    m.registry.DeleteTree(kLocalMachine, kBhoPath);
    m.CreateKey(kLocalMachine, Bho(kA));
    m.CreateKey(kLocalMachine, Bho(row.name));
    m.SetString(kClassesRoot, Clsid(kA), "", "neighbour's");
    m.SetString(kClassesRoot, Clsid(row.named), "", "its own");
    CODINGS4(form);
    Select(row.list, row.name);
    EXPECT_EQ("its own", m.texts[5].text) << row.name;
    m.desktop.answers = {MsgAnswer::Ok};
    Command6_Click(form);
    EXPECT_FALSE(m.KeyExists(kClassesRoot, Clsid(row.named))) << row.name;
    EXPECT_EQ("neighbour's", m.ReadString(kClassesRoot, Clsid(kA), "")) << row.name;
    EXPECT_EQ(std::vector<std::string>{kA}, m.SubKeys(kLocalMachine, kBhoPath)) << row.name;
  }
}

TEST_F(Bhos, NameHoldingANulIsListedMarkedAndActedOnAsItself) {
  const std::string hidden = std::string(kLowerA) + '\0' + "x";
  const std::string shown = std::string(kA) + "\xE2\x90\x80X";
  m.SetString(kLocalMachine, Bho(kA), "who", "plain");
  m.SetString(kLocalMachine, Bho(hidden), "who", "hidden");
  m.SetString(kClassesRoot, Clsid(kA), "", "Alpha");
  CODINGS4(form);
  EXPECT_EQ((std::vector<std::string>{kA, shown}), m.lists[6].items);
  // Its class is the name up to the NUL, as the browser reads it.
  Select(6, shown);
  EXPECT_EQ("Alpha", m.texts[5].text);
  Command2_Click(form);
  EXPECT_EQ("hidden", m.ReadString(kLocalMachine, Bho(" " + hidden), "who"));
  EXPECT_EQ("plain", m.ReadString(kLocalMachine, Bho(kA), "who"));
  EXPECT_FALSE(m.KeyExists(kLocalMachine, Bho(hidden)));
  EXPECT_EQ(std::vector<std::string>{" " + shown}, m.lists[7].items);
  Select(7, " " + shown);
  Command3_Click(form);
  EXPECT_EQ("hidden", m.ReadString(kLocalMachine, Bho(hidden), "who"));

  // Deleting the one with the NUL leaves the other whole, its class included.
  Select(6, shown);
  m.desktop.answers = {MsgAnswer::Ok};
  Command6_Click(form);
  EXPECT_FALSE(m.KeyExists(kLocalMachine, Bho(hidden)));
  EXPECT_EQ("plain", m.ReadString(kLocalMachine, Bho(kA), "who"));
  EXPECT_TRUE(m.KeyExists(kClassesRoot, Clsid(kA)));
  // And the other way round.
  m.SetString(kLocalMachine, Bho(hidden), "who", "hidden");
  CODINGS4(form);
  Select(6, kA);
  m.desktop.answers = {MsgAnswer::Ok};
  Command6_Click(form);
  EXPECT_FALSE(m.KeyExists(kLocalMachine, Bho(kA)));
  EXPECT_EQ("hidden", m.ReadString(kLocalMachine, Bho(hidden), "who"));
  EXPECT_TRUE(m.KeyExists(kClassesRoot, Clsid(kA)));
}

TEST_F(Bhos, DeleteOfADisabledObjectUsesItsSpacedNameAndItsIdentifier) {
  m.CreateKey(kLocalMachine, Bho(std::string("  ") + kA));
  m.CreateKey(kLocalMachine, Bho(kA));
  m.SetString(kClassesRoot, Clsid(kA) + "\\InprocServer32", "", "C:\\a.dll");
  CODINGS4(form);
  Select(7, std::string("  ") + kA);
  m.desktop.answers = {MsgAnswer::Ok};
  Command6_Click(form);
  EXPECT_EQ(std::vector<std::string>{kA}, m.SubKeys(kLocalMachine, kBhoPath));
  EXPECT_FALSE(m.KeyExists(kClassesRoot, Clsid(kA)));
  EXPECT_TRUE(m.lists[7].items.empty());
  EXPECT_EQ(1u, m.desktop.messages.size());
}

TEST_F(Bhos, DeleteRefusesWhatIsNotAnIdentifierAndWithoutSelection) {
  m.CreateKey(kLocalMachine, Bho("helper"));
  m.CreateKey(kClassesRoot, Clsid("helper"));
  m.SetString(kClassesRoot, Clsid(kA) + "\\Sub", "v", "x");
  m.CreateKey(kLocalMachine, Bho(kA) + "\\Sub");
  CODINGS4(form);
  m.desktop.answers = {MsgAnswer::Ok};
  Command6_Click(form);  // nothing selected: asks, deletes nothing
  Select(6, "HELPER");
  m.desktop.answers = {MsgAnswer::Ok};
  Command6_Click(form);
  EXPECT_EQ(2u, m.desktop.messages.size());
  EXPECT_TRUE(m.KeyExists(kLocalMachine, Bho("helper")));
  EXPECT_TRUE(m.KeyExists(kClassesRoot, Clsid("helper")));

  // An entry holding a separator would lead below another key: refused.
  m.lists[6].Put({std::string(kA) + "\\Sub"});
  m.lists[6].index = 0;
  m.lists[7].Put({std::string(" ") + kA + "\\Sub"});
  m.desktop.answers = {MsgAnswer::Ok};
  Command6_Click(form);
  m.lists[6].index = -1;
  m.lists[7].index = 0;
  m.desktop.answers = {MsgAnswer::Ok};
  Command6_Click(form);
  EXPECT_TRUE(m.KeyExists(kLocalMachine, Bho(kA) + "\\Sub"));
  EXPECT_TRUE(m.KeyExists(kClassesRoot, Clsid(kA) + "\\Sub"));
}

// A key gone from outside is the panel scenarios'; here, one refused.
TEST_F(Bhos, ExplorerCommandsSayNothingChangedAndWhyWhenTheyCannot) {
  m.SetData(kLocalMachine, Bho(kB), "NoExplorer", kNoExplorerData);
  CODINGS4(form);
  m.registry.Protect(kLocalMachine, Bho(kB));  // no write access
  Select(6, kB);
  Command9_Click(form);
  Command5_Click(form);
  EXPECT_TRUE(m.ValueExists(kLocalMachine, Bho(kB), "NoExplorer"));
  ASSERT_EQ(2u, m.desktop.messages.size());
  EXPECT_EQ(
      "Nothing was changed. The key of the selected BHO could not be opened:\n"
      "system error 5",
      m.desktop.messages[0].text);
  EXPECT_EQ("Brovantine", m.desktop.messages[0].title);
  EXPECT_EQ(MsgButtons::Ok, m.desktop.messages[0].buttons);

  // An entry holding a separator never reaches the key below.
  m.CreateKey(kLocalMachine, Bho(kA) + "\\Sub");
  m.lists[6].Put({std::string(kA) + "\\Sub"});
  m.lists[6].index = 0;
  Command5_Click(form);
  EXPECT_TRUE(m.Values(kLocalMachine, Bho(kA) + "\\Sub").empty());
  EXPECT_EQ(0u, m.desktop.messages.back().text.find("Nothing was changed."));
}

}  // namespace
}  // namespace brv
