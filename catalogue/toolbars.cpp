#include "catalogue/toolbars.h"

#include "catalogue/common.h"
#include "catalogue/verdict.h"
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
std::vector<ListItem> Toolbars(std::vector<ViewedName> names) {
  std::vector<ListItem> toolbars;
  for (ViewedName& found : names) {
    if (StartsWith(found.name, "{"))
      toolbars.push_back(MakeItem(std::move(found), Shown::AsStored));
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

// Deletes a toolbar's class keys in `views` and its toolbar value. The class
// key is addressed only by a well-formed identifier, so no name can reach
// another key under CLSID; it stays where it is a protected band's or is
// shared through a NUL with another toolbar value of the same key. The value
// is deleted by its exact name, whatever it holds, in its own view.
void DeleteToolbar(Form1& form, const RegAddress& toolbarKey, const ListItem& item, Listed list,
                   std::initializer_list<View> views) {
  DeleteThenRefill(
      form,
      [&] {
        Registry& registry = *form.registry;
        const std::string classId = ClassOfEntry(registry, item, list).id;
        long r = kErrorSuccess;
        if (IsClassIdentifier(classId) && !IsProtectedBand(classId) &&
            !SharesClassThroughNul(ValueNames(registry, toolbarKey), item.name)) {
          for (View view : views) r = FirstRefusal(r, registry.DeleteTree(ClassKey(view, classId)));
        }
        return FirstRefusal(r, registry.DeleteValue(toolbarKey, item.name));
      },
      codings1);
  form.Text3->SetText("");
  form.Text4->SetText("");
  form.Text9->SetText("");
}

}  // namespace

void codings1(Form1& form) {
  ClearStatus(form);
  form.List3->Clear();
  form.List4->Clear();
  form.Text3->SetText("");
  form.Text4->SetText("");
  // Each key is read on its own: one missing key hides nothing of the other.
  form.List3->AddItems(ToolbarEntries(*form.registry, kCurrentUser));
  form.List4->AddItems(ToolbarEntries(*form.registry, kLocalMachine));
}

std::vector<ListItem> ToolbarEntries(Registry& registry, RootKey root) {
  // The current user's key is one for both views; the machine's is two.
  if (root == kLocalMachine) {
    return Toolbars(ValueNamesInViews(registry, kLocalMachine, kMachineToolbarsPath));
  }
  std::vector<ViewedName> names;
  for (std::string& name : ValueNames(registry, root, kUserToolbarsPath)) {
    names.push_back({std::move(name), View::k64});
  }
  return Toolbars(std::move(names));
}

// The toolbar's name and file, from the class its entry names. A name
// holding a separator would lead the class path into some other key: such a
// class is registered nowhere.
Details ToolbarDetails(Registry& registry, const ListItem& item, RootKey root) {
  const NamedClass named = ClassOfEntry(
      registry, item, root == kCurrentUser ? Listed::UserToolbar : Listed::MachineToolbar);
  long code = kErrorFileNotFound;
  std::string text;
  RegAddress key = ClassKey(named.view, named.id);
  if (IsKeyName(named.id)) text = GetRegString(registry, key, "", &code);
  Details details = {{"Toolbar", &Form1::Text3, ShownRead(text, code, kNoName)}};
  key.path += "\\InProcServer32";
  if (IsKeyName(named.id)) text = GetRegString(registry, key, "", &code);
  details.push_back({"DLL Name", &Form1::Text4, ShownRead(text, code, kNoFile)});
  return details;
}

void List3_Click(Form1& form) {
  const ListItem* item = form.List3->Selected();
  if (!item) return;
  form.currentUserToolbar = *item;
  ShowDetails(form, ToolbarDetails(*form.registry, *item, kCurrentUser));
  form.List4->SetListIndex(-1);
  form.Command4->SetEnabled(true);
  ShowVerdict(form, Panel::CurrentUserToolbars, *item);
}

void List4_Click(Form1& form) {
  const ListItem* item = form.List4->Selected();
  if (!item) return;
  form.allUsersToolbar = *item;
  ShowDetails(form, ToolbarDetails(*form.registry, *item, kLocalMachine));
  form.List3->SetListIndex(-1);
  form.Command4->SetEnabled(true);
  ShowVerdict(form, Panel::AllUsersToolbars, *item);
}

void Command4_Click(Form1& form) {
  if (!ConfirmDelete(*form.desktop)) return;
  // The names exactly as stored: a value name may end in spaces, and a
  // trimmed name would address a different value.
  const std::optional<ListItem> currentUser = SelectionOf(*form.List3);
  const std::optional<ListItem> allUsers = SelectionOf(*form.List4);
  form.currentUserToolbar = currentUser.value_or(ListItem{});
  form.allUsersToolbar = allUsers.value_or(ListItem{});
  if (currentUser && IsProtectedBand(currentUser->name)) {
    form.desktop->MsgBox(kBandsKept, kAppTitle, MsgButtons::Ok, MsgIcon::None);
  } else if (currentUser && StartsWith(currentUser->name, "{")) {
    // Its value is the current user's; its class may be registered in either view.
    DeleteToolbar(form, {kCurrentUser, View::k64, kUserToolbarsPath}, *currentUser,
                  Listed::UserToolbar, {View::k64, View::k32});
  }
  if (allUsers && !IsProtectedBand(allUsers->name) && StartsWith(allUsers->name, "{")) {
    DeleteToolbar(form, {kLocalMachine, allUsers->view, kMachineToolbarsPath}, *allUsers,
                  Listed::MachineToolbar, {allUsers->view});
  }
}

}  // namespace brv
