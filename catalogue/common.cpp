#include "catalogue/common.h"

#include <memory>

#include "base/text.h"
#include "catalogue/toolbar_buttons.h"
#include "registry/module1.h"

namespace brv {

bool ConfirmDelete(Desktop& desktop) {
  return desktop.MsgBox(std::string("Are you sure? ") + "Changes cannot be reverted",
                        "Delete Confirmation", MsgButtons::OkCancel,
                        MsgIcon::None) == MsgAnswer::Ok;
}

namespace {

// The names a key lists: its sub-keys' or its values'.
using Enumerate = long (RegKey::*)(std::vector<std::string>*);

// Names of a key, as far as the registry answers; none for a key that does
// not open.
std::vector<std::string> Names(Registry& registry, const RegAddress& at, Enumerate enumerate) {
  std::vector<std::string> names;
  std::unique_ptr<RegKey> key;
  if (registry.OpenKey(at, Registry::Access::Read, &key) == kErrorSuccess) {
    ((*key).*enumerate)(&names);
  }
  return names;
}

void AppendNames(RegKey& key, Enumerate enumerate, View view, std::vector<ViewedName>* names) {
  std::vector<std::string> found;
  (key.*enumerate)(&found);
  for (std::string& name : found) names->push_back({std::move(name), view});
}

// The 32-bit view is a key of its own when it opens and the system names it
// differently from the 64-bit view's key (or that one does not open).
std::vector<ViewedName> NamesInViews(Registry& registry, RootKey root, const std::string& path,
                                     Enumerate enumerate) {
  std::vector<ViewedName> names;
  std::unique_ptr<RegKey> key64;
  std::unique_ptr<RegKey> key32;
  const bool has64 =
      registry.OpenKey({root, View::k64, path}, Registry::Access::Read, &key64) == kErrorSuccess;
  const bool has32 =
      registry.OpenKey({root, View::k32, path}, Registry::Access::Read, &key32) == kErrorSuccess;
  if (has64) AppendNames(*key64, enumerate, View::k64, &names);
  if (has32) {
    std::string name64;
    std::string name32;
    const bool same = has64 && key64->FullName(&name64) == kErrorSuccess &&
                      key32->FullName(&name32) == kErrorSuccess && name64 == name32;
    if (!same) AppendNames(*key32, enumerate, View::k32, &names);
  }
  return names;
}

}  // namespace

std::vector<std::string> SubKeyNames(Registry& registry, const RegAddress& at) {
  return Names(registry, at, &RegKey::SubKeyNames);
}

std::vector<std::string> ValueNames(Registry& registry, const RegAddress& at) {
  return Names(registry, at, &RegKey::ValueNames);
}

std::vector<ViewedName> SubKeyNamesInViews(Registry& registry, RootKey root,
                                           const std::string& path) {
  return NamesInViews(registry, root, path, &RegKey::SubKeyNames);
}

std::vector<ViewedName> ValueNamesInViews(Registry& registry, RootKey root,
                                          const std::string& path) {
  return NamesInViews(registry, root, path, &RegKey::ValueNames);
}

namespace {

std::string ShowNuls(const std::string& text) {
  std::string shown;
  shown.reserve(text.size());
  for (char c : text) {
    if (c == '\0') {
      shown += kNulMark;
    } else {
      shown += c;
    }
  }
  return shown;
}

}  // namespace

ListItem MakeItem(ViewedName found, Shown shown) {
  auto show = [shown](const std::string& text) {
    return shown == Shown::UpperCased ? UpperCase(text) : text;
  };
  ListItem item;
  item.identifier = TrimSpaces(show(CutAtNul(found.name)));
  item.text = show(found.name);
  if (item.text.find('\0') != std::string::npos) item.text = ShowNuls(item.text);
  if (found.view == View::k32) item.text += kView32Suffix;
  item.name = std::move(found.name);
  item.view = found.view;
  return item;
}

bool IsKeyName(const std::string& name) {
  return !name.empty() && name.find('\\') == std::string::npos;
}

NamedClass ClassOfEntry(Registry& registry, const ListItem& item, Listed list) {
  NamedClass named;
  switch (list) {
    case Listed::UserButton:
    case Listed::MachineButton: {
      const RootKey root = list == Listed::UserButton ? kCurrentUser : kLocalMachine;
      const RegAddress entry{root, item.view, std::string(kExtensionsPath) + "\\" + item.name};
      long r = kErrorSuccess;
      const std::string text = GetRegString(registry, entry, "ClsidExtension", &r);
      if (r == kErrorSuccess) named.id = CutAtNul(text);
      break;
    }
    case Listed::DisabledBho:
      named.id = TrimLeft(CutAtNul(item.name));
      break;
    default:
      named.id = CutAtNul(item.name);
  }
  const bool perUser = list == Listed::UserButton || list == Listed::UserToolbar;
  named.view = !perUser              ? item.view
               : IsKeyName(named.id) ? ClassView(registry, named.id)
                                     : View::k64;
  return named;
}

bool SharesClassThroughNul(const std::vector<std::string>& names, const std::string& name) {
  const std::string prefix = UpperCase(CutAtNul(name));
  const bool nulInName = name.find('\0') != std::string::npos;
  for (const std::string& other : names) {
    if (other == name) continue;
    const bool nulInEither = nulInName || other.find('\0') != std::string::npos;
    if (nulInEither && UpperCase(CutAtNul(other)) == prefix) return true;
  }
  return false;
}

RegAddress ClassKey(View view, const std::string& identifier) {
  return RegAddress{kClassesRoot, view, "CLSID\\" + identifier};
}

View ClassView(Registry& registry, const std::string& identifier) {
  std::unique_ptr<RegKey> key;
  if (registry.OpenKey(ClassKey(View::k64, identifier), Registry::Access::Read, &key) ==
      kErrorSuccess) {
    return View::k64;
  }
  if (registry.OpenKey(ClassKey(View::k32, identifier), Registry::Access::Read, &key) ==
      kErrorSuccess) {
    return View::k32;
  }
  return View::k64;
}

std::optional<std::string> ShownRead(const std::string& text, long code,
                                     const std::string& failure) {
  if (code != kErrorSuccess) return failure;
  if (TrimSpaces(text).empty()) return std::nullopt;
  return text;
}

void ShowDetails(Form1& form, const Details& details) {
  for (const Detail& detail : details) {
    if (detail.text) (form.*detail.box)->SetText(*detail.text);
  }
}

void DeleteThenRefill(Form1& form, const std::function<long()>& change, void (*refill)(Form1&)) {
  const long result = change();
  refill(form);
  if (Refused(result)) ReportFailure(*form.desktop, kAppTitle, kNotAllDeleted, result);
}

}  // namespace brv
