// The status bar's verdict on memory: one case per rule the browser loads by,
// per way an entry names its file, and per hostile input.
#include <gtest/gtest.h>

#include "app/events.h"
#include "catalogue/bhos.h"
#include "catalogue/context_menus.h"
#include "catalogue/toolbar_buttons.h"
#include "catalogue/toolbars.h"
#include "conformance/files_conformance.h"
#include "files/examine.h"
#include "support/memory_form.h"
#include "support/registry_fixture.h"

namespace brv {
namespace {

const std::string kPolicy = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Ext";
const std::string kLoads = "Loads in Internet Explorer and Windows Explorer";
const std::string kMade = ", Brovantine Test Makers, Sample helper";
const std::string kAFile = " | C:\\A\\a.dll | Signed by Alpha Makers" + kMade;
const std::string kLong = "C:\\" + std::string(32760, 'l') + ".dll";
const std::string kNotFound = "Not loaded: file not found | ";

struct Value {
  RootKey root;
  std::string path;
  std::string name;
  RegData data;
  View view = View::k64;
};

Value Bho(const std::string& id, const char* name = "", View view = View::k64) {
  return {kLocalMachine, std::string(kBhoPath) + "\\" + id, name, Sz("1"), view};
}
Value ClassFile(RegData data, const std::string& id = kA, View view = View::k64) {
  return {kClassesRoot, "CLSID\\" + id + "\\InprocServer32", "", data, view};
}
Value Policy(RootKey root, RegData data) {
  return {root, kPolicy + "\\CLSID", kA, data};
}
Value Restrict(RegData data) {
  return {kLocalMachine, kPolicy, "RestrictToList", data};
}
Value Setting(RootKey root, const char* name, RegData data) {
  return {root, "Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings\\" + std::string(kA),
          name, data};
}
Value Switch(const char* policies, const char* text) {
  return {kCurrentUser, "Software\\" + std::string(policies) + "Microsoft\\Internet Explorer\\Main",
          "Enable Browser Extensions", Sz(text)};
}
Value Button(RootKey root, const char* name, const std::string& text) {
  return {root, std::string(kExtensionsPath) + "\\" + kB, name, Sz(text)};
}
Value Menu(const char* name, const std::string& text) {
  return {kCurrentUser, std::string(kMenuExtPath) + "\\" + name, "", Sz(text)};
}

struct Case {
  const char* what;
  std::vector<Value> registry;  // beside the helper object {A} and its class
  std::string status;
  int list = 6;
  std::string item = kA;
};

const Case kCases[] = {
    {"loads", {}, kLoads + kAFile},
    {"NoExplorer",
     {Bho(kA, "NoExplorer")},
     "Loads in Internet Explorer only (NoExplorer)" + kAFile},
    {"NoInternetExplorer",
     {Bho(kA, "NoInternetExplorer")},
     "Loads in Windows Explorer only (NoInternetExplorer)" + kAFile},
    {"both",
     {Bho(kA, "NoExplorer"), Bho(kA, "NoInternetExplorer")},
     "Not loaded: NoExplorer and NoInternetExplorer" + kAFile},
    {"policy 0", {Policy(kLocalMachine, Sz("0"))}, "Not loaded: blocked by policy" + kAFile},
    {"the user's policy first",
     {Policy(kCurrentUser, Sz("2")), Policy(kLocalMachine, Sz("0"))},
     kLoads + kAFile},
    {"policy 1 locks it on",
     {Policy(kLocalMachine, Sz("1")), Setting(kCurrentUser, "Flags", Dword(1)),
      Setting(kCurrentUser, "Version", Sz("*"))},
     kLoads + " (kept on by policy)" + kAFile},
    {"policy of another type read as text", {Policy(kCurrentUser, Dword(0))}, kLoads + kAFile},
    {"only listed add-ons",
     {Restrict(Dword(1))},
     "Not loaded: not on the policy's list of allowed add-ons" + kAFile},
    {"listed", {Restrict(Dword(1)), Policy(kLocalMachine, Sz("2"))}, kLoads + kAFile},
    {"a list switch of another type", {Restrict(Sz("1"))}, kLoads + kAFile},
    {"turned off in the add-on manager",
     {Setting(kCurrentUser, "Flags", Dword(1)), Setting(kCurrentUser, "Version", Sz("*"))},
     "Not loaded: turned off in the browser's add-on settings" + kAFile},
    {"settings without Version", {Setting(kLocalMachine, "Flags", Dword(1))}, kLoads + kAFile},
    {"the user's settings first",
     {Setting(kCurrentUser, "Flags", Dword(0)), Setting(kLocalMachine, "Flags", Dword(1)),
      Setting(kLocalMachine, "Version", Sz("*"))},
     kLoads + kAFile},
    {"extensions off",
     {Switch("", "no")},
     "Not loaded: browser extensions are turned off" + kAFile},
    {"the switch's policy copy first",
     {Switch("Policies\\", "yes"), Switch("", "NO")},
     kLoads + kAFile},
    {"disabled",
     {Bho(std::string(" ") + kB), ClassFile(Sz("C:\\A\\a.dll"), kB)},
     "Not loaded: disabled" + kAFile,
     7,
     std::string(" ") + kB},
    {"no class", {Bho(kB)}, "Not loaded: no class registered", 6, kB},
    {"a class file not a string",
     {Bho(kB), ClassFile(Dword(7), kB)},
     "Not loaded: no class registered",
     6,
     kB},
    {"missing file", {ClassFile(Sz("C:\\gone.dll"))}, kNotFound + "C:\\gone.dll, file not found"},
    {"a folder", {ClassFile(Sz("C:\\Dir.dll"))}, kNotFound + "C:\\Dir.dll, a folder, not a file"},
    {"32-bit: System32 is SysWOW64",
     {Bho(kB, "", View::k32), ClassFile(Sz("%SystemRoot%\\System32\\w.dll"), kB, View::k32)},
     kLoads + ", in 32-bit processes | C:\\Windows\\SysWOW64\\w.dll | Not signed",
     6,
     kB + std::string(" (32-bit)")},
    {"a name searched for",
     {ClassFile(Sz("bare"))},
     kLoads + " | C:\\Windows\\System32\\bare.dll | Not signed"},
    {"network path",
     {ClassFile(Sz("\\\\server\\share\\n.dll"))},
     kLoads + " | \\\\server\\share\\n.dll, network path, not checked"},
    {"locked by another program",
     {ClassFile(Sz("C:\\locked.dll"))},
     kLoads + " | C:\\locked.dll | the file could not be read"},
    {"garbage named .dll",
     {ClassFile(Sz("C:\\garbage.dll"))},
     kLoads + " | C:\\garbage.dll | Not signed"},
    {"changed after signing",
     {ClassFile(Sz("%ProgramFiles%\\T\\t.dll"))},
     kLoads + " | C:\\Program Files\\T\\t.dll | signature not valid" + kMade},
    {"the system could not check it",
     {ClassFile(Sz("C:\\unchecked.dll"))},
     kLoads + " | C:\\unchecked.dll | signature not checked"},
    {"a variable that expands to itself",
     {ClassFile(Sz("%LOOP%\\x.dll"))},
     kNotFound + "%LOOP%\\x.dll, file not found"},
    {"a path of 32,767 characters", {ClassFile(Sz(kLong))}, kNotFound + kLong + ", file not found"},
    {"machine toolbar",
     {{kLocalMachine, kMachineToolbarsPath, kA, Sz("")}},
     "Loads in Internet Explorer; not shown in Edge's Internet Explorer mode" + kAFile,
     4},
    {"user toolbar of a 32-bit class",
     {{kCurrentUser, kUserToolbarsPath, kB, Sz("")}, ClassFile(Sz("C:\\A\\a.dll"), kB, View::k32)},
     "Loads in Internet Explorer, in 32-bit processes; not shown in Edge's Internet Explorer mode" +
         kAFile,
     3,
     kB},
    {"button: a quoted command",
     {Button(kCurrentUser, "Exec", "\"C:\\Program Files\\T\\tool\" /go")},
     "C:\\Program Files\\T\\tool.exe | Not signed",
     1,
     kB},
    {"button: an unquoted command",
     {Button(kLocalMachine, "Exec", "C:\\Program Files\\T\\tool.exe -x y")},
     "C:\\Program Files\\T\\tool.exe | Not signed",
     2,
     kB},
    {"button: a script's resource",
     {Button(kLocalMachine, "Script", "res://C:\\A\\a.dll/page.htm")},
     "C:\\A\\a.dll | Signed by Alpha Makers" + kMade,
     2,
     kB},
    {"button: a blank command", {Button(kLocalMachine, "Exec", "  ")}, "", 2, kB},
    {"menu: a file address",
     {Menu("Find", "file:///C:/M/my%20menu.htm")},
     "C:\\M\\my menu.htm, file not found",
     5,
     "FIND"},
    {"menu: a web address",
     {Menu("Web", "https://example.invalid/m.htm")},
     "https://example.invalid/m.htm, network path, not checked",
     5,
     "WEB"},
};

// Each case on a fresh form: the files every case may name, the helper
// object {A} with its class, then the case's own registry content.
void Check(const Case& c) {
  MemoryForm m;
  const std::string sample = SampleBytes("sample.dll");
  m.files.AddFile("C:\\A\\a.dll", {sample, {SignatureState::Valid, "Alpha Makers", true}, 0});
  m.files.AddFile("C:\\Windows\\SysWOW64\\w.dll", {});
  m.files.AddFile("C:\\Windows\\System32\\bare.dll", {});
  m.files.AddFile("C:\\locked.dll", {sample, {}, kErrorSharingViolation});
  m.files.AddFile("C:\\garbage.dll", {std::string(5000, '\xFF'), {}, 0});
  m.files.AddFile("C:\\Program Files\\T\\t.dll",
                  {sample, {SignatureState::NotValid, "", false}, 0});
  m.files.AddFile("C:\\Program Files\\T\\tool.exe", {});
  m.files.AddFile("C:\\unchecked.dll", {"", {SignatureState::Unchecked, "", false}, 0});
  m.files.AddFolder("C:\\Dir.dll");
  m.files.SetVariable("SystemRoot", "C:\\Windows");
  m.files.SetVariable("ProgramFiles", "C:\\Program Files");
  m.files.SetVariable("LOOP", "%LOOP%");
  std::vector<Value> registry = {Bho(kA), ClassFile(Sz("C:\\A\\a.dll"))};
  registry.insert(registry.end(), c.registry.begin(), c.registry.end());
  for (const Value& v : registry) {
    std::unique_ptr<RegKey> key;
    ASSERT_EQ(kErrorSuccess, m.registry.CreateKey({v.root, v.view, v.path}, &key));
    key->SetValue(v.name, v.data);
  }
  Refresh_Click(m.form);
  ASSERT_TRUE(m.lists[c.list].Select(c.item)) << c.item;
  const std::vector<std::string> before = DumpRegistry(m.registry);
  FindHandler(("List" + std::to_string(c.list)).c_str(), Event::Click)(m.form);
  EXPECT_EQ(c.status, m.statusBar.text);
  EXPECT_EQ(before, DumpRegistry(m.registry));
  for (const std::string& path : m.files.touched) EXPECT_FALSE(IsNetworkPath(path)) << path;
}

TEST(VerdictStatus, StatusBarSays) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    Check(c);
  }
}

TEST(VerdictStatus, EveryFillEmptiesTheBar) {
  MemoryForm m;
  for (void (*fill)(Form1&) : {CODINGS, codings1, codings3, CODINGS4}) {
    m.statusBar.text = "stale";
    fill(m.form);
    EXPECT_EQ("", m.statusBar.text);
  }
}

// Every truncation and every damaged byte of a real DLL: nothing is read
// out of bounds (the sanitizers watch), and what is found is the whole text.
TEST(VerdictStatus, VersionOfDamagedFiles) {
  const std::string sample = SampleBytes("sample.dll");
  ASSERT_GT(sample.size(), 1000u);
  MemoryFiles files;
  for (size_t at = 0; at < sample.size(); ++at) {
    std::string damaged = sample;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x80);
    files.AddFile("C:\\damaged.dll", {damaged, {}, 0});
    files.AddFile("C:\\cut.dll", {sample.substr(0, at), {}, 0});
    const FileVersion cut = Examine(files, "C:\\cut.dll", FileUse::Library, false).version;
    EXPECT_TRUE(cut.company.empty() || cut.company == "Brovantine Test Makers") << at;
    Examine(files, "C:\\damaged.dll", FileUse::Library, false);
  }
}

}  // namespace
}  // namespace brv
