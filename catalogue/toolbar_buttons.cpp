#include "catalogue/toolbar_buttons.h"

#include "catalogue/common.h"
#include "registry/module1.h"
#include "base/text.h"

namespace brv {

namespace {

const char* const kNoName = "No name reference found in the registry";
const char* const kNoCommand = "No reference found in the registry";
const char* const kNotInToolsMenu = "Item not listed in Tools Menu";

std::vector<std::string> Entries(Registry& registry, RootKey root) {
  std::vector<std::string> entries;
  for (const std::string& name : SubKeyNames(registry, root, kExtensionsPath)) {
    if (!Listable(name)) continue;
    std::string upper = UpperCase(name);
    if (StartsWith(upper, "{")) entries.push_back(std::move(upper));
  }
  return entries;
}

// The command of an entry without Exec: its Script, else the file of its
// ClsidExtension class (cut at the NUL the read leaves, through Text8).
std::string CommandWithoutExec(Form1& form, const std::string& key) {
  Registry& registry = *form.registry;
  std::string command = GetRegString(registry, key, "Script");
  if (!IsError(command)) return command;
  form.Text8->SetText(GetRegString(registry, key, "ClsidExtension"));
  const std::string classFile =
      TrimSpaces("HKEY_CLASSES_ROOT\\CLSID\\" + form.Text8->Text() + "\\InProcServer32");
  return GetRegString(registry, classFile, "");
}

void ShowNameAndCommand(Form1& form, const std::string& buttonText, const std::string& command) {
  if (!TrimSpaces(buttonText).empty()) form.Text1->SetText(buttonText);
  if (!TrimSpaces(command).empty()) form.Text2->SetText(command);
  if (IsError(buttonText)) form.Text1->SetText(kNoName);
  if (IsError(command)) form.Text2->SetText(kNoCommand);
}

void DeleteEntry(Form1& form, RootKey root, const std::string& entry) {
  if (!StartsWith(entry, "{")) return;
  // A failed delete is left to show itself: the refill still lists the entry.
  form.registry->DeleteTree(root, std::string(kExtensionsPath) + "\\" + entry);
  CODINGS(form);
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
  form.List1->AddItems(Entries(*form.registry, kCurrentUser));
  form.List2->AddItems(Entries(*form.registry, kLocalMachine));
}

void List1_Click(Form1& form) {
  if (form.List1->ListIndex() < 0) return;
  form.Text8->SetText("");
  form.Text9->SetText("");
  const std::string key =
      std::string("HKEY_CURRENT_USER\\") + kExtensionsPath + "\\" + form.List1->Text();
  const std::string buttonText = GetRegString(*form.registry, key, "ButtonText");
  std::string command = GetRegString(*form.registry, key, "Exec");
  if (IsError(command)) command = CommandWithoutExec(form, key);
  const std::string menuText = TrimSpaces(GetRegString(*form.registry, key, "MenuText"));
  if (!IsError(menuText)) form.Text9->SetText(menuText);
  ShowNameAndCommand(form, buttonText, command);
  form.List2->SetListIndex(-1);
  form.Command1->SetEnabled(true);
}

void List2_Click(Form1& form) {
  if (form.List2->ListIndex() < 0) return;
  form.Text8->SetText("");
  form.Text9->SetText("");
  const std::string key =
      std::string("HKEY_LOCAL_MACHINE\\") + kExtensionsPath + "\\" + form.List2->Text();
  const std::string buttonText = GetRegString(*form.registry, key, "ButtonText");
  std::string command = GetRegString(*form.registry, key, "Exec");
  const std::string menuText = GetRegString(*form.registry, key, "MenuText");
  if (IsError(command)) command = CommandWithoutExec(form, key);
  form.Text9->SetText(menuText);
  if (IsError(TrimSpaces(menuText))) form.Text9->SetText(kNotInToolsMenu);
  ShowNameAndCommand(form, buttonText, command);
  form.List1->SetListIndex(-1);
  form.Command1->SetEnabled(true);
}

void Command1_Click(Form1& form) {
  if (!ConfirmDelete(*form.desktop)) return;
  // The names exactly as listed: a key name may end in spaces, and a trimmed
  // name would address a different entry.
  const std::string currentUser = form.List1->Text();
  const std::string allUsers = form.List2->Text();
  DeleteEntry(form, kCurrentUser, currentUser);
  DeleteEntry(form, kLocalMachine, allUsers);
}

}  // namespace brv
