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
// class its ClsidExtension names (that class kept in Text8, as the panel
// always has).
std::string CommandWithoutExec(Registry& registry, const RegAddress& key, const ListItem& item,
                               Listed list, long* code, std::string* classId) {
  const std::string script = GetRegString(registry, key, "Script", code);
  if (*code == kErrorSuccess) return script;
  const NamedClass named = ClassOfEntry(registry, item, list);
  *classId = named.id;
  if (named.id.empty()) return kError;
  RegAddress classFile = ClassKey(named.view, named.id);
  classFile.path += "\\InProcServer32";
  return GetRegString(registry, classFile, "", code);
}

// The command: Exec, else what CommandWithoutExec finds.
std::string Command(Registry& registry, const RegAddress& key, const ListItem& item, Listed list,
                    long* code, std::string* classId) {
  const std::string exec = GetRegString(registry, key, "Exec", code);
  return *code == kErrorSuccess ? exec
                                : CommandWithoutExec(registry, key, item, list, code, classId);
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
  form.List1->AddItems(ButtonEntries(*form.registry, kCurrentUser));
  form.List2->AddItems(ButtonEntries(*form.registry, kLocalMachine));
}

std::vector<ListItem> ButtonEntries(Registry& registry, RootKey root) {
  // The current user's key is one for both views; the machine's is two.
  if (root == kLocalMachine) {
    return Entries(SubKeyNamesInViews(registry, kLocalMachine, kExtensionsPath));
  }
  std::vector<ViewedName> names;
  for (std::string& name : SubKeyNames(registry, root, kExtensionsPath)) {
    names.push_back({std::move(name), View::k64});
  }
  return Entries(std::move(names));
}

Details ButtonDetails(Registry& registry, const ListItem& item, RootKey root) {
  const RegAddress key = EntryKey(root, item);
  const bool currentUser = root == kCurrentUser;
  long nameCode, commandCode, menuCode;
  std::string classId;
  const std::string buttonText = GetRegString(registry, key, "ButtonText", &nameCode);
  const std::string command =
      Command(registry, key, item, currentUser ? Listed::UserButton : Listed::MachineButton,
              &commandCode, &classId);
  const std::string menuText = GetRegString(registry, key, "MenuText", &menuCode);
  const bool hasMenu = menuCode == kErrorSuccess;
  return {
      {"Button Text", &Form1::Text1, ShownRead(buttonText, nameCode, kNoName)},
      {"Command", &Form1::Text2, ShownRead(command, commandCode, kNoCommand)},
      {"Menu Text", &Form1::Text9,
       currentUser ? (hasMenu ? TrimSpaces(menuText) : std::string())
                   : (hasMenu ? menuText : std::string(kNotInToolsMenu))},
      {"", &Form1::Text8, classId},
  };
}

void List1_Click(Form1& form) {
  const ListItem* item = form.List1->Selected();
  if (!item) return;
  ShowDetails(form, ButtonDetails(*form.registry, *item, kCurrentUser));
  form.List2->SetListIndex(-1);
  form.Command1->SetEnabled(true);
  ShowVerdict(form, Panel::CurrentUserButtons, *item);
}

void List2_Click(Form1& form) {
  const ListItem* item = form.List2->Selected();
  if (!item) return;
  ShowDetails(form, ButtonDetails(*form.registry, *item, kLocalMachine));
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
