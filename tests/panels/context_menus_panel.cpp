// The context-menu panel, on both windows.
#include "panels/panel_test.h"

namespace brv {
namespace {

using ContextMenuPanel = PanelTest;

TEST_F(ContextMenuPanel, EntriesAreShownAndDeletedEachAlone) {
  const std::string nonAnsi = "\xC3\xA9tendre \xD0\xB6 \xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x98\x80";
  const std::string nonAnsiShown =
      "\xC3\x89TENDRE \xD0\x96 \xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x98\x80";
  SetString(reg, kCurrentUser, MenuEntry("&Translate"), "", "C:\\translate.htm");
  SetString(reg, kCurrentUser, MenuEntry("&Translate") + "\\Deeper", "v", "x");
  SetString(reg, kCurrentUser, MenuEntry("&Translate "), "", "trailing space");
  SetString(reg, kCurrentUser, MenuEntry(" &Translate"), "", "leading space");
  SetString(reg, kCurrentUser, MenuEntry("download all"), "", "res://get.dll/all.htm");
  SetString(reg, kCurrentUser, MenuEntry(nonAnsi), "", "C:\\\xE4\xB8\xAD.htm");
  CreateKey(reg, kCurrentUser, MenuEntry("No command"));
  SetString(reg, kCurrentUser, MenuEntry("Get links"), "", "C:\\links.htm");
  SetString(reg, kCurrentUser, MenuEntry("Get links") + "\\Deeper", "v", "x");
  CreateKey(reg, kCurrentUser, MenuEntry("Get links too"));
  CreateKey(reg, kCurrentUser, MenuEntry("Get"));
  Open();
  EXPECT_EQ(
      (std::vector<std::string>{" &TRANSLATE", "&TRANSLATE", "&TRANSLATE ", "DOWNLOAD ALL", "GET",
                                "GET LINKS", "GET LINKS TOO", "NO COMMAND", nonAnsiShown}),
      d->Items("List5"));

  Select("List5", "DOWNLOAD ALL");
  EXPECT_EQ("res://get.dll/all.htm", d->Text("Text7"));
  Select("List5", "NO COMMAND");  // no command: the box keeps its text
  EXPECT_EQ("res://get.dll/all.htm", d->Text("Text7"));
  Select("List5", "GET LINKS");
  EXPECT_EQ("C:\\links.htm", d->Text("Text7"));

  ClickAnswering("Command10", MsgAnswer::Cancel);
  EXPECT_EQ(std::vector<ShownMessage>{DeleteConfirmationBox()}, d->Boxes());
  EXPECT_TRUE(KeyExists(reg, kCurrentUser, MenuEntry("Get links")));
  EXPECT_EQ("C:\\links.htm", d->Text("Text7"));
  ClickAnswering("Command10", MsgAnswer::Ok);
  EXPECT_EQ(2u, d->Boxes().size());
  EXPECT_FALSE(KeyExists(reg, kCurrentUser, MenuEntry("Get links")));
  EXPECT_EQ((std::vector<std::string>{" &TRANSLATE", "&TRANSLATE", "&TRANSLATE ", "DOWNLOAD ALL",
                                      "GET", "GET LINKS TOO", "NO COMMAND", nonAnsiShown}),
            d->Items("List5"));
  EXPECT_EQ("", d->Text("Text7"));

  // Each name as itself: spaces around it, characters of no code page.
  for (const char* spaced : {"&TRANSLATE ", " &TRANSLATE"}) {
    Select("List5", spaced);
    EXPECT_EQ(spaced[0] == ' ' ? "leading space" : "trailing space", d->Text("Text7"));
    ClickAnswering("Command10", MsgAnswer::Ok);
  }
  EXPECT_FALSE(KeyExists(reg, kCurrentUser, MenuEntry("&Translate ")));
  EXPECT_FALSE(KeyExists(reg, kCurrentUser, MenuEntry(" &Translate")));
  EXPECT_TRUE(KeyExists(reg, kCurrentUser, MenuEntry("&Translate") + "\\Deeper"));
  Select("List5", nonAnsiShown);
  EXPECT_EQ("C:\\\xE4\xB8\xAD.htm", d->Text("Text7"));
  ClickAnswering("Command10", MsgAnswer::Ok);
  Select("List5", "&TRANSLATE");
  ClickAnswering("Command10", MsgAnswer::Ok);
  EXPECT_EQ((std::vector<std::string>{"download all", "Get", "Get links too", "No command"}),
            SubKeys(reg, kCurrentUser, kMenuExtPath));
  EXPECT_EQ((std::vector<std::string>{"DOWNLOAD ALL", "GET", "GET LINKS TOO", "NO COMMAND"}),
            d->Items("List5"));
  EXPECT_EQ(6u, d->Boxes().size());
}

}  // namespace
}  // namespace brv
