// The context-menu panel on memory.
#include <gtest/gtest.h>

#include "catalogue/common.h"
#include "catalogue/context_menus.h"
#include "base/text.h"
#include "support/memory_form.h"

namespace brv {
namespace {

class ContextMenus : public ::testing::Test {
 protected:
  void ConfirmAndDelete() {
    m.desktop.answers = {MsgAnswer::Ok};
    Command10_Click(form);
  }

  MemoryForm m;
  Form1& form = m.form;
};

TEST_F(ContextMenus, FillListsSubKeysUpperCasedInEnumerationOrder) {
  m.SetString(kCurrentUser, MenuEntry("&Translate with Demo"), "", "C:\\t.htm");
  m.CreateKey(kCurrentUser, MenuEntry("download all"));
  m.CreateKey(kCurrentUser, MenuEntry("Zoom"));
  m.SetString(kCurrentUser, kMenuExtPath, "NotAnEntry", "values are not entries");
  m.lists[5].Put({"stale"});
  m.lists[5].index = 0;
  m.texts[7].text = "old";
  codings3(form);
  EXPECT_EQ((std::vector<std::string>{"&TRANSLATE WITH DEMO", "DOWNLOAD ALL", "ZOOM"}),
            m.lists[5].items);
  EXPECT_EQ(-1, m.lists[5].index);
  EXPECT_EQ("", m.texts[7].text);
  EXPECT_EQ(1, m.lists[5].repaints);
}

TEST_F(ContextMenus, MissingKeyGivesAnEmptyListSilently) {
  m.lists[5].Put({"stale"});
  m.texts[7].text = "old";
  codings3(form);
  EXPECT_TRUE(m.lists[5].items.empty());
  EXPECT_EQ("", m.texts[7].text);
  EXPECT_TRUE(m.desktop.messages.empty());
}

TEST_F(ContextMenus, ClickShowsTheCommandOrLeavesTheBox) {
  m.SetString(kCurrentUser, MenuEntry("Alpha"), "", "res://alpha.dll/menu.htm");
  m.CreateKey(kCurrentUser, MenuEntry("Beta"));  // no default value
  m.SetData(kCurrentUser, MenuEntry("Gamma"), "", {kRegDword, std::string(4, '\1')});
  m.SetString(kCurrentUser, MenuEntry("Delta"), "", "");
  codings3(form);
  List5_Click(form);  // nothing selected
  EXPECT_EQ("", m.texts[7].text);

  ASSERT_TRUE(m.lists[5].Select("ALPHA"));
  List5_Click(form);
  EXPECT_EQ("res://alpha.dll/menu.htm", m.texts[7].text);
  ASSERT_TRUE(m.lists[5].Select("BETA"));
  List5_Click(form);
  EXPECT_EQ("res://alpha.dll/menu.htm", m.texts[7].text);
  ASSERT_TRUE(m.lists[5].Select("GAMMA"));
  List5_Click(form);
  EXPECT_EQ("res://alpha.dll/menu.htm", m.texts[7].text);
  ASSERT_TRUE(m.lists[5].Select("DELTA"));  // an empty command is shown as such
  List5_Click(form);
  EXPECT_EQ("", m.texts[7].text);
}

TEST_F(ContextMenus, DeleteWithNothingSelectedChangesNothing) {
  m.CreateKey(kCurrentUser, MenuEntry("Alpha"));
  codings3(form);
  m.texts[7].text = "kept";
  ConfirmAndDelete();
  EXPECT_EQ(1u, m.desktop.messages.size());
  EXPECT_EQ(std::vector<std::string>{"Alpha"}, m.SubKeys(kCurrentUser, kMenuExtPath));
  EXPECT_EQ("kept", m.texts[7].text);
}

TEST_F(ContextMenus, UnusualContentIsListedAndShownSafely) {
  const std::string longName(255, 'n');
  const std::string longCommand(20000, 'c');
  m.SetString(kCurrentUser, MenuEntry(longName), "", longCommand);
  m.SetData(kCurrentUser, MenuEntry("Bare"), "",
            {kRegSz, Utf8ToUtf16LeBytes("no terminator", false)});
  codings3(form);
  ASSERT_EQ((std::vector<std::string>{"BARE", UpperCase(longName)}), m.lists[5].items);
  m.lists[5].index = 1;
  List5_Click(form);
  EXPECT_EQ(longCommand, m.texts[7].text);
  m.lists[5].index = 0;
  List5_Click(form);
  EXPECT_EQ("no terminator", m.texts[7].text);

  m.registry.DeleteTree(kCurrentUser, MenuEntry("Bare"));  // gone since the fill
  m.lists[5].index = 0;
  List5_Click(form);
  EXPECT_EQ("no terminator", m.texts[7].text);
  ConfirmAndDelete();
  EXPECT_EQ(std::vector<std::string>{UpperCase(longName)}, m.lists[5].items);
}

TEST_F(ContextMenus, NameHoldingANulIsListedMarkedAndDeletedAsItself) {
  m.SetString(kCurrentUser, MenuEntry("Search"), "", "plain.htm");
  m.SetString(kCurrentUser, MenuEntry(std::string("Search") + '\0' + "hidden"), "", "hidden.htm");
  codings3(form);
  EXPECT_EQ((std::vector<std::string>{"SEARCH", "SEARCH\xE2\x90\x80HIDDEN"}), m.lists[5].items);
  m.lists[5].index = 1;
  List5_Click(form);
  EXPECT_EQ("hidden.htm", m.texts[7].text);
  ConfirmAndDelete();
  EXPECT_EQ(std::vector<std::string>{"Search"}, m.SubKeys(kCurrentUser, kMenuExtPath));
  EXPECT_EQ(std::vector<std::string>{"SEARCH"}, m.lists[5].items);
}

TEST_F(ContextMenus, FailedDeleteIsToldAndTheEntryStays) {
  m.CreateKey(kCurrentUser, MenuEntry("Locked"));
  m.registry.Protect(kCurrentUser, MenuEntry("Locked"));
  codings3(form);
  m.lists[5].index = 0;
  ConfirmAndDelete();
  EXPECT_EQ(std::vector<std::string>{"LOCKED"}, m.lists[5].items);
  ASSERT_EQ(2u, m.desktop.messages.size());
  EXPECT_EQ(std::string(kNotAllDeleted) + "\nsystem error 5", m.desktop.messages[1].text);
  EXPECT_EQ("Brovantine", m.desktop.messages[1].title);
}

}  // namespace
}  // namespace brv
