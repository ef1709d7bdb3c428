#include "catalogue/toolbar_buttons.h"

#include "catalogue/common.h"
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

// The command of an entry without Exec: its Script, else the file of its
// ClsidExtension class (cut at the NUL the read leaves, through Text8), read
// in `classView`. Without a ClsidExtension there is no class to read.
std::string CommandWithoutExec(Form1& form, const RegAddress& key, View classView) {
  Registry& registry = *form.registry;
  std::string command = GetRegString(registry, key, "Script");
  if (!IsError(command)) return command;
  const std::string classId = GetRegString(registry, key, "ClsidExtension");
  form.Text8->SetText(classId);
  if (IsError(classId)) return kError;
  RegAddress classFile = ClassKey(classView, form.Text8->Text());
  classFile.path += "\\InProcServer32";
  return GetRegString(registry, classFile, "");
}

// The class a per-user entry names is looked up where it is registered.
View PerUserClassView(Registry& registry, const RegAddress& key) {
  const std::string classId = CutAtNul(GetRegString(registry, key, "ClsidExtension"));
  if (IsError(classId) || classId.find('\\') != std::string::npos) return View::k64;
  return ClassView(registry, classId);
}

void ShowNameAndCommand(Form1& form, const std::string& buttonText, const std::string& command) {
  if (!TrimSpaces(buttonText).empty()) form.Text1->SetText(buttonText);
  if (!TrimSpaces(command).empty()) form.Text2->SetText(command);
  if (IsError(buttonText)) form.Text1->SetText(kNoName);
  if (IsError(command)) form.Text2->SetText(kNoCommand);
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
  const std::string buttonText = GetRegString(*form.registry, key, "ButtonText");
  std::string command = GetRegString(*form.registry, key, "Exec");
  if (IsError(command)) {
    command = CommandWithoutExec(form, key, PerUserClassView(*form.registry, key));
  }
  const std::string menuText = TrimSpaces(GetRegString(*form.registry, key, "MenuText"));
  if (!IsError(menuText)) form.Text9->SetText(menuText);
  ShowNameAndCommand(form, buttonText, command);
  form.List2->SetListIndex(-1);
  form.Command1->SetEnabled(true);
}

void List2_Click(Form1& form) {
  const ListItem* item = form.List2->Selected();
  if (!item) return;
  form.Text8->SetText("");
  form.Text9->SetText("");
  const RegAddress key = EntryKey(kLocalMachine, *item);
  const std::string buttonText = GetRegString(*form.registry, key, "ButtonText");
  std::string command = GetRegString(*form.registry, key, "Exec");
  const std::string menuText = GetRegString(*form.registry, key, "MenuText");
  if (IsError(command)) command = CommandWithoutExec(form, key, item->view);
  form.Text9->SetText(menuText);
  if (IsError(TrimSpaces(menuText))) form.Text9->SetText(kNotInToolsMenu);
  ShowNameAndCommand(form, buttonText, command);
  form.List1->SetListIndex(-1);
  form.Command1->SetEnabled(true);
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
