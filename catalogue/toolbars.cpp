#include "catalogue/toolbars.h"

#include "catalogue/common.h"
#include "registry/module1.h"
#include "base/text.h"

namespace brv {

namespace {

const char* const kNoName = "Name does not exist in registry";
const char* const kNoFile = "DLLName does not Exist in registry";
const char* const kBandsKept = "You cannot delete Links and Addressbar bands";

// The browser's own address bar and links bands: never deleted.
const char* const kProtectedBands[] = {
    "{01E04581-4EEE-11D0-BFE9-00AA005B4383}",
    "{0E5CBF21-D15F-11D0-8301-00AA005B4383}",
};

// Toolbars are the values (not sub-keys) of these keys whose names begin
// with a brace; anything else there, such as the layout value, is not one.
std::vector<std::string> Toolbars(Registry& registry, RootKey root, const char* path) {
  std::vector<std::string> toolbars;
  for (std::string& name : ValueNames(registry, root, path)) {
    if (StartsWith(name, "{") && Listable(name)) {
      toolbars.push_back(std::move(name));
    }
  }
  return toolbars;
}

// The registry ignores case in names, so any spelling names the same class.
bool IsProtectedBand(const std::string& id) {
  const std::string upper = UpperCase(id);
  for (const char* band : kProtectedBands) {
    if (upper == band) return true;
  }
  return false;
}

void ShowDetails(Form1& form, const std::string& id) {
  // A backslash would lead the class path into some other key; such a name
  // has no class registration of its own.
  std::string name = kError;
  std::string file = kError;
  if (id.find('\\') == std::string::npos) {
    const std::string key = "HKEY_CLASSES_ROOT\\CLSID\\" + id;
    name = GetRegString(*form.registry, key, "");
    file = GetRegString(*form.registry, key + "\\InProcServer32", "");
  }
  if (!TrimSpaces(name).empty()) form.Text3->SetText(name);
  if (IsError(name)) form.Text3->SetText(kNoName);
  if (!TrimSpaces(file).empty()) form.Text4->SetText(file);
  if (IsError(file)) form.Text4->SetText(kNoFile);
}

// Deletes a toolbar's class key and its toolbar value. The class key is
// addressed only by a well-formed identifier, so no name can reach another
// key under CLSID; the value is deleted by its exact name, whatever it holds.
// Failures are left to show themselves: the refill still lists the toolbar.
void DeleteToolbar(Form1& form, RootKey root, const char* path, const std::string& id) {
  if (IsClassIdentifier(id)) form.registry->DeleteTree(kClassesRoot, "CLSID\\" + id);
  form.registry->DeleteValue(root, path, id);
  codings1(form);
  form.Text3->SetText("");
  form.Text4->SetText("");
  form.Text9->SetText("");
}

}  // namespace

void codings1(Form1& form) {
  form.List3->Clear();
  form.List4->Clear();
  form.Text3->SetText("");
  form.Text4->SetText("");
  // Each key is read on its own: one missing key hides nothing of the other.
  form.List3->AddItems(Toolbars(*form.registry, kCurrentUser, kUserToolbarsPath));
  form.List4->AddItems(Toolbars(*form.registry, kLocalMachine, kMachineToolbarsPath));
}

void List3_Click(Form1& form) {
  if (form.List3->ListIndex() < 0) return;
  form.currentUserToolbar = form.List3->Text();
  ShowDetails(form, form.currentUserToolbar);
  form.List4->SetListIndex(-1);
  form.Command4->SetEnabled(true);
}

void List4_Click(Form1& form) {
  if (form.List4->ListIndex() < 0) return;
  form.allUsersToolbar = form.List4->Text();
  ShowDetails(form, form.allUsersToolbar);
  form.List3->SetListIndex(-1);
  form.Command4->SetEnabled(true);
}

void Command4_Click(Form1& form) {
  if (!ConfirmDelete(*form.desktop)) return;
  // The names exactly as listed: a value name may end in spaces, and a
  // trimmed name would address a different value.
  form.currentUserToolbar = form.List3->Text();
  form.allUsersToolbar = form.List4->Text();
  const std::string currentUser = form.currentUserToolbar;
  const std::string allUsers = form.allUsersToolbar;
  if (IsProtectedBand(currentUser)) {
    form.desktop->MsgBox(kBandsKept, kAppTitle, MsgButtons::Ok, MsgIcon::None);
  } else if (StartsWith(currentUser, "{")) {
    DeleteToolbar(form, kCurrentUser, kUserToolbarsPath, currentUser);
  }
  if (!IsProtectedBand(allUsers) && StartsWith(allUsers, "{")) {
    DeleteToolbar(form, kLocalMachine, kMachineToolbarsPath, allUsers);
  }
}

}  // namespace brv
