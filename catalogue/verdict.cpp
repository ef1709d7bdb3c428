#include "catalogue/verdict.h"

#include <memory>
#include <optional>
#include <vector>

#include "base/text.h"
#include "catalogue/bhos.h"
#include "catalogue/common.h"
#include "catalogue/context_menus.h"
#include "catalogue/toolbar_buttons.h"
#include "catalogue/toolbars.h"
#include "registry/module1.h"

namespace brv {

namespace {

const char kPolicies[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Ext";
const char kSettings[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings";
const char kMain[] = "Software\\Microsoft\\Internet Explorer\\Main";
const char kMainPolicy[] = "Software\\Policies\\Microsoft\\Internet Explorer\\Main";
const char kChecking[] = "Checking the file...";
const char kSeparator[] = " | ";
// Texts a file supplies (its signer, its version information) are shown up
// to this many bytes.
constexpr size_t kMaxShown = 256;

std::optional<RegData> ReadValue(Registry& registry, const RegAddress& at,
                                 const std::string& name) {
  RegData data;
  if (QueryData(registry, at, name, &data) != kErrorSuccess) return std::nullopt;
  return data;
}

// Data read as text, whatever its type, up to its first NUL.
std::string AsText(const RegData& data) {
  return CutAtNul(Utf16LeBytesToUtf8(data.bytes));
}

// A string value's text up to its first NUL; nothing where the value is
// missing or of another type.
std::optional<std::string> ReadText(Registry& registry, const RegAddress& at,
                                    const std::string& name) {
  RegString value;
  if (QueryString(registry, at, name, &value) != kErrorSuccess) return std::nullopt;
  return CutAtNul(value.text);
}

// A double word's number; nothing for data of another type.
std::optional<uint32_t> DwordOf(const std::optional<RegData>& data) {
  if (!data || data->type != kRegDword || data->bytes.size() < 4) return std::nullopt;
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(data->bytes[i]);
  return value;
}

bool SameText(const std::string& a, const std::string& b) {
  return UpperCase(a) == UpperCase(b);
}

// The browser reads each of its settings from the current user's keys
// first, then from the machine's (in the view of the processes that load the
// entry): the first place that holds it decides.
const RootKey kUserThenMachine[] = {kCurrentUser, kLocalMachine};

enum class Policy { None, Denied, Locked, Allowed };

// The per-add-on policy: a value named by the identifier, read as text: "0"
// denies, "1" allows and locks, anything else allows.
Policy AddOnPolicy(Registry& registry, View view, const std::string& id) {
  for (RootKey root : kUserThenMachine) {
    if (auto data = ReadValue(registry, {root, view, std::string(kPolicies) + "\\CLSID"}, id)) {
      const std::string text = AsText(*data);
      return text == "0" ? Policy::Denied : text == "1" ? Policy::Locked : Policy::Allowed;
    }
  }
  return Policy::None;
}

// "Allow only listed add-ons": RestrictToList, a double word of 1.
bool RestrictedToList(Registry& registry, View view) {
  for (RootKey root : kUserThenMachine) {
    if (auto data = ReadValue(registry, {root, view, kPolicies}, "RestrictToList")) {
      return DwordOf(data) == 1u;
    }
  }
  return false;
}

// Turned off in the browser's own add-on manager: Flags with its lowest bit
// set and Version "*" in the add-on's settings key.
bool TurnedOffInSettings(Registry& registry, View view, const std::string& id) {
  if (!IsKeyName(id)) return false;
  for (RootKey root : kUserThenMachine) {
    const RegAddress at{root, view, std::string(kSettings) + "\\" + id};
    std::unique_ptr<RegKey> key;
    if (registry.OpenKey(at, Registry::Access::Read, &key) != kErrorSuccess) continue;
    const std::optional<uint32_t> flags = DwordOf(ReadValue(registry, at, "Flags"));
    return flags && (*flags & 1u) && ReadText(registry, at, "Version") == std::string("*");
  }
  return false;
}

// "Enable Browser Extensions" of the current user, its policy copy first.
bool ExtensionsTurnedOff(Registry& registry) {
  for (const char* path : {kMainPolicy, kMain}) {
    if (auto text =
            ReadText(registry, {kCurrentUser, View::k64, path}, "Enable Browser Extensions")) {
      return SameText(*text, "no");
    }
  }
  return false;
}

bool HasValue(Registry& registry, const RegAddress& at, const std::string& name) {
  return ReadValue(registry, at, name).has_value();
}

// The file of an in-process class, as registered; empty where there is none.
std::string ClassFile(Registry& registry, View view, const std::string& id) {
  if (!IsKeyName(id)) return std::string();
  RegAddress at = ClassKey(view, id);
  at.path += "\\InprocServer32";
  return ReadText(registry, at, "").value_or(std::string());
}

enum class Loader { HelperObject, Toolbar };

// Whether the browser loads a helper object or a toolbar, by the first
// reason in the browser's own order that keeps it from loading.
RegistryVerdict Decide(Registry& registry, Loader loader, const NamedClass& named, bool disabled,
                       bool noExplorer, bool noInternetExplorer) {
  const std::string& id = named.id;
  const View view = named.view;
  RegistryVerdict verdict;
  verdict.decides = true;
  verdict.file = ClassFile(registry, view, id);
  verdict.for32Bit = view == View::k32;
  const Policy policy = AddOnPolicy(registry, view, id);
  if (policy == Policy::Denied) {
    verdict.notLoaded = "blocked by policy";
  } else if (policy == Policy::None && RestrictedToList(registry, view)) {
    verdict.notLoaded = "not on the policy's list of allowed add-ons";
  } else if (policy != Policy::Locked && TurnedOffInSettings(registry, view, id)) {
    verdict.notLoaded = "turned off in the browser's add-on settings";
  } else if (ExtensionsTurnedOff(registry)) {
    verdict.notLoaded = "browser extensions are turned off";
  } else if (disabled) {
    verdict.notLoaded = "disabled";
  } else if (noExplorer && noInternetExplorer) {
    verdict.notLoaded = "NoExplorer and NoInternetExplorer";
  } else if (verdict.file.empty()) {
    verdict.notLoaded = "no class registered";
  }
  verdict.loads = loader == Loader::Toolbar ? "Loads in Internet Explorer"
                  : noExplorer              ? "Loads in Internet Explorer only (NoExplorer)"
                  : noInternetExplorer      ? "Loads in Windows Explorer only (NoInternetExplorer)"
                                            : "Loads in Internet Explorer and Windows Explorer";
  if (policy == Policy::Locked) verdict.loads += " (kept on by policy)";
  if (verdict.for32Bit) verdict.loads += ", in 32-bit processes";
  if (loader == Loader::Toolbar) verdict.loads += "; not shown in Edge's Internet Explorer mode";
  return verdict;
}

RegistryVerdict HelperObject(Registry& registry, const ListItem& item, bool disabled) {
  const RegAddress registration{kLocalMachine, item.view, std::string(kBhoPath) + "\\" + item.name};
  const bool own = IsKeyName(item.name);
  const NamedClass named =
      ClassOfEntry(registry, item, disabled ? Listed::DisabledBho : Listed::Bho);
  return Decide(registry, Loader::HelperObject, named, disabled,
                own && HasValue(registry, registration, "NoExplorer"),
                own && HasValue(registry, registration, "NoInternetExplorer"));
}

RegistryVerdict Toolbar(Registry& registry, const ListItem& item, bool currentUser) {
  const NamedClass named =
      ClassOfEntry(registry, item, currentUser ? Listed::UserToolbar : Listed::MachineToolbar);
  return Decide(registry, Loader::Toolbar, named, false, false, false);
}

// A button's file: the program of its Exec, else its Script, else the file
// of its ClsidExtension class.
RegistryVerdict ToolbarButton(Registry& registry, const ListItem& item, RootKey root) {
  RegistryVerdict verdict;
  verdict.for32Bit = item.view == View::k32;
  const RegAddress key{root, item.view, std::string(kExtensionsPath) + "\\" + item.name};
  if (auto exec = ReadText(registry, key, "Exec")) {
    verdict.file = *exec;
    verdict.use = FileUse::Program;
  } else if (auto script = ReadText(registry, key, "Script")) {
    verdict.file = *script;
    verdict.use = FileUse::Address;
  } else {
    const NamedClass named = ClassOfEntry(
        registry, item, root == kCurrentUser ? Listed::UserButton : Listed::MachineButton);
    verdict.file = ClassFile(registry, named.view, named.id);
    verdict.for32Bit = named.view == View::k32;
  }
  return verdict;
}

RegistryVerdict MenuItem(Registry& registry, const ListItem& item) {
  RegistryVerdict verdict;
  verdict.use = FileUse::Address;
  verdict.file =
      ReadText(registry, {kCurrentUser, View::k64, std::string(kMenuExtPath) + "\\" + item.name},
               "")
          .value_or(std::string());
  return verdict;
}

// A text fit for one line: control characters as spaces, at most `limit`
// bytes (not cutting a character in two).
std::string OneLine(const std::string& text, size_t limit = std::string::npos) {
  std::string line = text;
  if (line.size() > limit) {
    size_t cut = limit;
    while (cut > 0 && (static_cast<uint8_t>(line[cut]) & 0xC0) == 0x80) --cut;
    line.resize(cut);
  }
  for (char& c : line) {
    if (static_cast<uint8_t>(c) < 0x20 || c == 0x7F) c = ' ';
  }
  return line;
}

std::string FileText(const FileReport& report) {
  const std::string path = OneLine(report.file.path);
  switch (report.file.kind) {
    case FileKind::Missing:
      return path + ", file not found";
    case FileKind::Directory:
      return path + ", a folder, not a file";
    case FileKind::Network:
      return path + ", network path, not checked";
    case FileKind::File:
      break;
  }
  return path;
}

// Who signed the file and who made it.
std::string MakerText(const FileReport& report) {
  const Signature& signature = report.signature;
  std::string text;
  switch (signature.state) {
    case SignatureState::Valid:
      text = "Signed by " + (signature.signer.empty() ? std::string("(no name)")
                                                      : OneLine(signature.signer, kMaxShown));
      if (!signature.trusted) text += " (not trusted)";
      break;
    case SignatureState::NotValid:
      text = "signature not valid";
      break;
    case SignatureState::Unsigned:
      text = "Not signed";
      break;
    case SignatureState::Unchecked:
      text = "signature not checked";
      break;
    case SignatureState::Unreadable:
      return "the file could not be read";
  }
  for (const std::string* part : {&report.version.company, &report.version.description}) {
    const std::string shown = TrimSpaces(OneLine(*part, kMaxShown));
    if (!shown.empty()) text += ", " + shown;
  }
  return text;
}

RegistryVerdict Read(Registry& registry, Panel panel, const ListItem& item) {
  switch (panel) {
    case Panel::CurrentUserButtons:
      return ToolbarButton(registry, item, kCurrentUser);
    case Panel::AllUsersButtons:
      return ToolbarButton(registry, item, kLocalMachine);
    case Panel::CurrentUserToolbars:
      return Toolbar(registry, item, true);
    case Panel::AllUsersToolbars:
      return Toolbar(registry, item, false);
    case Panel::MenuItems:
      return MenuItem(registry, item);
    case Panel::EnabledObjects:
      return HelperObject(registry, item, false);
    case Panel::DisabledObjects:
      break;
  }
  return HelperObject(registry, item, true);
}

}  // namespace

RegistryVerdict ReadVerdict(Registry& registry, Panel panel, const ListItem& item) {
  RegistryVerdict verdict = Read(registry, panel, item);
  // Blank text names no file.
  if (TrimSpaces(verdict.file).empty()) verdict.file.clear();
  return verdict;
}

std::array<std::vector<ListItem>, kPanelCount> ListEntries(Registry& registry) {
  std::array<std::vector<ListItem>, kPanelCount> lists;
  lists[0] = ButtonEntries(registry, kCurrentUser);
  lists[1] = ButtonEntries(registry, kLocalMachine);
  lists[2] = ToolbarEntries(registry, kCurrentUser);
  lists[3] = ToolbarEntries(registry, kLocalMachine);
  lists[4] = MenuEntries(registry);
  BhoEntries(registry, &lists[5], &lists[6]);
  return lists;
}

Details EntryDetails(Registry& registry, Panel panel, const ListItem& item) {
  switch (panel) {
    case Panel::CurrentUserButtons:
      return ButtonDetails(registry, item, kCurrentUser);
    case Panel::AllUsersButtons:
      return ButtonDetails(registry, item, kLocalMachine);
    case Panel::CurrentUserToolbars:
      return ToolbarDetails(registry, item, kCurrentUser);
    case Panel::AllUsersToolbars:
      return ToolbarDetails(registry, item, kLocalMachine);
    case Panel::MenuItems:
      return MenuDetails(registry, item);
    case Panel::EnabledObjects:
      return BhoDetails(registry, item, false);
    case Panel::DisabledObjects:
      break;
  }
  return BhoDetails(registry, item, true);
}

std::optional<bool> Loads(const RegistryVerdict& verdict, const FileReport* report) {
  if (!verdict.decides) return std::nullopt;
  if (!verdict.notLoaded.empty()) return false;
  if (!report) return std::nullopt;
  return report->file.kind != FileKind::Missing && report->file.kind != FileKind::Directory;
}

std::string StatusText(const RegistryVerdict& verdict, const FileReport* report) {
  std::vector<std::string> parts;
  const std::optional<bool> loads = Loads(verdict, report);
  if (!verdict.notLoaded.empty()) {
    parts.push_back("Not loaded: " + verdict.notLoaded);
  } else if (loads) {
    parts.push_back(*loads ? verdict.loads : "Not loaded: file not found");
  }
  if (!verdict.file.empty() && !report) parts.push_back(kChecking);
  if (!verdict.file.empty() && report) {
    parts.push_back(FileText(*report));
    if (report->file.kind == FileKind::File) parts.push_back(MakerText(*report));
  }
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : kSeparator) + part;
  return text;
}

void ShowVerdict(Form1& form, Panel panel, const ListItem& item) {
  const RegistryVerdict verdict = ReadVerdict(*form.registry, panel, item);
  StatusBar* bar = form.StatusBar1;
  bar->SetText(StatusText(verdict, nullptr));
  if (verdict.file.empty()) return form.runner->Cancel();
  Files* files = form.files;
  form.runner->Run([files, bar, verdict]() -> std::function<void()> {
    const FileReport report = Examine(*files, verdict.file, verdict.use, verdict.for32Bit);
    return [bar, verdict, report] { bar->SetText(StatusText(verdict, &report)); };
  });
}

void ClearStatus(Form1& form) {
  form.runner->Cancel();
  form.StatusBar1->SetText("");
}

}  // namespace brv
