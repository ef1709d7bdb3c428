// The Browser Helper Objects panel, on both windows.
#include "panels/panel_test.h"

namespace brv {
namespace {

const RegData kNoExplorerData = Sz("1");  // "1" and its NUL, UTF-16

class BhoPanel : public PanelTest {
 protected:
  // An object whose registration holds values of several types and keys.
  void SeedFull(const std::string& name) {
    SetData(reg, kLocalMachine, Bho(name), "NoExplorer", kNoExplorerData);
    SetString(reg, kLocalMachine, Bho(name), "", "default text");
    SetData(reg, kLocalMachine, Bho(name), "flags", Dword(5));
    SetString(reg, kLocalMachine, Bho(name) + "\\Settings\\Deeper", "level", "3");
    CreateKey(reg, kLocalMachine, Bho(name) + "\\Empty");
  }
  bool AnyEnabled(std::initializer_list<const char*> buttons) {
    for (const char* button : buttons) {
      if (d->Enabled(button)) return true;
    }
    return false;
  }
};

TEST_F(BhoPanel, DisableAndEnableMoveTheKeyWithEverythingItHolds) {
  SeedFull(kLowerA);
  SetString(reg, kLocalMachine, Bho(kB), "", "neighbour");
  RegisterClass(reg, kA, "Alpha helper", "C:\\alpha.dll");
  const std::vector<std::string> before = DumpKey(reg, kLocalMachine, Bho(kLowerA));
  Open();
  EXPECT_EQ((std::vector<std::string>{kA, kB}), d->Items("List6"));
  EXPECT_FALSE(AnyEnabled({"Command2", "Command3", "Command5", "Command9"}));

  Select("List6", kA);
  EXPECT_EQ("Alpha helper", d->Text("Text5"));
  EXPECT_EQ("C:\\alpha.dll", d->Text("Text6"));
  EXPECT_TRUE(d->Enabled("Command2") && d->Enabled("Command5") && d->Enabled("Command9"));
  EXPECT_FALSE(d->Enabled("Command3"));
  d->Click("Command2");
  const std::string disabled = std::string(" ") + kLowerA;
  EXPECT_EQ((std::vector<std::string>{disabled, kB}), SubKeys(reg, kLocalMachine, kBhoPath));
  EXPECT_EQ(before, DumpKey(reg, kLocalMachine, Bho(disabled)));
  EXPECT_EQ(std::vector<std::string>{kB}, d->Items("List6"));
  EXPECT_EQ(std::vector<std::string>{std::string(" ") + kA}, d->Items("List7"));
  EXPECT_EQ("", d->Text("Text5"));
  EXPECT_TRUE(d->Enabled("Command2"));  // kept across the refill

  Select("List7", std::string(" ") + kA);
  EXPECT_EQ("Alpha helper", d->Text("Text5"));
  EXPECT_TRUE(d->Enabled("Command3"));
  EXPECT_FALSE(AnyEnabled({"Command2", "Command5", "Command9"}));
  d->Click("Command3");
  EXPECT_EQ((std::vector<std::string>{kLowerA, kB}), SubKeys(reg, kLocalMachine, kBhoPath));
  EXPECT_EQ(before, DumpKey(reg, kLocalMachine, Bho(kLowerA)));
  EXPECT_EQ((std::vector<std::string>{kA, kB}), d->Items("List6"));
  EXPECT_TRUE(d->Items("List7").empty());
  EXPECT_TRUE(d->Enabled("Command3"));
  EXPECT_TRUE(d->Boxes().empty());
}

TEST_F(BhoPanel, DeleteAsksThenRemovesRegistrationAndClassKeyOnly) {
  SeedFull(kA);
  CreateKey(reg, kLocalMachine, Bho(std::string(" ") + kA));
  CreateKey(reg, kLocalMachine, Bho(std::string(" ") + kB));
  CreateKey(reg, kLocalMachine, Bho(kC));
  RegisterClass(reg, kA, "Alpha", "C:\\a.dll");
  RegisterClass(reg, kB, "Beta", "C:\\b.dll");
  SetString(reg, kClassesRoot, Clsid(kC), "", "Gamma");
  CreateKey(reg, kClassesRoot, Clsid(std::string(kA) + "x"));
  Open();
  Select("List6", kA);

  ClickAnswering("Command6", MsgAnswer::Cancel);
  EXPECT_EQ(std::vector<ShownMessage>{DeleteConfirmationBox()}, d->Boxes());
  EXPECT_TRUE(KeyExists(reg, kLocalMachine, Bho(kA)));
  EXPECT_EQ("Alpha", d->Text("Text5"));

  ClickAnswering("Command6", MsgAnswer::Ok);
  EXPECT_EQ(2u, d->Boxes().size());
  EXPECT_EQ((std::vector<std::string>{std::string(" ") + kA, std::string(" ") + kB, kC}),
            SubKeys(reg, kLocalMachine, kBhoPath));
  EXPECT_EQ((std::vector<std::string>{std::string(kA) + "x", kB, kC}),
            SubKeys(reg, kClassesRoot, "CLSID"));
  EXPECT_EQ(std::vector<std::string>{kC}, d->Items("List6"));
  EXPECT_EQ("", d->Text("Text5"));
  EXPECT_EQ("", d->Text("Text6"));

  // A disabled one: its spaced name, and its class by the identifier.
  Select("List7", std::string(" ") + kB);
  EXPECT_EQ("C:\\b.dll", d->Text("Text6"));
  ClickAnswering("Command6", MsgAnswer::Ok);
  EXPECT_EQ((std::vector<std::string>{std::string(" ") + kA, kC}),
            SubKeys(reg, kLocalMachine, kBhoPath));
  EXPECT_EQ((std::vector<std::string>{std::string(kA) + "x", kC}),
            SubKeys(reg, kClassesRoot, "CLSID"));
  EXPECT_EQ(std::vector<std::string>{std::string(" ") + kA}, d->Items("List7"));
  EXPECT_EQ("", d->Text("Text6"));
  EXPECT_EQ(3u, d->Boxes().size());
}

TEST_F(BhoPanel, ExplorerLoadingCommandsWriteTheValueAndSayWhatHolds) {
  SetString(reg, kLocalMachine, Bho(kA), "keep", "k");
  Open();
  d->Click("Command5");  // no selection: no message
  d->Click("Command9");
  EXPECT_TRUE(d->Boxes().empty());

  Select("List6", kA);
  d->Click("Command5");
  d->Click("Command5");
  EXPECT_EQ(kNoExplorerData, ReadData(reg, kLocalMachine, Bho(kA), "NoExplorer"));
  EXPECT_EQ((std::vector<std::string>{"NoExplorer", "keep"}),
            Sorted(Values(reg, kLocalMachine, Bho(kA))));
  const ShownMessage notLoaded =
      Told("Done. The selected BHO will not load with Windows Explorer shell");
  EXPECT_EQ((std::vector<ShownMessage>{notLoaded, notLoaded}), d->Boxes());
  EXPECT_EQ(0, d->ListIndex("List6"));  // no refill

  d->Click("Command9");
  d->Click("Command9");  // already absent: still done
  ASSERT_EQ(4u, d->Boxes().size());
  EXPECT_EQ(Told("Done. The selected BHO will load with Windows Explorer shell"), d->Boxes()[3]);
  EXPECT_EQ(std::vector<std::string>{"keep"}, Values(reg, kLocalMachine, Bho(kA)));

  // The key goes from outside while it is still listed.
  ASSERT_EQ(kErrorSuccess, reg.DeleteTree(kLocalMachine, Bho(kA)));
  d->Click("Command5");
  d->Click("Command9");
  const ShownMessage notOpened =
      Told("Nothing was changed. The key of the selected BHO could not be opened:\n" +
           d->ErrorText(kErrorFileNotFound));
  ASSERT_EQ(6u, d->Boxes().size());
  EXPECT_EQ(notOpened, d->Boxes()[4]);
  EXPECT_EQ(notOpened, d->Boxes()[5]);
  EXPECT_FALSE(KeyExists(reg, kLocalMachine, Bho(kA)));
  EXPECT_EQ(std::vector<std::string>{kA}, d->Items("List6"));  // no refill
}

TEST_F(BhoPanel, NamesOutsideTheCodePageAreListedShownRenamedAndDeletedAsThemselves) {
  SetData(reg, kLocalMachine, Bho(kNonAnsi), "NoExplorer", kNoExplorerData);
  RegisterClass(reg, kNonAnsi, "\xE4\xB8\xAD\xE6\x96\x87", "C:\\\xC3\xA9.dll");
  Open();
  ASSERT_EQ(std::vector<std::string>{kNonAnsiShown}, d->Items("List6"));
  Select("List6", kNonAnsiShown);
  EXPECT_EQ("\xE4\xB8\xAD\xE6\x96\x87", d->Text("Text5"));
  EXPECT_EQ("C:\\\xC3\xA9.dll", d->Text("Text6"));
  d->Click("Command2");
  const std::string disabled = std::string(" ") + kNonAnsi;
  EXPECT_EQ(std::vector<std::string>{disabled}, SubKeys(reg, kLocalMachine, kBhoPath));
  EXPECT_TRUE(ValueExists(reg, kLocalMachine, Bho(disabled), "NoExplorer"));
  Select("List7", std::string(" ") + kNonAnsiShown);
  EXPECT_EQ("\xE4\xB8\xAD\xE6\x96\x87", d->Text("Text5"));
  ClickAnswering("Command6", MsgAnswer::Ok);
  EXPECT_TRUE(SubKeys(reg, kLocalMachine, kBhoPath).empty());
  EXPECT_TRUE(SubKeys(reg, kClassesRoot, "CLSID").empty());
}

}  // namespace
}  // namespace brv
