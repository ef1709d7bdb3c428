// The report on memory: every entry as the window shows it, one row per kind
// of entry; the JSON read back by a real parser; the CSV and text forms; the
// command line; the window's command, its progress and cancel.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>

#include "report/command_line.h"
#include "report/formats.h"
#include "report/report.h"
#include "report/save.h"
#include "support/memory_form.h"

namespace brv {
namespace {

using nlohmann::json;

const std::string kNulName = std::string("{EEEEEEEE-0000-0000-0000-000000000005}\0x", 40);
const std::string kLongName = "{" + std::string(254, 'n');
const std::string kLinked = "{FFFFFFFF-0000-0000-0000-000000000006}";
const std::string kDenied = "{DDDDDDDD-0000-0000-0000-000000000004}";
const std::string kLongText(32767, 'x');
const std::string kHklm = "HKEY_LOCAL_MACHINE\\";
const std::string kMachineBho = kHklm + kBhoPath + "\\";

// A registry with one entry of each kind the window lists, hostile ones too.
void Seed(MemoryForm& m) {
  Registry& r = m.registry;
  const std::string sky = "C:\\Sky\\";
  m.files.AddFile(sky + "sky.dll", {"MZ", {SignatureState::Valid, "Sky Makers", true}, 0});
  m.files.AddFile(sky + "run.exe", {"MZ", {}, 0});
  SetString(r, kCurrentUser, Button(kB), "ButtonText", "Beta");
  SetString(r, kCurrentUser, Button(kB), "Exec", sky + "run.exe /quiet");
  SetString(r, {kLocalMachine, View::k32, Button(kC)}, "ButtonText", kLongText);
  SetString(r, kCurrentUser, kUserToolbarsPath, kA, "");
  RegisterClass(r, kA, "Sky bar", sky + "SKY.DLL");
  SetString(r, kCurrentUser, MenuEntry("&Sky, \"search\""), "", "res://" + sky + "sky.dll/m.htm");
  CreateKey(r, kLocalMachine, Bho(kA));
  CreateKey(r, kLocalMachine, Bho(" " + std::string(kB)));
  CreateKey(r, kLocalMachine, Bho(kNulName));
  CreateKey(r, kLocalMachine, Bho(kLongName));
  SetData(r, kClassesRoot, Clsid(kC) + "\\InprocServer32", "", Dword(7));
  CreateKey(r, kLocalMachine, Bho(kC));
  CreateKey(r, kLocalMachine, Bho(kDenied));
  m.registry.Deny(kLocalMachine, Bho(kDenied));
  m.registry.clock = 133500000000000000;  // the link is newer than its target
  m.registry.CreateLink({kLocalMachine, View::k64, Bho(kLinked)},
                        {kCurrentUser, View::k64, "Software\\Elsewhere"});
}

struct Row {
  const char* what;
  int list;  // 1 to 7
  std::string key;
  std::string view;
  std::optional<std::string> written;
  std::optional<bool> loads;
  std::string file;  // its kind; empty where it names none
};

const std::string kFirstWrite = "2022-06-18T04:26:40Z";
const Row kRows[] = {
    {"a button running a program", 1,
     "HKEY_CURRENT_USER\\" + std::string(kExtensionsPath) + "\\" + kB, "shared", kFirstWrite,
     std::nullopt, "file"},
    {"a 32-bit button, 32,767 characters of text", 2,
     kHklm + "Software\\Wow6432Node\\Microsoft\\Internet Explorer\\Extensions\\" + kC, "32-bit",
     kFirstWrite, std::nullopt, ""},
    {"a toolbar: a value of its key", 3, "HKEY_CURRENT_USER\\" + std::string(kUserToolbarsPath),
     "shared", kFirstWrite, true, "file"},
    {"a context menu with a comma and quotes", 5,
     "HKEY_CURRENT_USER\\" + std::string(kMenuExtPath) + "\\&Sky, \"search\"", "shared",
     kFirstWrite, std::nullopt, "file"},
    {"a helper object, its file checked once", 6, kMachineBho + kA, "64-bit", kFirstWrite, true,
     "file"},
    {"a class file of another type", 6, kMachineBho + kC, "64-bit", kFirstWrite, false, ""},
    {"a key that cannot be opened", 6, kMachineBho + kDenied, "64-bit", std::nullopt, false, ""},
    {"a name with a NUL", 6, kMachineBho + kNulName, "64-bit", kFirstWrite, false, ""},
    {"a registry link, not followed", 6, kMachineBho + kLinked, "64-bit", "2024-01-17T21:20:00Z",
     false, ""},
    {"a 255-character name", 6, kMachineBho + kLongName, "64-bit", kFirstWrite, false, ""},
    {"disabled", 7, kMachineBho + " " + kB, "64-bit", kFirstWrite, false, ""},
};

// The text box each label stands for.
const std::map<std::string, int> kBoxes = {
    {"Button Text", 1}, {"Command", 2},        {"Menu Text", 9},   {"Toolbar", 3},
    {"DLL Name", 4},    {"Command/Script", 7}, {"Description", 5}, {"Related File", 6}};

TEST(Report, EveryEntryAsTheWindowShowsItAndTheJsonReadBack) {
  MemoryForm m;
  Seed(m);
  const std::vector<std::string> before = DumpRegistry(m.registry);
  const Report report = BuildReport(m.registry, m.files, "2.4.0", m.desktop.machine, m.desktop.now);
  EXPECT_EQ(before, DumpRegistry(m.registry));  // only read
  // Three entries name one file: each locates it, one check opens and verifies it.
  size_t asked = 0;
  for (const std::string& path : m.files.touched) asked += UpperCase(path) == "C:\\SKY\\SKY.DLL";
  EXPECT_EQ(5u, asked);
  ASSERT_EQ(std::size(kRows), report.entries.size());
  json parsed = json::parse(ReportJson(report)), header = parsed;
  header.erase("entries");
  EXPECT_EQ(json::parse(R"({"format": "brovantine-report", "version": 1, "computer": "PC-7",
      "program": {"name": "Brovantine", "version": "2.4.0"}, "user": "WORK\\ann",
      "windows": "10.0.19045", "elevated": true, "created": "2026-12-09T14:02:11Z"})"),
            header);
  int index[8] = {};
  for (size_t i = 0; i < std::size(kRows); ++i) {
    const Row& row = kRows[i];
    const ReportEntry& e = report.entries[i];
    const json& j = parsed["entries"][i];
    SCOPED_TRACE(row.what);
    // What the window shows for it, selected just after a refresh.
    Refresh_Click(m.form);
    const std::string list = "List" + std::to_string(row.list);
    ASSERT_LT(index[row.list], FindList(m.form, list.c_str())->ListCount());
    FindList(m.form, list.c_str())->SetListIndex(index[row.list]);
    const ListItem& item = *FindList(m.form, list.c_str())->Item(index[row.list]++);
    FindHandler(list.c_str(), Event::Click)(m.form);
    EXPECT_EQ(m.statusBar.text, e.status);
    EXPECT_EQ(m.statusBar.text, j["status"]);
    EXPECT_EQ(item.name, e.name);
    EXPECT_EQ(item.name, j["name"]);  // exactly, a NUL too
    EXPECT_EQ(item.text, j["shown"]);
    ASSERT_FALSE(e.details.empty());
    for (const auto& [label, text] : e.details) {
      EXPECT_EQ(m.texts[kBoxes.at(label)].text, text) << label;
      EXPECT_EQ(text, j["details"][label]) << label;
    }
    EXPECT_EQ(e.details.size(), j["details"].size());
    EXPECT_EQ(row.key, j["key"]);
    EXPECT_EQ(row.view, j["view"]);
    EXPECT_EQ(row.written ? json(*row.written) : json(), j["written"]);
    EXPECT_EQ(row.loads ? json(*row.loads) : json(), j["loads"]);
    EXPECT_EQ(row.list == 3 || row.list == 4, j.contains("value"));
    EXPECT_EQ(row.file.empty() ? json() : json(row.file),
              j["file"].is_null() ? json() : j["file"]["kind"]);
    const char* kinds[] = {"",        "toolbar button", "toolbar button", "toolbar",
                           "toolbar", "context menu",   "helper object",  "helper object"};
    const char* lists[] = {"",          "current user", "all users", "current user",
                           "all users", "current user", "enabled",   "disabled"};
    EXPECT_EQ(kinds[row.list], j["kind"]);
    EXPECT_EQ(lists[row.list], j["list"]);
  }
  const json& run = parsed["entries"][0]["file"];
  EXPECT_EQ(json::array({"C:\\Sky\\run.exe /quiet", "C:\\Sky\\run.exe", "not signed", nullptr}),
            json::array({run["registered"], run["path"], run["signature"], run["signer"]}));
  const json& toolbar = parsed["entries"][2];
  EXPECT_EQ(kA, toolbar["value"]);
  EXPECT_EQ(json::parse(R"({"registered": "C:\\Sky\\SKY.DLL", "path": "C:\\Sky\\SKY.DLL",
      "kind": "file", "found": true, "size": 2, "signature": "valid", "signer": "Sky Makers",
      "trusted": true, "company": null, "description": null, "product": null, "version": null})"),
            toolbar["file"]);
  // Nothing but the time the report was made tells two reports apart.
  Now later = m.desktop.now;
  later.utc += 36000000000;
  Report again = BuildReport(m.registry, m.files, "2.4.0", m.desktop.machine, later);
  EXPECT_EQ("2026-12-09T15:02:11Z", again.created);
  again.created = report.created;
  EXPECT_EQ(ReportJson(report), ReportJson(again));
}

TEST(Report, CsvAndTextShowNamesAsTheListsDoAndJsonKeepsThemExactly) {
  MemoryForm m;
  Seed(m);
  const std::string lone = kA + std::string("\xED\xA0\x80");  // a lone high surrogate
  CreateKey(m.registry, kLocalMachine, Bho(lone));
  const Report report = BuildReport(m.registry, m.files, "2.4.0", m.desktop.machine, m.desktop.now);
  const std::string csv = ReportCsv(report);
  ASSERT_EQ(0u, csv.rfind("\xEF\xBB\xBF"
                          "computer,kind,list,view,name,shown,key,value,written,",
                          0));
  EXPECT_NE(std::string::npos, csv.find("file.product,file.version\r\n"));
  EXPECT_EQ(report.entries.size() + 1,
            static_cast<size_t>(std::count(csv.begin(), csv.end(), '\n')));
  EXPECT_NE(std::string::npos, csv.find(",\"&Sky, \"\"search\"\"\",\"&SKY, \"\"SEARCH\"\"\","));
  EXPECT_NE(std::string::npos,
            csv.find(",Button Text: Beta; Command: C:\\Sky\\run.exe /quiet; Menu Text: ,"));
  const std::string nulName = "{EEEEEEEE-0000-0000-0000-000000000005}\xE2\x90\x80x";
  const std::string nulShown = "{EEEEEEEE-0000-0000-0000-000000000005}\xE2\x90\x80X";
  const std::string loneShown = kA + std::string("\xEF\xBF\xBD");
  EXPECT_NE(std::string::npos, csv.find("," + nulName + "," + nulShown + ","));
  EXPECT_NE(std::string::npos, csv.find("," + loneShown + ","));
  EXPECT_EQ(std::string::npos, csv.find('\0'));
  const std::string text = ReportText(report);
  EXPECT_EQ(0u, text.rfind("Brovantine 2.4.0\r\nComputer: PC-7\r\nUser: WORK\\ann\r\nWindows: "
                           "10.0.19045\r\nElevated: yes\r\nCreated: 2026-12-09T14:02:11Z\r\n"
                           "Entries: 12\r\n",
                           0));
  EXPECT_NE(std::string::npos,
            text.find("\r\nBrowser Helper Objects [BHOs], Enabled BHOs: " + nulShown +
                      "\r\n  Key: " + kMachineBho + nulName + "\r\n"));
  EXPECT_NE(std::string::npos, text.find("\r\n  Written: (the key cannot be opened)\r\n"));
  EXPECT_NE(
      std::string::npos,
      text.find("Internet Explorer Toolbars, Current User: " + std::string(kA) + "\r\n  Key: "));
  EXPECT_EQ(std::string::npos, text.find('\0'));
  // JSON keeps the surrogate as itself (a strict parser refuses it, so the
  // text is read here).
  const std::string js = ReportJson(report);
  EXPECT_NE(std::string::npos, js.find("\"name\": \"" + std::string(kA) + "\\uD800\""));
  EXPECT_NE(std::string::npos,
            js.find("\"name\": \"{EEEEEEEE-0000-0000-0000-000000000005}\\u0000x\""));
}

TEST(Report, CommandLine) {
  const std::string kNot = "Report not saved: system error ";
  const struct {
    std::vector<std::string> arguments;
    Action action;
    int exit;
    std::string out, error;       // how standard output and the error stream begin
    std::string written, begins;  // the file written and how it begins
  } cases[] = {
      {{}, Action::Window, 2, "", kUsage, "", ""},
      {{"/report", "C:\\Out\\r.json"}, Action::Report, 0, "", "", "C:\\Out\\r.json", "{"},
      {{"-report", "C:\\Out\\r.CSV"}, Action::Report, 0, "", "", "C:\\Out\\r.CSV", "\xEF\xBB\xBF"},
      {{"--REPORT", "C:\\Out\\r.log"}, Action::Report, 0, "", "", "C:\\Out\\r.log", "Brovantine "},
      {{"/report", "-"}, Action::Report, 0, "{\n  \"format\"", "", "", ""},
      {{"/?"}, Action::Usage, 0, kUsage, "", "", ""},
      {{"/report"}, Action::Wrong, 2, "", kUsage, "", ""},
      {{"/report", ""}, Action::Wrong, 2, "", kUsage, "", ""},
      {{"/report", "a.txt", "/report", "b.txt"}, Action::Wrong, 2, "", kUsage, "", ""},
      {{"/report", "a.txt", "more"}, Action::Wrong, 2, "", kUsage, "", ""},
      {{"/x"}, Action::Wrong, 2, "", kUsage, "", ""},
      {{"/?", "/report", "a.txt"}, Action::Wrong, 2, "", kUsage, "", ""},
      {{"/report", "C:\\Gone\\r.json"}, Action::Report, 1, "", kNot + "3", "", ""},
      {{"/report", "C:\\Out\\a<b.json"}, Action::Report, 1, "", kNot + "123", "", ""},
      {{"/report", "C:\\Out"}, Action::Report, 1, "", kNot + "5", "", ""},
      {{"/report", "\\\\server\\share\\r.json"}, Action::Report, 1, "", kNot + "50", "", ""},
  };
  for (const auto& c : cases) {
    const std::string shown = c.arguments.empty() ? "(none)" : c.arguments[0] + " ...";
    SCOPED_TRACE(shown);
    MemoryForm m;
    Seed(m);
    m.files.AddFolder("C:\\Out");
    const Arguments parsed = ParseArguments(c.arguments);
    EXPECT_EQ(c.action, parsed.action);
    std::string out, error;
    Console console{[&](const std::string& t) { return out += t, true; },
                    [&](const std::string& t) { return error += t, true; }};
    EXPECT_EQ(c.exit, RunArguments(parsed, m.registry, m.files, m.desktop, "2.4.0", console));
    EXPECT_EQ(0u, out.rfind(c.out, 0)) << out.substr(0, 80);
    EXPECT_EQ(c.out.empty(), out.empty());
    EXPECT_EQ(0u, error.rfind(c.error, 0)) << error;
    EXPECT_EQ(c.error.empty(), error.empty());
    if (!c.written.empty()) {
      EXPECT_EQ(0u, m.files.Bytes(c.written).value_or("").rfind(c.begins, 0));
    }
  }
  // JSON written to the output is the report whole.
  MemoryForm m;
  std::string out;
  Console console{[&](const std::string& t) { return out += t, true; },
                  [&](const std::string&) { return true; }};
  EXPECT_EQ(0,
            RunArguments({Action::Report, "-"}, m.registry, m.files, m.desktop, "2.4.0", console));
  EXPECT_EQ(json::array(), json::parse(out)["entries"]);
  Console broken{[](const std::string&) { return false; }, [](const std::string&) { return true; }};
  EXPECT_EQ(1,
            RunArguments({Action::Report, "-"}, m.registry, m.files, m.desktop, "2.4.0", broken));
}

// Holds each job until the test runs it.
struct HeldRunner : Runner {
  void Run(Job next) override { job = std::move(next); }
  void Cancel() override { job = nullptr; }
  bool Step() {
    if (!job) return false;
    Job now = std::move(job);
    job = nullptr;
    now()();
    return true;
  }
  Job job;
};

TEST(Report, SavedFromTheWindowWithProgressAndCancel) {
  MemoryForm m;
  Seed(m);
  m.files.AddFolder("C:\\Out");
  HeldRunner held;
  m.form.reportRunner = &held;
  // Cancelled in the dialog: nothing asked of the runner.
  PressKey(m.form, nullptr, Key::Report);
  ASSERT_EQ(1u, m.desktop.dialogs.size());
  const SaveDialog& dialog = m.desktop.dialogs[0];
  EXPECT_EQ("Save a report", dialog.title);
  EXPECT_EQ("Brovantine-PC-7-20261209-150211.txt", dialog.suggested);
  EXPECT_EQ((std::vector<std::pair<std::string, std::string>>{
                {"Text (*.txt)", "*.txt"}, {"JSON (*.json)", "*.json"}, {"CSV (*.csv)", "*.csv"}}),
            dialog.types);
  EXPECT_FALSE(held.job);
  // The chosen type names the format of a name without a known extension.
  m.desktop.savePath = "C:\\Out\\report";
  m.desktop.saveType = 1;
  FindHandler("report", Event::Click)(m.form);
  EXPECT_EQ("Writing the report: 0 entries", m.statusBar.text);
  ASSERT_TRUE(held.Step());
  EXPECT_EQ("Writing the report: 0 of 11 entries", m.statusBar.text);
  ASSERT_TRUE(held.Step());
  EXPECT_EQ("Report saved: C:\\Out\\report", m.statusBar.text);
  EXPECT_EQ(11u, json::parse(*m.files.Bytes("C:\\Out\\report"))["entries"].size());
  // Cancelled part way, by the same command: the earlier file stays as it was.
  m.desktop.savePath = "C:\\Out\\report";
  m.desktop.saveType = 2;
  PressKey(m.form, "List1", Key::Report);
  ASSERT_TRUE(held.Step());
  PressKey(m.form, "List1", Key::Report);
  EXPECT_EQ("Report not saved: cancelled", m.statusBar.text);
  EXPECT_FALSE(held.Step());
  EXPECT_EQ('{', m.files.Bytes("C:\\Out\\report")->at(0));
  EXPECT_FALSE(CancelReport(m.form));
  // The disk refuses it: the reason is shown, nothing is left.
  m.files.writeError = kErrorDiskFull;
  m.desktop.savePath = "C:\\Out\\full.csv";
  FindHandler("report", Event::Click)(m.form);
  while (held.Step()) {
  }
  EXPECT_EQ("Report not saved: system error 112", m.statusBar.text);
  EXPECT_FALSE(m.files.Bytes("C:\\Out\\full.csv"));
}

}  // namespace
}  // namespace brv
