// The Options menu commands, on both windows: what they ask, write and tell.
#include <algorithm>

#include "panels/panel_test.h"

namespace brv {
namespace {

const char kZone[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\3";
const char kMain[] = "Software\\Microsoft\\Internet Explorer\\Main";
const char kOwnId[] = "{A349A035-E26F-454b-ABB4-5208E50E1BE7}";
const char kLayoutValue[] =
    "HKCU\\Software\\Microsoft\\Internet Explorer\\Toolbar\\WebBrowser\\ITBarLayout";

const char kConfirmation[] =
    "Internet Zone is set to Custom Level with the following changes:\n"
    "      (You can undo these changes using Internet Options)"
    "\n\n"
    "  Download signed ActiveX scripts                           > Prompt"
    "\n\n"
    "  Download unsigned ActiveX scripts                       > Disable"
    "\n\n"
    "  Initialize and script ActiveX not marked as safe    > Disable"
    "\n\n"
    "  Installation of Desktop items                                 > Prompt"
    "\n\n"
    "  Launching programs and files in a IFRAME            > Prompt"
    "\n\n"
    "  Java permissions                                                    > High Safety"
    "\n\n"
    "  Install on demand (other) - Advanced Tab            > Unchecked"
    "\n\n\n"
    "NOTE: This is the minimum recommended security settings. Other means of protection may also "
    "necessary.";
const ShownMessage kAsked{kConfirmation,
                          "Following changes will be made to Internet Zone in Internet Explorer",
                          MsgButtons::OkCancel, MsgIcon::None};
const char kSecurityTitle[] = "Internet Zone Security";

using OptionsMenu = PanelTest;

TEST_F(OptionsMenu, ResetDeletesTheLayoutValueOnlyAndSaysSo) {
  SetData(reg, kCurrentUser, kUserToolbarsPath, "ITBarLayout", {kRegBinary, std::string(200, 1)});
  SetData(reg, kCurrentUser, kUserToolbarsPath, kAddressBar, {kRegBinary, "x"});
  SetData(reg, kCurrentUser, kUserToolbarsPath, "ITBarLayout2", {kRegBinary, "x"});
  SetString(reg, kCurrentUser, std::string(kUserToolbarsPath) + "\\Sub", "ITBarLayout", "kept");
  Open();
  std::vector<std::string> expected = DumpRegistry(reg);
  const auto layout = std::find_if(expected.begin(), expected.end(), [](const std::string& line) {
    return line.find("] \"ITBarLayout\" ") != std::string::npos;
  });
  ASSERT_NE(expected.end(), layout);
  expected.erase(layout);
  SetString(reg, kCurrentUser, kUserToolbarsPath, kB, "");  // shown only after a refill
  d->Click("resettoolbar");
  d->Click("resettoolbar");  // nothing left to delete: the same
  EXPECT_FALSE(ValueExists(reg, kCurrentUser, kUserToolbarsPath, "ITBarLayout"));
  reg.DeleteValue(kCurrentUser, kUserToolbarsPath, kB);
  EXPECT_EQ(expected, DumpRegistry(reg));
  const ShownMessage reset = Told("IE Toolbar placement is now reset", "Reset Toolbar layout");
  EXPECT_EQ((std::vector<ShownMessage>{reset, reset}), d->Boxes());
  EXPECT_EQ(std::vector<std::string>{kAddressBar}, d->Items("List3"));  // no refill
}

TEST_F(OptionsMenu, ResetThatCannotDeleteTellsNothingWasResetAndWhy) {
  SetData(reg, kCurrentUser, kUserToolbarsPath, "ITBarLayout", {kRegBinary, "layout"});
  d->Refuse(kCurrentUser, kUserToolbarsPath);
  Open();
  d->Click("resettoolbar");
  EXPECT_EQ(std::vector<ShownMessage>{Told(
                "IE Toolbar placement was not reset.\n\nThe value " + std::string(kLayoutValue) +
                    " could not be deleted: " + d->ErrorText(kErrorAccessDenied),
                "Reset Toolbar layout")},
            d->Boxes());
  EXPECT_EQ((RegData{kRegBinary, "layout"}),
            ReadData(reg, kCurrentUser, kUserToolbarsPath, "ITBarLayout"));
}

TEST_F(OptionsMenu, SecurityAsksAndOnlyOkWritesTheEightValues) {
  SetData(reg, kCurrentUser, kZone, "1001", Dword(0));
  Open();
  const std::vector<std::string> before = DumpRegistry(reg);
  d->Answer({MsgAnswer::Cancel});
  d->Click("Security");
  d->Click("Security");  // closed without an answer
  EXPECT_EQ((std::vector<ShownMessage>{kAsked, kAsked}), d->Boxes());
  EXPECT_EQ(before, DumpRegistry(reg));

  d->Answer({MsgAnswer::Ok});
  d->Click("Security");
  EXPECT_EQ((std::vector<ShownMessage>{
                kAsked, kAsked, kAsked,
                Told("Security for IE Internet Zone is increased\n\nNOTE: This is the minimum "
                     "recommended security setting. Other means of protection for Internet "
                     "Explorer may also be necessary",
                     kSecurityTitle)}),
            d->Boxes());
  const std::pair<const char*, RegData> expected[] = {
      {"CurrentLevel", Dword(0)},
      {"1001", Dword(1)},
      {"1004", Dword(3)},
      {"1201", Dword(3)},
      {"1800", Dword(1)},
      {"1804", Dword(1)},
      {"1C00", {kRegBinary, std::string("\x00\x00\x01\x00", 4)}},
  };
  for (const auto& [name, data] : expected) {
    EXPECT_EQ(data, ReadData(reg, kCurrentUser, kZone, name)) << name;
  }
  EXPECT_EQ(7u, Values(reg, kCurrentUser, kZone).size());
  EXPECT_EQ(Dword(1), ReadData(reg, kCurrentUser, kMain, "NoWebJITSetup"));
  EXPECT_EQ(1u, Values(reg, kCurrentUser, kMain).size());
}

TEST_F(OptionsMenu, SecurityRefusedAtTheLastWriteSaysWhatWasWritten) {
  CreateKey(reg, kCurrentUser, kMain);
  d->Refuse(kCurrentUser, kMain);
  Open();
  d->Answer({MsgAnswer::Ok});
  d->Click("Security");
  ASSERT_EQ(2u, d->Boxes().size());
  EXPECT_EQ(Told("Security for IE Internet Zone was not increased.\n\nThe value "
                 "HKCU\\Software\\Microsoft\\Internet Explorer\\Main\\NoWebJITSetup could not be "
                 "written: " +
                     d->ErrorText(kErrorAccessDenied) +
                     "\n\nThe values before it were written: CurrentLevel, 1001, 1004, 1201, "
                     "1800, 1804, 1C00. It and the values after it were not.",
                 kSecurityTitle),
            d->Boxes()[1]);
  EXPECT_EQ(7u, Values(reg, kCurrentUser, kZone).size());
  EXPECT_TRUE(Values(reg, kCurrentUser, kMain).empty());
}

TEST_F(OptionsMenu, OwnButtonPointsAtThisProgramAndShowsAfterARefresh) {
  SetString(reg, kCurrentUser, Button("{OTHER}"), "ButtonText", "Other");
  Open();
  d->Click("tbutton");
  d->Click("tbutton");  // twice: the same one entry
  const std::string program = d->ProgramPath();
  ASSERT_FALSE(program.empty());
  const std::pair<const char*, std::string> expected[] = {
      {"ButtonText", "Brovantine"}, {"CLSID", "{1FBA04EE-3024-11D2-8F1F-0000F87ABD16}"},
      {"Default Visible", "Yes"},   {"Exec", program},
      {"HotIcon", program + ",1"},  {"Icon", program + ",1"},
      {"MenuText", "Brovantine"},
  };
  for (const auto& [name, text] : expected) {
    EXPECT_EQ(Sz(text), ReadData(reg, kCurrentUser, Button(kOwnId), name)) << name;
  }
  EXPECT_EQ(7u, Values(reg, kCurrentUser, Button(kOwnId)).size());
  // The identifier keeps its spelling; the other entry stays.
  EXPECT_EQ((std::vector<std::string>{kOwnId, "{OTHER}"}),
            SubKeys(reg, kCurrentUser, kExtensionsPath));
  EXPECT_EQ("Other", ReadString(reg, kCurrentUser, Button("{OTHER}"), "ButtonText"));
  const ShownMessage added =
      Told("Added Brovantine to Internet Explorer standard toolbar", "Brovantine IE button");
  EXPECT_EQ((std::vector<ShownMessage>{added, added}), d->Boxes());
  EXPECT_EQ(std::vector<std::string>{"{OTHER}"}, d->Items("List1"));
  d->Click("Refresh");
  EXPECT_EQ((std::vector<std::string>{"{A349A035-E26F-454B-ABB4-5208E50E1BE7}", "{OTHER}"}),
            d->Items("List1"));
}

TEST_F(OptionsMenu, OwnButtonRefusedWritesNothingAndTellsWhy) {
  CreateKey(reg, kCurrentUser, Button(kOwnId));
  d->Refuse(kCurrentUser, Button(kOwnId));
  Open();
  d->Click("tbutton");
  EXPECT_EQ(std::vector<ShownMessage>{Told(
                "Brovantine was not added to Internet Explorer.\n\nThe value "
                "HKCU\\SOFTWARE\\Microsoft\\Internet Explorer\\Extensions\\"
                "{A349A035-E26F-454b-ABB4-5208E50E1BE7}\\ButtonText could not be written: " +
                    d->ErrorText(kErrorAccessDenied) + "\n\nNothing was changed.",
                "Brovantine IE button")},
            d->Boxes());
  EXPECT_TRUE(Values(reg, kCurrentUser, Button(kOwnId)).empty());
}

}  // namespace
}  // namespace brv
