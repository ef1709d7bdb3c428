// Both registry views on memory: every machine-wide list shows the 32-bit
// view's own entries after the 64-bit view's, marked; each action stays in
// the selected entry's view; per-user entries are listed once.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "app/links.h"
#include "base/text.h"
#include "catalogue/bhos.h"
#include "catalogue/toolbar_buttons.h"
#include "catalogue/toolbars.h"
#include "support/memory_form.h"

namespace brv {
namespace {

const char kA[] = "{AAAAAAAA-0000-0000-0000-000000000001}";
const char kB[] = "{BBBBBBBB-0000-0000-0000-000000000002}";
const char kC[] = "{CCCCCCCC-0000-0000-0000-000000000003}";

// Where a 64-bit program finds the 32-bit view's keys.
std::string Wow(const std::string& softwarePath) {
  const size_t slash = softwarePath.find('\\');
  return softwarePath.substr(0, slash) + "\\Wow6432Node" + softwarePath.substr(slash);
}
std::string Clsid(const std::string& id) {
  return "CLSID\\" + id;
}
std::string Clsid32(const std::string& id) {
  return "Wow6432Node\\CLSID\\" + id;
}
std::string Bho(const std::string& name) {
  return std::string(kBhoPath) + "\\" + name;
}
std::string Button(const std::string& name) {
  return std::string(kExtensionsPath) + "\\" + name;
}

class Views : public ::testing::Test {
 protected:
  // Every key and value of the three roots the panels use: each key's or
  // value's place in the registry dump, and what the dump says of it.
  std::map<std::string, std::string> Snapshot() {
    std::map<std::string, std::string> out;
    for (const std::string& line : DumpRegistry(m.registry)) {
      const size_t name = line.find("] \"");
      const size_t end = name == std::string::npos ? name : line.find("\" ", name + 3);
      if (end == std::string::npos) {
        out[line] = "";
      } else {
        out[line.substr(0, end + 1)] = line.substr(end + 2);
      }
    }
    return out;
  }
  // What is in `before` and not in `after`, and what changed or is new,
  // sorted and upper-cased (names are compared without regard to case).
  static std::vector<std::string> Changes(const std::map<std::string, std::string>& before,
                                          const std::map<std::string, std::string>& after) {
    std::vector<std::string> changes;
    for (const auto& [path, data] : before) {
      auto it = after.find(path);
      if (it == after.end())
        changes.push_back("- " + path);
      else if (it->second != data)
        changes.push_back("~ " + path);
    }
    for (const auto& [path, data] : after) {
      if (!before.count(path)) changes.push_back("+ " + path);
    }
    for (std::string& change : changes) change = UpperCase(change);
    std::sort(changes.begin(), changes.end());
    return changes;
  }
  static std::string Key(RootKey root, const std::string& path) {
    const char* name = root == kClassesRoot ? "HKCR" : root == kCurrentUser ? "HKCU" : "HKLM";
    return UpperCase("[" + std::string(name) + "\\" + path + "]");
  }
  static std::vector<std::string> Sorted(std::vector<std::string> lines) {
    for (std::string& line : lines) line = UpperCase(line);
    std::sort(lines.begin(), lines.end());
    return lines;
  }
  void Click(int list, const std::string& text, void (*handler)(Form1&)) {
    ASSERT_TRUE(m.lists[list].Select(text)) << text;
    handler(m.form);
  }

  // The same object in both views, each with its own class.
  void SeedObjects() {
    m.SetString(kLocalMachine, Bho(kA), "", "");
    m.SetString(kLocalMachine, Wow(Bho(kA)), "", "");
    m.CreateKey(kLocalMachine, Wow(Bho(kB)) + "\\Sub");
    m.CreateKey(kLocalMachine, Wow(Bho(std::string(" ") + kC)));
    m.SetString(kClassesRoot, Clsid(kA), "", "Alpha 64");
    m.SetString(kClassesRoot, Clsid(kA) + "\\InprocServer32", "", "C:\\a64.dll");
    m.SetString(kClassesRoot, Clsid32(kA), "", "Alpha 32");
    m.SetString(kClassesRoot, Clsid32(kA) + "\\InprocServer32", "", "C:\\a32.dll");
    m.SetString(kClassesRoot, Clsid32(kB), "", "Beta 32");
    m.SetString(kClassesRoot, Clsid32(kC), "", "Gamma 32");
  }

  MemoryForm m;
  Form1& form = m.form;
};

TEST_F(Views, MachineListsShowThe32BitViewAfterThe64BitOneMarked) {
  SeedObjects();
  m.CreateKey(kLocalMachine, Button(kA));
  m.CreateKey(kLocalMachine, Wow(Button(kB)));
  m.CreateKey(kCurrentUser, Button(kC));
  m.SetString(kLocalMachine, kMachineToolbarsPath, kA, "");
  m.SetString(kLocalMachine, Wow(kMachineToolbarsPath), kB, "");
  m.SetString(kCurrentUser, kUserToolbarsPath, kC, "");
  CODINGS(form);
  codings1(form);
  CODINGS4(form);
  EXPECT_EQ((std::vector<std::string>{kC}), m.lists[1].items);
  EXPECT_EQ((std::vector<std::string>{kA, std::string(kB) + " (32-bit)"}), m.lists[2].items);
  EXPECT_EQ((std::vector<std::string>{kC}), m.lists[3].items);
  EXPECT_EQ((std::vector<std::string>{kA, std::string(kB) + " (32-bit)"}), m.lists[4].items);
  EXPECT_EQ(
      (std::vector<std::string>{kA, std::string(kA) + " (32-bit)", std::string(kB) + " (32-bit)"}),
      m.lists[6].items);
  EXPECT_EQ((std::vector<std::string>{std::string(" ") + kC + " (32-bit)"}), m.lists[7].items);
  // Each item keeps the name and the view apart from what it shows.
  ASSERT_NE(nullptr, m.lists[7].Item(0));
  EXPECT_EQ(std::string(" ") + kC, m.lists[7].Item(0)->name);
  EXPECT_EQ(View::k32, m.lists[7].Item(0)->view);

  // Double-click copies the identifier without the mark.
  m.lists[7].index = 0;
  List7_DblClick(form);
  EXPECT_EQ(kC, m.desktop.clipboard);
}

TEST_F(Views, OneViewOrOneKeyListsEachEntryOnceUnmarked) {
  MemoryRegistry oneView(MemoryRegistry::Views::One);
  form.registry = &oneView;
  std::unique_ptr<RegKey> key;
  ASSERT_EQ(kErrorSuccess, oneView.CreateKey(kLocalMachine, Bho(kA), &key));
  ASSERT_EQ(kErrorSuccess, oneView.CreateKey(kLocalMachine, Button(kB), &key));
  CODINGS4(form);
  CODINGS(form);
  EXPECT_EQ((std::vector<std::string>{kA}), m.lists[6].items);
  EXPECT_EQ((std::vector<std::string>{kB}), m.lists[2].items);
}

TEST_F(Views, A32BitKeyThatCannotBeOpenedHidesNothingOfThe64BitOne) {
  SeedObjects();
  m.registry.Deny(kLocalMachine, Wow(kBhoPath));
  CODINGS4(form);
  EXPECT_EQ((std::vector<std::string>{kA}), m.lists[6].items);
  EXPECT_TRUE(m.lists[7].items.empty());
}

TEST_F(Views, DetailsComeFromTheEntrysOwnView) {
  SeedObjects();
  CODINGS4(form);
  Click(6, kA, List6_Click);
  EXPECT_EQ("Alpha 64", m.texts[5].text);
  EXPECT_EQ("C:\\a64.dll", m.texts[6].text);
  Click(6, std::string(kA) + " (32-bit)", List6_Click);
  EXPECT_EQ("Alpha 32", m.texts[5].text);
  EXPECT_EQ("C:\\a32.dll", m.texts[6].text);
  Click(7, std::string(" ") + kC + " (32-bit)", List7_Click);
  EXPECT_EQ("Gamma 32", m.texts[5].text);

  // A machine-wide button without Exec takes its file from its view's class.
  m.SetString(kLocalMachine, Wow(Button(kB)), "ClsidExtension", kB);
  m.SetString(kClassesRoot, Clsid32(kB) + "\\InProcServer32", "", "C:\\b32.dll");
  m.SetString(kClassesRoot, Clsid(kB) + "\\InProcServer32", "", "C:\\b64.dll");
  CODINGS(form);
  Click(2, std::string(kB) + " (32-bit)", List2_Click);
  EXPECT_EQ("C:\\b32.dll", m.texts[2].text);
}

TEST_F(Views, PerUserEntriesTakeTheirClassFromThe64BitViewElseThe32BitOne) {
  m.SetString(kCurrentUser, Button(kA), "ClsidExtension", kC);
  m.SetString(kClassesRoot, Clsid32(kC) + "\\InProcServer32", "", "C:\\c32.dll");
  m.SetString(kCurrentUser, kUserToolbarsPath, kC, "");
  m.SetString(kClassesRoot, Clsid32(kC), "", "Gamma 32");
  CODINGS(form);
  codings1(form);
  Click(1, kA, List1_Click);
  EXPECT_EQ("C:\\c32.dll", m.texts[2].text);
  Click(3, kC, List3_Click);
  EXPECT_EQ("Gamma 32", m.texts[3].text);
  EXPECT_EQ("C:\\c32.dll", m.texts[4].text);

  // Registered in both: the 64-bit view's.
  m.SetString(kClassesRoot, Clsid(kC), "", "Gamma 64");
  m.SetString(kClassesRoot, Clsid(kC) + "\\InProcServer32", "", "C:\\c64.dll");
  Click(1, kA, List1_Click);
  EXPECT_EQ("C:\\c64.dll", m.texts[2].text);
  Click(3, kC, List3_Click);
  EXPECT_EQ("Gamma 64", m.texts[3].text);
}

TEST_F(Views, DeletesTakeTheSelectedEntryInItsViewAndNothingElse) {
  SeedObjects();
  m.SetString(kLocalMachine, Button(kA), "Exec", "a64");
  m.SetString(kLocalMachine, Wow(Button(kA)), "Exec", "a32");
  m.SetString(kLocalMachine, kMachineToolbarsPath, kA, "");
  m.SetString(kLocalMachine, Wow(kMachineToolbarsPath), kA, "");
  CODINGS(form);
  codings1(form);
  CODINGS4(form);

  auto before = Snapshot();
  m.desktop.answers = {MsgAnswer::Ok};
  Click(6, std::string(kA) + " (32-bit)", List6_Click);
  Command6_Click(form);
  EXPECT_EQ(Sorted({
                "- " + Key(kClassesRoot, Clsid32(kA)),
                "- " + Key(kClassesRoot, Clsid32(kA)) + " \"\"",
                "- " + Key(kClassesRoot, Clsid32(kA) + "\\InprocServer32"),
                "- " + Key(kClassesRoot, Clsid32(kA) + "\\InprocServer32") + " \"\"",
                "- " + Key(kLocalMachine, Wow(Bho(kA))),
                "- " + Key(kLocalMachine, Wow(Bho(kA))) + " \"\"",
            }),
            Changes(before, Snapshot()));

  before = Snapshot();
  m.desktop.answers = {MsgAnswer::Ok};
  Click(2, std::string(kA) + " (32-bit)", List2_Click);
  Command1_Click(form);
  EXPECT_EQ(Sorted({"- " + Key(kLocalMachine, Wow(Button(kA))),
                    "- " + Key(kLocalMachine, Wow(Button(kA))) + " \"EXEC\""}),
            Changes(before, Snapshot()));

  before = Snapshot();
  m.SetString(kClassesRoot, Clsid32(kA), "", "toolbar class 32");
  m.SetString(kClassesRoot, Clsid(kA) + "\\Keep", "", "");
  before = Snapshot();
  m.desktop.answers = {MsgAnswer::Ok};
  Click(4, std::string(kA) + " (32-bit)", List4_Click);
  Command4_Click(form);
  EXPECT_EQ(Sorted({"- " + Key(kClassesRoot, Clsid32(kA)),
                    "- " + Key(kClassesRoot, Clsid32(kA)) + " \"\"",
                    "- " + Key(kLocalMachine, Wow(kMachineToolbarsPath)) + " \"" + kA + "\""}),
            Changes(before, Snapshot()));
  EXPECT_EQ((std::vector<std::string>{kA}), m.lists[4].items);
}

TEST_F(Views, APerUserToolbarTakesItsClassKeyInEachViewThatHoldsOne) {
  m.SetString(kCurrentUser, kUserToolbarsPath, kC, "");
  m.SetString(kClassesRoot, Clsid(kC), "", "64");
  m.SetString(kClassesRoot, Clsid32(kC), "", "32");
  m.SetString(kCurrentUser, kUserToolbarsPath, kB, "");
  m.SetString(kClassesRoot, Clsid32(kB), "", "32 only");
  codings1(form);
  for (const char* id : {kC, kB}) {
    m.desktop.answers = {MsgAnswer::Ok};
    Click(3, id, List3_Click);
    Command4_Click(form);
    EXPECT_FALSE(m.KeyExists(kClassesRoot, Clsid(id))) << id;
    EXPECT_FALSE(m.KeyExists(kClassesRoot, Clsid32(id))) << id;
    EXPECT_FALSE(m.ValueExists(kCurrentUser, kUserToolbarsPath, id)) << id;
  }
  EXPECT_TRUE(m.KeyExists(kClassesRoot, "Wow6432Node\\CLSID"));
}

TEST_F(Views, DisableEnableAndExplorerCommandsActInTheEntrysViewOnly) {
  // The same object enabled in the 64-bit view and disabled in the 32-bit one.
  m.SetString(kLocalMachine, Bho(kA), "v", "64");
  m.SetString(kLocalMachine, Wow(Bho(std::string(" ") + kA)), "v", "32");
  m.SetString(kLocalMachine, Wow(Bho(kB)), "v", "32");
  CODINGS4(form);

  auto before = Snapshot();
  Click(7, std::string(" ") + kA + " (32-bit)", List7_Click);
  Command3_Click(form);  // enable the 32-bit one
  EXPECT_EQ("32", m.ReadString(kLocalMachine, Wow(Bho(kA)), "v"));
  EXPECT_FALSE(m.KeyExists(kLocalMachine, Wow(Bho(std::string(" ") + kA))));
  EXPECT_EQ("64", m.ReadString(kLocalMachine, Bho(kA), "v"));
  EXPECT_FALSE(m.KeyExists(kLocalMachine, Bho(std::string(" ") + kA)));
  EXPECT_EQ(
      (std::vector<std::string>{kA, std::string(kA) + " (32-bit)", std::string(kB) + " (32-bit)"}),
      m.lists[6].items);

  Click(6, std::string(kB) + " (32-bit)", List6_Click);
  Command2_Click(form);  // disable the 32-bit one
  EXPECT_TRUE(m.KeyExists(kLocalMachine, Wow(Bho(std::string(" ") + kB))));
  EXPECT_FALSE(m.KeyExists(kLocalMachine, Bho(std::string(" ") + kB)));

  before = Snapshot();
  Click(6, std::string(kA) + " (32-bit)", List6_Click);
  Command5_Click(form);
  EXPECT_EQ(Sorted({"+ " + Key(kLocalMachine, Wow(Bho(kA))) + " \"NOEXPLORER\""}),
            Changes(before, Snapshot()));
  Click(6, kA, List6_Click);
  Command5_Click(form);
  Click(6, std::string(kA) + " (32-bit)", List6_Click);
  Command9_Click(form);
  EXPECT_FALSE(m.ValueExists(kLocalMachine, Wow(Bho(kA)), "NoExplorer"));
  EXPECT_TRUE(m.ValueExists(kLocalMachine, Bho(kA), "NoExplorer"));
}

}  // namespace
}  // namespace brv
