// The toolbar-button panel on memory.
#include <gtest/gtest.h>

#include <utility>

#include "catalogue/common.h"
#include "catalogue/toolbar_buttons.h"
#include "base/text.h"
#include "support/memory_form.h"

namespace brv {
namespace {

class ToolbarButtons : public ::testing::Test {
 protected:
  MemoryForm m;
  Form1& form = m.form;
};

TEST_F(ToolbarButtons, FillListsBraceNamesUpperCasedInEnumerationOrder) {
  m.CreateKey(kCurrentUser, Button("{cccccccc-0000-0000-0000-000000000003}"));
  m.CreateKey(kCurrentUser, Button(kA));
  m.CreateKey(kCurrentUser, Button("NotAClass"));
  m.CreateKey(kCurrentUser, Button(" {DDDDDDDD-0000-0000-0000-000000000004}"));
  m.CreateKey(kLocalMachine, Button(kB));
  m.texts[1].text = "old";
  m.texts[2].text = "old";
  m.texts[9].text = "old";
  CODINGS(form);
  EXPECT_EQ((std::vector<std::string>{kA, kC}), m.lists[1].items);
  EXPECT_EQ(std::vector<std::string>{kB}, m.lists[2].items);
  EXPECT_EQ("", m.texts[1].text);
  EXPECT_EQ("", m.texts[2].text);
  EXPECT_EQ("", m.texts[9].text);
  EXPECT_EQ(1, m.lists[1].repaints);  // the lot in one go
}

TEST_F(ToolbarButtons, FillWithKeysMissingOrUnreadableLeavesListsEmptySilently) {
  m.lists[1].Put({"stale"});
  m.lists[2].Put({"stale"});
  CODINGS(form);
  EXPECT_TRUE(m.lists[1].items.empty());
  EXPECT_TRUE(m.lists[2].items.empty());
  EXPECT_TRUE(m.desktop.messages.empty());
}

TEST_F(ToolbarButtons, CurrentUserClickShowsExecScriptOrClassFile) {
  m.SetString(kCurrentUser, Button(kA), "ButtonText", "Alpha");
  m.SetString(kCurrentUser, Button(kA), "Exec", "C:\\a.exe");
  m.SetString(kCurrentUser, Button(kA), "Script", "C:\\ignored.htm");
  m.SetString(kCurrentUser, Button(kA), "MenuText", "Alpha menu");
  m.SetString(kCurrentUser, Button(kB), "ButtonText", "Beta");
  m.SetString(kCurrentUser, Button(kB), "Script", "C:\\b.htm");
  m.SetString(kCurrentUser, Button(kC), "ClsidExtension",
              "  {C1A55000-0000-0000-0000-000000000000}");
  m.SetString(kClassesRoot, "CLSID\\{C1A55000-0000-0000-0000-000000000000}\\InProcServer32", "",
              "C:\\c.dll");
  CODINGS(form);
  m.lists[2].index = 0;

  ASSERT_TRUE(m.lists[1].Select(kA));
  List1_Click(form);
  EXPECT_EQ("Alpha", m.texts[1].text);
  EXPECT_EQ("C:\\a.exe", m.texts[2].text);
  EXPECT_EQ("Alpha menu", m.texts[9].text);
  EXPECT_TRUE(m.buttons[1].enabled);

  ASSERT_TRUE(m.lists[1].Select(kB));
  List1_Click(form);
  EXPECT_EQ("Beta", m.texts[1].text);
  EXPECT_EQ("C:\\b.htm", m.texts[2].text);
  EXPECT_EQ("", m.texts[9].text);  // no menu text: left empty

  ASSERT_TRUE(m.lists[1].Select(kC));
  List1_Click(form);
  EXPECT_EQ("No name reference found in the registry", m.texts[1].text);
  EXPECT_EQ("C:\\c.dll", m.texts[2].text);
  EXPECT_EQ("{C1A55000-0000-0000-0000-000000000000}", m.texts[8].text);
}

TEST_F(ToolbarButtons, NothingFoundShowsTheMessagesAndClearsTheOtherList) {
  m.CreateKey(kCurrentUser, Button(kA));
  m.CreateKey(kLocalMachine, Button(kB));
  CODINGS(form);
  m.lists[2].index = 0;
  m.lists[1].index = 0;
  List1_Click(form);
  EXPECT_EQ("No name reference found in the registry", m.texts[1].text);
  EXPECT_EQ("No reference found in the registry", m.texts[2].text);
  EXPECT_EQ(-1, m.lists[2].index);

  List2_Click(form);  // no selection in List2 now: nothing happens
  EXPECT_EQ("No reference found in the registry", m.texts[2].text);

  m.lists[2].index = 0;
  List2_Click(form);
  EXPECT_EQ("Item not listed in Tools Menu", m.texts[9].text);
  EXPECT_EQ(-1, m.lists[1].index);
}

TEST_F(ToolbarButtons, AllUsersClickShowsMenuTextAndFallsBack) {
  m.SetString(kLocalMachine, Button(kB), "ButtonText", "Beta");
  m.SetString(kLocalMachine, Button(kB), "Script", "res://b.htm");
  m.SetString(kLocalMachine, Button(kB), "MenuText", "Beta in Tools");
  CODINGS(form);
  m.lists[2].index = 0;
  List2_Click(form);
  EXPECT_EQ("Beta", m.texts[1].text);
  EXPECT_EQ("res://b.htm", m.texts[2].text);
  EXPECT_EQ("Beta in Tools", m.texts[9].text);
  EXPECT_TRUE(m.buttons[1].enabled);
}

TEST_F(ToolbarButtons, EmptyValuesLeaveTheBoxesAsTheyWere) {
  m.SetData(kCurrentUser, Button(kA), "ButtonText", {kRegSz, ""});
  m.SetData(kCurrentUser, Button(kA), "Exec", {kRegSz, Utf8ToUtf16LeBytes("   ", false)});
  CODINGS(form);
  m.texts[1].text = "previous name";
  m.texts[2].text = "previous command";
  m.lists[1].index = 0;
  List1_Click(form);
  EXPECT_EQ("previous name", m.texts[1].text);
  EXPECT_EQ("previous command", m.texts[2].text);
}

TEST_F(ToolbarButtons, UnexpectedValuesAreShownSafely) {
  const std::string big(10000, 'x');
  m.SetString(kCurrentUser, Button(kA), "ButtonText", big);
  m.SetData(kCurrentUser, Button(kA), "Exec", {kRegDword, std::string(4, '\1')});
  m.SetData(kCurrentUser, Button(kA), "Script",
            {kRegSz, Utf8ToUtf16LeBytes("unterminated \xE2\x82\xAC", false)});
  m.SetString(kCurrentUser, Button(kA), "MenuText", "Men\xC3\xBC \xE4\xB8\xAD");
  CODINGS(form);
  m.lists[1].index = 0;
  List1_Click(form);
  EXPECT_EQ(big, m.texts[1].text);
  EXPECT_EQ("unterminated \xE2\x82\xAC", m.texts[2].text);
  EXPECT_EQ("Men\xC3\xBC \xE4\xB8\xAD", m.texts[9].text);
}

TEST_F(ToolbarButtons, ClickAfterTheKeyWentShowsNothingFound) {
  m.SetString(kCurrentUser, Button(kA), "ButtonText", "Alpha");
  CODINGS(form);
  m.registry.DeleteTree(kCurrentUser, Button(kA));
  m.lists[1].index = 0;
  List1_Click(form);
  EXPECT_EQ("No name reference found in the registry", m.texts[1].text);
  EXPECT_EQ("No reference found in the registry", m.texts[2].text);
}

TEST_F(ToolbarButtons, DeleteAsksThenDeletesTheSelectedTreeOnly) {
  m.SetString(kCurrentUser, Button("{aaaaaaaa-0000-0000-0000-000000000001}") + "\\Sub", "v", "x");
  m.SetString(kCurrentUser, Button(kB), "ButtonText", "Beta");
  m.SetString(kLocalMachine, Button(kA), "ButtonText", "machine twin");
  CODINGS(form);
  m.lists[1].index = 0;
  List1_Click(form);

  m.desktop.answers = {MsgAnswer::Cancel};
  Command1_Click(form);
  EXPECT_TRUE(m.KeyExists(kCurrentUser, Button(kA)));
  ASSERT_EQ(1u, m.desktop.messages.size());
  EXPECT_EQ(DeleteConfirmation(), m.desktop.messages[0]);

  m.desktop.answers = {MsgAnswer::Ok};
  Command1_Click(form);
  EXPECT_FALSE(m.KeyExists(kCurrentUser, Button(kA)));
  EXPECT_TRUE(m.KeyExists(kCurrentUser, Button(kB)));
  EXPECT_TRUE(m.KeyExists(kLocalMachine, Button(kA)));
  EXPECT_EQ(std::vector<std::string>{kB}, m.lists[1].items);
  EXPECT_EQ(std::vector<std::string>{kA}, m.lists[2].items);
  EXPECT_EQ("", m.texts[1].text);
  EXPECT_EQ("", m.texts[2].text);
  EXPECT_EQ("", m.texts[9].text);
  EXPECT_TRUE(m.buttons[1].enabled);
  EXPECT_EQ(2u, m.desktop.messages.size());  // no message after the delete
}

TEST_F(ToolbarButtons, DeleteOfAllUsersEntryAndWithNoSelection) {
  m.CreateKey(kLocalMachine, Button(kB));
  m.CreateKey(kCurrentUser, Button(kA));
  CODINGS(form);
  m.desktop.answers = {MsgAnswer::Ok};
  Command1_Click(form);  // nothing selected: asks, changes nothing
  EXPECT_EQ(1u, m.desktop.messages.size());
  EXPECT_TRUE(m.KeyExists(kLocalMachine, Button(kB)));
  EXPECT_TRUE(m.KeyExists(kCurrentUser, Button(kA)));

  m.lists[2].index = 0;
  m.desktop.answers = {MsgAnswer::Ok};
  Command1_Click(form);
  EXPECT_FALSE(m.KeyExists(kLocalMachine, Button(kB)));
  EXPECT_TRUE(m.KeyExists(kCurrentUser, Button(kA)));
  EXPECT_TRUE(m.lists[2].items.empty());
}

// Each name as itself: a trailing space, characters of no code page.
TEST_F(ToolbarButtons, NamesAreListedShownAndDeletedAsThemselves) {
  const std::string spaced = std::string(kA) + " ";
  const std::string nonAscii = "{\xC3\xA9\xE4\xB8\xAD-\xD0\xB6}";
  const std::string nonAsciiShown = "{\xC3\x89\xE4\xB8\xAD-\xD0\x96}";
  m.SetString(kCurrentUser, Button(kA), "ButtonText", "Alpha");
  m.SetString(kCurrentUser, Button(spaced), "ButtonText", "Spaced");
  m.SetString(kCurrentUser, Button(nonAscii), "ButtonText", "\xE4\xB8\xAD\xE6\x96\x87");
  CODINGS(form);
  ASSERT_EQ((std::vector<std::string>{kA, spaced, nonAsciiShown}), m.lists[1].items);
  const std::pair<std::string, std::string> shownAndText[] = {
      {spaced, "Spaced"}, {nonAsciiShown, "\xE4\xB8\xAD\xE6\x96\x87"}};
  for (const auto& [shown, text] : shownAndText) {
    ASSERT_TRUE(m.lists[1].Select(shown));
    List1_Click(form);
    EXPECT_EQ(text, m.texts[1].text);
    m.desktop.answers = {MsgAnswer::Ok};
    Command1_Click(form);
  }
  EXPECT_EQ(std::vector<std::string>{kA}, m.SubKeys(kCurrentUser, kExtensionsPath));
  EXPECT_EQ(std::vector<std::string>{kA}, m.lists[1].items);
}

TEST_F(ToolbarButtons, FailedDeleteIsToldAndTheEntryStays) {
  m.CreateKey(kLocalMachine, Button(kB));
  m.registry.Protect(kLocalMachine, Button(kB));
  CODINGS(form);
  m.lists[2].index = 0;
  m.desktop.answers = {MsgAnswer::Ok};
  Command1_Click(form);
  EXPECT_EQ(std::vector<std::string>{kB}, m.lists[2].items);
  ASSERT_EQ(2u, m.desktop.messages.size());
  EXPECT_EQ(std::string(kNotAllDeleted) + "\nsystem error 5", m.desktop.messages[1].text);
}

}  // namespace
}  // namespace brv
