#include "catalogue/context_menus.h"

#include "catalogue/common.h"
#include "catalogue/verdict.h"
#include "registry/module1.h"
#include "base/text.h"

namespace brv {

namespace {

// The key of an entry, by its stored name, spaces included: trimmed, it
// could name another key. The key is the current user's, one for both views.
std::string EntryPath(const ListItem& item) {
  return std::string(kMenuExtPath) + "\\" + item.name;
}

}  // namespace

void codings3(Form1& form) {
  ClearStatus(form);
  form.List5->Clear();
  form.List5->AddItems(MenuEntries(*form.registry));
  form.Text7->SetText("");
}

std::vector<ListItem> MenuEntries(Registry& registry) {
  std::vector<ListItem> entries;
  for (std::string& name : SubKeyNames(registry, kCurrentUser, kMenuExtPath)) {
    entries.push_back(MakeItem({std::move(name), View::k64}, Shown::UpperCased));
  }
  return entries;
}

Details MenuDetails(Registry& registry, const ListItem& item) {
  long code;
  const std::string command =
      GetRegString(registry, {kCurrentUser, View::k64, EntryPath(item)}, "", &code);
  return {{"Command/Script", &Form1::Text7,
           code == kErrorSuccess ? std::optional<std::string>(command) : std::nullopt}};
}

void List5_Click(Form1& form) {
  const ListItem* item = form.List5->Selected();
  if (!item) return;
  ShowDetails(form, MenuDetails(*form.registry, *item));
  ShowVerdict(form, Panel::MenuItems, *item);
}

void Command10_Click(Form1& form) {
  if (!ConfirmDelete(*form.desktop)) return;
  const std::optional<ListItem> item = SelectionOf(*form.List5);
  if (!item || item->name.empty()) return;
  DeleteThenRefill(
      form, [&] { return form.registry->DeleteTree(kCurrentUser, EntryPath(*item)); }, codings3);
}

}  // namespace brv
