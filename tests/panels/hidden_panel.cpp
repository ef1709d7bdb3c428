// Hostile content, on both windows: registry links and names holding a NUL.
// Each case checks the registry afterwards: only the asked change, the
// links' targets whole.
#include "panels/panel_test.h"

namespace brv {
namespace {

const char kTarget[] = "Software\\Precious";

class HiddenPanel : public PanelTest {
 protected:
  void SetUp() override {
    SetString(reg, kCurrentUser, kTarget, "keep", "precious");
    SetString(reg, kCurrentUser, std::string(kTarget) + "\\Deep", "keep", "deep");
    target_ = Target();
    ASSERT_EQ(4u, target_.size());
  }
  void Link(RootKey root, const std::string& path) {
    d->Link({root, View::k64, path}, {kCurrentUser, View::k64, kTarget});
  }
  std::vector<std::string> Target() { return DumpKey(reg, kCurrentUser, kTarget); }
  void ExpectTargetWhole() { EXPECT_EQ(target_, Target()); }

  std::vector<std::string> target_;
};

TEST_F(HiddenPanel, DeletingALinkedEntryRemovesTheLinkNeverItsTarget) {
  // A helper object whose registration is a link, one holding a link, and a
  // toolbar whose class key is a link.
  Link(kLocalMachine, Bho(kA));
  SetString(reg, kLocalMachine, Bho(kB), "", "");
  Link(kLocalMachine, Bho(kB) + "\\Inner");
  Link(kClassesRoot, Clsid(kB));
  SetString(reg, kCurrentUser, kUserToolbarsPath, kB, "");
  Open();
  EXPECT_EQ((std::vector<std::string>{kA, kB}), d->Items("List6"));
  for (const char* id : {kA, kB}) {
    Select("List6", id);  // details read through a link are fine
    ClickAnswering("Command6", MsgAnswer::Ok);
    EXPECT_FALSE(KeyExists(reg, kLocalMachine, Bho(id))) << id;
    ExpectTargetWhole();
  }
  EXPECT_TRUE(SubKeys(reg, kLocalMachine, kBhoPath).empty());
  EXPECT_TRUE(d->Items("List6").empty());
  Select("List3", kB);
  ClickAnswering("Command4", MsgAnswer::Ok);
  EXPECT_FALSE(ValueExists(reg, kCurrentUser, kUserToolbarsPath, kB));
  EXPECT_TRUE(SubKeys(reg, kClassesRoot, "CLSID").empty());
  ExpectTargetWhole();
}

TEST_F(HiddenPanel, DisablingOrEnablingALinkIsRefusedAndChangesNothing) {
  Link(kLocalMachine, Bho(kA));
  CreateKey(reg, kLocalMachine, Bho(std::string(" ") + kB));
  Link(kLocalMachine, Bho(std::string(" ") + kB) + "\\Settings");
  Open();
  const std::vector<std::string> before = d->Dump();
  Select("List6", kA);
  d->Click("Command2");
  Select("List7", std::string(" ") + kB);
  d->Click("Command3");
  EXPECT_EQ(before, d->Dump());
  EXPECT_EQ((std::vector<std::string>{std::string(" ") + kB, kA}),
            SubKeys(reg, kLocalMachine, kBhoPath));
  ExpectTargetWhole();
  ASSERT_EQ(2u, d->Boxes().size());
  for (const ShownMessage& shown : d->Boxes()) {
    EXPECT_EQ(0u, shown.text.find("Nothing was changed. The key of the selected BHO is a registry "
                                  "link, or holds one."))
        << shown.text;
    EXPECT_EQ("Brovantine", shown.title);
  }
}

TEST_F(HiddenPanel, NamesHoldingANulAreListedAndDeletedAsThemselves) {
  SetString(reg, kCurrentUser, Button(kB), "ButtonText", "Plain");
  CreateKey(reg, kCurrentUser, Button(std::string(kB) + '\0' + "x"));
  // A helper object holding a sub-key whose name holds a NUL goes whole.
  SetString(reg, kLocalMachine, Bho(kA) + "\\Free", "v", "x");
  CreateKey(reg, kLocalMachine, Bho(kA) + "\\Held" + '\0' + "x");
  Open();
  const std::string shown = std::string(kB) + "\xE2\x90\x80X";
  EXPECT_EQ((std::vector<std::string>{kB, shown}), d->Items("List1"));
  Select("List1", shown);
  ClickAnswering("Command1", MsgAnswer::Ok);
  EXPECT_EQ((std::vector<std::string>{kB}), SubKeys(reg, kCurrentUser, kExtensionsPath));
  EXPECT_EQ("Plain", ReadString(reg, kCurrentUser, Button(kB), "ButtonText"));

  Select("List6", kA);
  ClickAnswering("Command6", MsgAnswer::Ok);
  EXPECT_FALSE(KeyExists(reg, kLocalMachine, Bho(kA)));
}

}  // namespace
}  // namespace brv
