#include "report/report.h"

#include <cstdio>

#include "base/text.h"
#include "catalogue/bhos.h"
#include "catalogue/context_menus.h"
#include "catalogue/toolbar_buttons.h"
#include "catalogue/toolbars.h"
#include "registry/module1.h"

namespace brv {

namespace {

constexpr int64_t kTicksPerSecond = 10000000;
// Days from 1601-01-01 to 1970-01-01.
constexpr int64_t kDaysTo1970 = 134774;

struct Civil {
  int64_t year;
  int month, day, hour, minute, second;
};

// The calendar date and time of a time in ticks since 1601 (the proleptic
// Gregorian calendar, as the system counts).
Civil ToCivil(int64_t time) {
  int64_t seconds = time / kTicksPerSecond;
  if (time % kTicksPerSecond < 0) --seconds;
  int64_t days = seconds / 86400;
  int64_t rest = seconds % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  // Days since 1970 to a date (H. Hinnant's algorithm).
  const int64_t z = days - kDaysTo1970 + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {yoe + era * 400 + (month <= 2),
          month,
          day,
          static_cast<int>(rest / 3600),
          static_cast<int>(rest / 60 % 60),
          static_cast<int>(rest % 60)};
}

const char* KindOf(Panel panel) {
  switch (panel) {
    case Panel::CurrentUserButtons:
    case Panel::AllUsersButtons:
      return "toolbar button";
    case Panel::CurrentUserToolbars:
    case Panel::AllUsersToolbars:
      return "toolbar";
    case Panel::MenuItems:
      return "context menu";
    default:
      return "helper object";
  }
}

const char* ListOf(Panel panel) {
  switch (panel) {
    case Panel::AllUsersButtons:
    case Panel::AllUsersToolbars:
      return "all users";
    case Panel::EnabledObjects:
      return "enabled";
    case Panel::DisabledObjects:
      return "disabled";
    default:
      return "current user";
  }
}

bool IsShared(Panel panel) {
  return panel == Panel::CurrentUserButtons || panel == Panel::CurrentUserToolbars ||
         panel == Panel::MenuItems;
}

// The key an entry is (a toolbar: the key that holds its value), in its view.
RegAddress KeyOf(Panel panel, const ListItem& item) {
  const View view = IsShared(panel) ? View::k64 : item.view;
  switch (panel) {
    case Panel::CurrentUserButtons:
      return {kCurrentUser, view, std::string(kExtensionsPath) + "\\" + item.name};
    case Panel::AllUsersButtons:
      return {kLocalMachine, view, std::string(kExtensionsPath) + "\\" + item.name};
    case Panel::CurrentUserToolbars:
      return {kCurrentUser, view, kUserToolbarsPath};
    case Panel::AllUsersToolbars:
      return {kLocalMachine, view, kMachineToolbarsPath};
    case Panel::MenuItems:
      return {kCurrentUser, view, std::string(kMenuExtPath) + "\\" + item.name};
    default:
      return {kLocalMachine, view, std::string(kBhoPath) + "\\" + item.name};
  }
}

bool IsToolbar(Panel panel) {
  return panel == Panel::CurrentUserToolbars || panel == Panel::AllUsersToolbars;
}

// The key's last write, read from the key itself (a registry link is not
// followed); nothing where the entry's name could lead to another key or
// the key cannot be opened.
std::optional<std::string> Written(Registry& registry, Panel panel, const ListItem& item) {
  if (!IsToolbar(panel) && !IsKeyName(item.name)) return std::nullopt;
  std::unique_ptr<RegKey> key;
  int64_t time = 0;
  if (registry.OpenLink(KeyOf(panel, item), &key) != kErrorSuccess ||
      key->LastWriteTime(&time) != kErrorSuccess) {
    return std::nullopt;
  }
  return IsoTime(time);
}

const char* FileKindText(FileKind kind) {
  switch (kind) {
    case FileKind::File:
      return "file";
    case FileKind::Directory:
      return "folder";
    case FileKind::Network:
      return "network";
    case FileKind::Missing:
      break;
  }
  return "missing";
}

const char* SignatureText(SignatureState state) {
  switch (state) {
    case SignatureState::Valid:
      return "valid";
    case SignatureState::NotValid:
      return "not valid";
    case SignatureState::Unsigned:
      return "not signed";
    case SignatureState::Unchecked:
      return "not checked";
    case SignatureState::Unreadable:
      break;
  }
  return "unreadable";
}

std::optional<std::string> Present(const std::string& text) {
  return text.empty() ? std::nullopt : std::optional<std::string>(text);
}

ReportFile FileOf(const std::string& registered, const FileReport& checked) {
  ReportFile file;
  file.registered = registered;
  file.path = checked.file.path;
  file.kind = FileKindText(checked.file.kind);
  file.found = checked.file.kind == FileKind::File;
  file.size = checked.size;
  if (file.found) file.signature = SignatureText(checked.signature.state);
  if (checked.signature.state == SignatureState::Valid) file.signer = checked.signature.signer;
  file.trusted = checked.signature.trusted;
  file.company = Present(checked.version.company);
  file.description = Present(checked.version.description);
  file.product = Present(checked.version.product);
  file.version = Present(checked.version.version);
  return file;
}

}  // namespace

std::string IsoTime(int64_t time) {
  const Civil c = ToCivil(time);
  char text[40];
  std::snprintf(text, sizeof text, "%04lld-%02d-%02dT%02d:%02d:%02dZ",
                static_cast<long long>(c.year), c.month, c.day, c.hour, c.minute, c.second);
  return text;
}

std::string FileNameTime(int64_t time) {
  const Civil c = ToCivil(time);
  char text[40];
  std::snprintf(text, sizeof text, "%04lld%02d%02d-%02d%02d%02d", static_cast<long long>(c.year),
                c.month, c.day, c.hour, c.minute, c.second);
  return text;
}

ReportBuilder::ReportBuilder(Registry& registry, Files& files, std::string version,
                             const Machine& machine, const Now& now)
    : registry_(registry), files_(files) {
  report_.version = std::move(version);
  report_.machine = machine;
  report_.created = IsoTime(now.utc);
  auto lists = ListEntries(registry);
  for (size_t index = 0; index < lists.size(); ++index) {
    for (ListItem& item : lists[index]) {
      pending_.emplace_back(static_cast<Panel>(index), std::move(item));
    }
  }
  report_.entries.reserve(pending_.size());
}

bool ReportBuilder::Step() {
  if (Done() >= Count()) return false;
  const auto& [panel, item] = pending_[Done()];
  ReportEntry entry;
  entry.panel = panel;
  entry.kind = KindOf(panel);
  entry.list = ListOf(panel);
  entry.view = IsShared(panel) ? "shared" : item.view == View::k32 ? "32-bit" : "64-bit";
  entry.name = item.name;
  entry.shown = item.text;
  entry.key = ShownKeyPath(KeyOf(panel, item));
  if (IsToolbar(panel)) entry.value = item.name;
  entry.written = Written(registry_, panel, item);
  for (const Detail& detail : EntryDetails(registry_, panel, item)) {
    // A box shows its text up to the first NUL.
    if (*detail.label) entry.details.emplace_back(detail.label, CutAtNul(detail.text.value_or("")));
  }
  const RegistryVerdict verdict = ReadVerdict(registry_, panel, item);
  FileReport file;
  const FileReport* checked = nullptr;
  if (!verdict.file.empty()) {
    const LocatedFile located = Locate(files_, verdict.file, verdict.use, verdict.for32Bit);
    const std::string key = UpperCase(located.path);
    auto it = checked_.find(key);
    if (it == checked_.end()) it = checked_.emplace(key, ExamineLocated(files_, located)).first;
    // The check is the file's; the path as this entry names it.
    file = it->second;
    file.file = located;
    checked = &file;
    entry.file = FileOf(verdict.file, file);
  }
  entry.status = StatusText(verdict, checked);
  entry.loads = Loads(verdict, checked);
  report_.entries.push_back(std::move(entry));
  return true;
}

Report BuildReport(Registry& registry, Files& files, const std::string& version,
                   const Machine& machine, const Now& now) {
  ReportBuilder builder(registry, files, version, machine, now);
  while (builder.Step()) {
  }
  return builder.Result();
}

}  // namespace brv
