#include "catalogue/toolbar_buttons.h"

#include "catalogue/common.h"
#include "catalogue/verdict.h"
#include "registry/module1.h"
#include "base/text.h"

namespace brv {

namespace {

const char* const kNoName = "No name reference found in the registry";
const char* const kNoCommand = "No reference found in the registry";
const char* const kNotInToolsMenu = "Item not listed in Tools Menu";

std::vector<ListItem> Entries(std::vector<ViewedName> names) {
  std::vector<ListItem> entries;
  for (ViewedName& found : names) {
    if (StartsWith(found.name, "{"))
      entries.push_back(MakeItem(std::move(found), Shown::UpperCased));
  }
  return entries;
}

RegAddress EntryKey(RootKey root, const ListItem& item) {
  return RegAddress{root, item.view, std::string(kExtensionsPath) + "\\" + item.name};
}

// The command of an entry without Exec: its Script, else the file of the
// class its ClsidExtension names (kept in Text8, as the panel always has).
std::string CommandWithoutExec(Form1& form, const RegAddress& key, const ListItem& item,
                               Listed list, long* code) {
  Registry& registry = *form.registry;
  const std::string script = GetRegString(registry, key, "Script", code);
  if (*code == kErrorSuccess) return script;
  const NamedClass named = ClassOfEntry(registry, item, list);
  form.Text8->SetText(named.id);
  if (named.id.empty()) return kError;
  RegAddress classFile = ClassKey(named.view, named.id);
  classFile.path += "\\InProcServer32";
  return GetRegString(registry, classFile, "", code);
}

// The command: Exec, else what CommandWithoutExec finds.
std::string Command(Form1& form, const RegAddress& key, const ListItem& item, Listed list,
                    long* code) {
  const std::string exec = GetRegString(*form.registry, key, "Exec", code);
  return *code == kErrorSuccess ? exec : CommandWithoutExec(form, key, item, list, code);
}

void ShowNameAndCommand(Form1& form, const std::string& buttonText, long nameCode,
                        const std::string& command, long commandCode) {
  ShowRead(*form.Text1, buttonText, nameCode, kNoName);
  ShowRead(*form.Text2, command, commandCode, kNoCommand);
}

void DeleteEntry(Form1& form, RootKey root, const std::optional<ListItem>& item) {
  if (!item || !StartsWith(item->name, "{")) return;
  DeleteThenRefill(
      form, [&] { return form.registry->DeleteTree(EntryKey(root, *item)); }, CODINGS);
  form.Text1->SetText("");
  form.Text2->SetText("");
  form.Text9->SetText("");
}

}  // namespace

void CODINGS(Form1& form) {
  ClearStatus(form);
  form.List1->Clear();
  form.List2->Clear();
  form.Text1->SetText("");
  form.Text2->SetText("");
  form.Text9->SetText("");
  // The current user's key is one for both views; the machine's is two.
  std::vector<ViewedName> currentUser;
  for (std::string& name : SubKeyNames(*form.registry, kCurrentUser, kExtensionsPath)) {
    currentUser.push_back({std::move(name), View::k64});
  }
  form.List1->AddItems(Entries(std::move(currentUser)));
  form.List2->AddItems(Entries(SubKeyNamesInViews(*form.registry, kLocalMachine, kExtensionsPath)));
}

void List1_Click(Form1& form) {
  const ListItem* item = form.List1->Selected();
  if (!item) return;
  form.Text8->SetText("");
  form.Text9->SetText("");
  const RegAddress key = EntryKey(kCurrentUser, *item);
  long nameCode, commandCode, menuCode;
  const std::string buttonText = GetRegString(*form.registry, key, "ButtonText", &nameCode);
  const std::string command = Command(form, key, *item, Listed::UserButton, &commandCode);
  const std::string menuText = GetRegString(*form.registry, key, "MenuText", &menuCode);
  if (menuCode == kErrorSuccess) form.Text9->SetText(TrimSpaces(menuText));
  ShowNameAndCommand(form, buttonText, nameCode, command, commandCode);
  form.List2->SetListIndex(-1);
  form.Command1->SetEnabled(true);
  ShowVerdict(form, Panel::CurrentUserButtons, *item);
}

void List2_Click(Form1& form) {
  const ListItem* item = form.List2->Selected();
  if (!item) return;
  form.Text8->SetText("");
  form.Text9->SetText("");
  const RegAddress key = EntryKey(kLocalMachine, *item);
  long nameCode, commandCode, menuCode;
  const std::string buttonText = GetRegString(*form.registry, key, "ButtonText", &nameCode);
  const std::string command = Command(form, key, *item, Listed::MachineButton, &commandCode);
  const std::string menuText = GetRegString(*form.registry, key, "MenuText", &menuCode);
  form.Text9->SetText(menuCode == kErrorSuccess ? menuText : kNotInToolsMenu);
  ShowNameAndCommand(form, buttonText, nameCode, command, commandCode);
  form.List1->SetListIndex(-1);
  form.Command1->SetEnabled(true);
  ShowVerdict(form, Panel::AllUsersButtons, *item);
}

void Command1_Click(Form1& form) {
  if (!ConfirmDelete(*form.desktop)) return;
  // Each entry by its stored name, in its own view.
  const std::optional<ListItem> currentUser = SelectionOf(*form.List1);
  const std::optional<ListItem> allUsers = SelectionOf(*form.List2);
  DeleteEntry(form, kCurrentUser, currentUser);
  DeleteEntry(form, kLocalMachine, allUsers);
}

}  // namespace brv
