// A report of every entry the window lists: the same reads the panels and
// the status bar make, every entry of List1 to List7 in the lists' order,
// each file checked once however many entries name it. Built a step at a
// time, so that the window can show how far it got and stop it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/verdict.h"
#include "files/files.h"
#include "form/desktop.h"
#include "registry/registry.h"

namespace brv {

// An entry's file as the status bar judged it.
struct ReportFile {
  std::string registered;  // the registry's text as it stands
  std::string path;        // the file as the loader finds it
  std::string kind;        // "file", "missing", "folder", "network"
  bool found = false;
  std::optional<uint64_t> size;
  std::optional<std::string> signature;  // where found
  std::optional<std::string> signer;     // where the signature is valid
  bool trusted = false;
  std::optional<std::string> company, description, product, version;
};

struct ReportEntry {
  std::string kind;  // "toolbar button", "toolbar", "context menu", "helper object"
  std::string list;  // "current user", "all users", "enabled", "disabled"
  std::string view;  // "64-bit", "32-bit", "shared"
  std::string name;  // as stored
  std::string shown;
  std::string key;                     // in its view, through Wow6432Node for the 32-bit one
  std::optional<std::string> value;    // a toolbar's value name
  std::optional<std::string> written;  // the key's last write; nothing where it cannot be opened
  std::vector<std::pair<std::string, std::string>> details;  // label, the box's text
  std::string status;
  std::optional<bool> loads;
  std::optional<ReportFile> file;
  Panel panel = Panel::CurrentUserButtons;
};

struct Report {
  std::string version;  // the program's
  Machine machine;
  std::string created;
  std::vector<ReportEntry> entries;
};

// 100-nanosecond intervals since 1601-01-01 as "2026-12-09T14:02:11Z".
std::string IsoTime(int64_t time);
// The same as "20261209-140211".
std::string FileNameTime(int64_t time);

class ReportBuilder {
 public:
  // Lists the entries: the registry's names, as the fills read them.
  ReportBuilder(Registry& registry, Files& files, std::string version, const Machine& machine,
                const Now& now);
  size_t Count() const { return pending_.size(); }
  size_t Done() const { return report_.entries.size(); }
  // Reads the next entry and checks its file (unless checked before); false
  // once every entry is done.
  bool Step();
  // Files checked so far (one per located path, compared without case).
  size_t Checks() const { return checked_.size(); }
  const Report& Result() const { return report_; }

 private:
  Registry& registry_;
  Files& files_;
  std::vector<std::pair<Panel, ListItem>> pending_;
  std::map<std::string, FileReport> checked_;  // by upper-cased located path
  Report report_;
};

// The whole report at once.
Report BuildReport(Registry& registry, Files& files, const std::string& version,
                   const Machine& machine, const Now& now);

}  // namespace brv
