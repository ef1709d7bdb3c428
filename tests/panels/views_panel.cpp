// Both registry views, on both windows: the machine-wide lists show the
// 32-bit view's own entries after the 64-bit view's, marked; each action
// stays in the selected entry's view.
#include <algorithm>
#include <map>

#include "base/text.h"
#include "panels/panel_test.h"

namespace brv {
namespace {

const char kMark[] = " (32-bit)";

class ViewsPanel : public PanelTest {
 protected:
  // Every key and value: its place in the dump, and what the dump says of it.
  std::map<std::string, std::string> Snapshot() {
    std::map<std::string, std::string> out;
    for (const std::string& line : d->Dump()) {
      const size_t name = line.find("] \"");
      const size_t end = name == std::string::npos ? name : line.find("\" ", name + 3);
      if (end == std::string::npos) {
        out[UpperCase(line)] = "";
      } else {
        out[UpperCase(line.substr(0, end + 1))] = line.substr(end + 2);
      }
    }
    return out;
  }
  // What went, what changed and what is new since `before`, sorted and
  // upper-cased (names are compared without regard to case).
  std::vector<std::string> ChangesSince(const std::map<std::string, std::string>& before) {
    const std::map<std::string, std::string> after = Snapshot();
    std::vector<std::string> changes;
    for (const auto& [path, data] : before) {
      auto it = after.find(path);
      if (it == after.end()) {
        changes.push_back("- " + path);
      } else if (it->second != data) {
        changes.push_back("~ " + path);
      }
    }
    for (const auto& [path, data] : after) {
      if (!before.count(path)) changes.push_back("+ " + path);
    }
    return Sorted(changes);
  }
  static std::string Key(RootKey root, const std::string& path) {
    const char* name = root == kClassesRoot ? "HKCR" : root == kCurrentUser ? "HKCU" : "HKLM";
    return UpperCase("[" + std::string(name) + "\\" + path + "]");
  }
  static std::vector<std::string> Upper(std::vector<std::string> lines) {
    for (std::string& line : lines) line = UpperCase(line);
    return Sorted(lines);
  }
  static std::string Marked(const std::string& name) { return name + kMark; }

  // The same object in both views, each with its own class; two in the
  // 32-bit view only, one of them disabled.
  void SeedObjects() {
    SetString(reg, kLocalMachine, Bho(kA), "", "");
    SetString(reg, kLocalMachine, Wow(Bho(kA)), "", "");
    SetString(reg, kLocalMachine, Wow(Bho(kA)) + "\\Settings", "level", "3");
    CreateKey(reg, kLocalMachine, Wow(Bho(kB)) + "\\Sub");
    CreateKey(reg, kLocalMachine, Wow(Bho(std::string(" ") + kC)));
    RegisterClass(reg, kA, "Alpha 64", "C:\\a64.dll");
    RegisterClass(reg, d->Class32(kA), "Alpha 32", "C:\\a32.dll");
    SetString(reg, d->Class32(kB), "", "Beta 32");
    SetString(reg, d->Class32(kC), "", "Gamma 32");
  }
};

TEST_F(ViewsPanel, MachineListsShowThe32BitViewAfterThe64BitOneMarkedWithItsOwnDetails) {
  SeedObjects();
  CreateKey(reg, kLocalMachine, Button(kA));
  SetString(reg, kLocalMachine, Wow(Button(kB)), "ButtonText", "Beta button");
  SetString(reg, kLocalMachine, Wow(Button(kB)), "Exec", "C:\\beta.exe");
  CreateKey(reg, kCurrentUser, Button(kC));
  SetString(reg, kLocalMachine, kMachineToolbarsPath, kA, "");
  SetString(reg, kLocalMachine, Wow(kMachineToolbarsPath), kB, "");
  SetString(reg, kCurrentUser, kUserToolbarsPath, kC, "");
  Open();
  EXPECT_EQ((std::vector<std::string>{kC}), d->Items("List1"));
  EXPECT_EQ((std::vector<std::string>{kA, Marked(kB)}), d->Items("List2"));
  EXPECT_EQ((std::vector<std::string>{kC}), d->Items("List3"));
  EXPECT_EQ((std::vector<std::string>{kA, Marked(kB)}), d->Items("List4"));
  EXPECT_EQ((std::vector<std::string>{kA, Marked(kA), Marked(kB)}), d->Items("List6"));
  EXPECT_EQ((std::vector<std::string>{Marked(std::string(" ") + kC)}), d->Items("List7"));

  Select("List6", Marked(kA));
  EXPECT_EQ("Alpha 32", d->Text("Text5"));
  EXPECT_EQ("C:\\a32.dll", d->Text("Text6"));
  Select("List6", kA);
  EXPECT_EQ("Alpha 64", d->Text("Text5"));
  EXPECT_EQ("C:\\a64.dll", d->Text("Text6"));
  Select("List4", Marked(kB));
  EXPECT_EQ("Beta 32", d->Text("Text3"));
  Select("List2", Marked(kB));
  EXPECT_EQ("Beta button", d->Text("Text1"));
  EXPECT_EQ("C:\\beta.exe", d->Text("Text2"));

  // A double-click copies the identifier without the mark.
  ASSERT_TRUE(d->Select("List7", Marked(std::string(" ") + kC), true));
  EXPECT_EQ(kC, d->Clipboard());
}

TEST_F(ViewsPanel, DeletesTakeTheSelectedEntryInItsViewAndNothingElse) {
  SeedObjects();
  SetString(reg, kLocalMachine, Button(kA), "Exec", "a64");
  SetString(reg, kLocalMachine, Wow(Button(kA)), "Exec", "a32");
  SetString(reg, kLocalMachine, kMachineToolbarsPath, kA, "");
  SetString(reg, kLocalMachine, Wow(kMachineToolbarsPath), kA, "");
  Open();

  auto before = Snapshot();
  Select("List6", Marked(kA));
  ClickAnswering("Command6", MsgAnswer::Ok);
  const std::string settings = Wow(Bho(kA)) + "\\Settings";
  EXPECT_EQ(Upper({
                "- " + Key(kClassesRoot, Clsid32(kA)),
                "- " + Key(kClassesRoot, Clsid32(kA)) + " \"\"",
                "- " + Key(kClassesRoot, Clsid32(kA) + "\\InprocServer32"),
                "- " + Key(kClassesRoot, Clsid32(kA) + "\\InprocServer32") + " \"\"",
                "- " + Key(kLocalMachine, Wow(Bho(kA))),
                "- " + Key(kLocalMachine, Wow(Bho(kA))) + " \"\"",
                "- " + Key(kLocalMachine, settings),
                "- " + Key(kLocalMachine, settings) + " \"level\"",
            }),
            ChangesSince(before));
  EXPECT_EQ((std::vector<std::string>{kA, Marked(kB)}), d->Items("List6"));

  before = Snapshot();
  Select("List2", Marked(kA));
  ClickAnswering("Command1", MsgAnswer::Ok);
  EXPECT_EQ(Upper({"- " + Key(kLocalMachine, Wow(Button(kA))),
                   "- " + Key(kLocalMachine, Wow(Button(kA))) + " \"EXEC\""}),
            ChangesSince(before));

  SetString(reg, d->Class32(kA), "", "toolbar class 32");
  SetString(reg, kClassesRoot, Clsid(kA) + "\\Keep", "", "");
  before = Snapshot();
  Select("List4", Marked(kA));
  ClickAnswering("Command4", MsgAnswer::Ok);
  EXPECT_EQ(
      Upper({"- " + Key(kClassesRoot, Clsid32(kA)), "- " + Key(kClassesRoot, Clsid32(kA)) + " \"\"",
             "- " + Key(kLocalMachine, Wow(kMachineToolbarsPath)) + " \"" + kA + "\""}),
      ChangesSince(before));
  EXPECT_EQ((std::vector<std::string>{kA}), d->Items("List4"));
}

TEST_F(ViewsPanel, DisableEnableAndExplorerCommandsActInTheEntrysViewOnly) {
  // The same object enabled in the 64-bit view and disabled in the 32-bit
  // one; another in the 32-bit view only.
  SetString(reg, kLocalMachine, Bho(kA), "v", "64");
  SetString(reg, kLocalMachine, Wow(Bho(std::string(" ") + kA)), "v", "32");
  SetString(reg, kLocalMachine, Wow(Bho(kB)), "v", "32");
  SetString(reg, kLocalMachine, Wow(Bho(kB)) + "\\Settings", "level", "3");
  Open();

  Select("List7", Marked(std::string(" ") + kA));
  d->Click("Command3");  // enable the 32-bit one
  EXPECT_EQ("32", ReadString(reg, kLocalMachine, Wow(Bho(kA)), "v"));
  EXPECT_FALSE(KeyExists(reg, kLocalMachine, Wow(Bho(std::string(" ") + kA))));
  EXPECT_EQ("64", ReadString(reg, kLocalMachine, Bho(kA), "v"));
  EXPECT_FALSE(KeyExists(reg, kLocalMachine, Bho(std::string(" ") + kA)));
  EXPECT_EQ((std::vector<std::string>{kA, Marked(kA), Marked(kB)}), d->Items("List6"));

  Select("List6", Marked(kB));
  d->Click("Command2");  // disable the 32-bit one, with what it holds
  EXPECT_EQ((std::vector<std::string>{std::string(" ") + kB, kA}),
            SubKeys(reg, kLocalMachine, Wow(kBhoPath)));
  EXPECT_EQ(
      "3", ReadString(reg, kLocalMachine, Wow(Bho(std::string(" ") + kB)) + "\\Settings", "level"));
  EXPECT_EQ((std::vector<std::string>{kA}), SubKeys(reg, kLocalMachine, kBhoPath));

  const auto before = Snapshot();
  Select("List6", Marked(kA));
  d->Click("Command5");
  EXPECT_EQ(Upper({"+ " + Key(kLocalMachine, Wow(Bho(kA))) + " \"NOEXPLORER\""}),
            ChangesSince(before));
  Select("List6", kA);
  d->Click("Command5");
  Select("List6", Marked(kA));
  d->Click("Command9");
  EXPECT_FALSE(ValueExists(reg, kLocalMachine, Wow(Bho(kA)), "NoExplorer"));
  EXPECT_TRUE(ValueExists(reg, kLocalMachine, Bho(kA), "NoExplorer"));
}

}  // namespace
}  // namespace brv
