#include "catalogue/bhos.h"

#include <memory>

#include "catalogue/common.h"
#include "catalogue/verdict.h"
#include "registry/key_move.h"
#include "registry/module1.h"
#include "base/text.h"

namespace brv {

namespace {

const char* const kNoExplorer = "NoExplorer";
const char* const kLinkNotMoved =
    "The key of the selected BHO is a registry link, or holds one. It is not renamed: a copy "
    "would put what the link points to in its place.";
const char* const kMoveFailed = "The key of the selected BHO could not be renamed:";
const char* const kMoveJoined =
    "The key of the selected BHO could not be renamed completely. It is whole, but part of it "
    "was copied into the key of the new name, which existed before:";
const char* const kMoveSourceLeft =
    "The key of the selected BHO was copied to its new name, but the old key could not be "
    "removed completely:";

std::string Registration(const std::string& name) {
  return std::string(kBhoPath) + "\\" + name;
}

RegAddress RegistrationKey(const ListItem& item) {
  return RegAddress{kLocalMachine, item.view, Registration(item.name)};
}

// A name that may name a class key: it begins with a brace and holds no
// separator that could lead to another key.
bool IsIdentifierLike(const std::string& name) {
  return StartsWith(name, "{") && IsKeyName(name);
}

// Deletes a registration sub-key and the class key of its identifier, both
// in the item's view. A class that another registration shares through a
// NUL in a name stays: deleting one entry leaves the other whole.
void DeleteObject(Form1& form, const ListItem& item, Listed list) {
  const std::string identifier = ClassOfEntry(*form.registry, item, list).id;
  if (!IsIdentifierLike(identifier)) return;
  DeleteThenRefill(
      form,
      [&] {
        Registry& registry = *form.registry;
        const RegAddress registrations{kLocalMachine, item.view, kBhoPath};
        const bool shared = SharesClassThroughNul(SubKeyNames(registry, registrations), item.name);
        long r = registry.DeleteTree(RegistrationKey(item));
        if (!shared) r = FirstRefusal(r, registry.DeleteTree(ClassKey(item.view, identifier)));
        return r;
      },
      CODINGS4);
  form.Text5->SetText("");
  form.Text6->SetText("");
}

// Tells the user that nothing was changed, why, and the system's reason (if
// there is one).
void NotChanged(Form1& form, const std::string& why, long code) {
  ReportFailure(*form.desktop, kAppTitle, "Nothing was changed. " + why, code);
}

// Renames a registration sub-key in its view, keeping everything it holds
// by exact names, then refills; tells the user when the move did not go
// through, and how far it got.
void Rename(Form1& form, const ListItem& item, bool disable) {
  if (!IsKeyName(item.name)) return CODINGS4(form);
  const std::string target = disable ? " " + item.name : TrimLeft(item.name);
  MoveStage stage = MoveStage::Done;
  const long r = MoveKey(*form.registry, RegistrationKey(item), Registration(target), &stage);
  CODINGS4(form);
  if (r == kErrorSuccess) return;
  if (r == kErrorLinkNotMoved) return NotChanged(form, kLinkNotMoved, kErrorSuccess);
  if (stage == MoveStage::Joined) return ReportFailure(*form.desktop, kAppTitle, kMoveJoined, r);
  if (stage == MoveStage::SourceLeft) {
    return ReportFailure(*form.desktop, kAppTitle, kMoveSourceLeft, r);
  }
  NotChanged(form, kMoveFailed, r);
}

// The selected enabled object's registration key, opened for writing in its
// view.
long OpenSelected(Form1& form, const ListItem& item, std::unique_ptr<RegKey>* key) {
  if (!IsKeyName(item.name)) return kErrorFileNotFound;
  return form.registry->OpenKey(RegistrationKey(item), Registry::Access::ReadWrite, key);
}

const char* const kNotOpened = "The key of the selected BHO could not be opened:";

}  // namespace

void CODINGS4(Form1& form) {
  ClearStatus(form);
  form.List6->Clear();
  form.List7->Clear();
  form.Text5->SetText("");
  form.Text6->SetText("");
  std::vector<ListItem> enabled;
  std::vector<ListItem> disabled;
  BhoEntries(*form.registry, &enabled, &disabled);
  form.List6->AddItems(std::move(enabled));
  form.List7->AddItems(std::move(disabled));
}

void BhoEntries(Registry& registry, std::vector<ListItem>* enabled,
                std::vector<ListItem>* disabled) {
  for (ViewedName& found : SubKeyNamesInViews(registry, kLocalMachine, kBhoPath)) {
    const bool isDisabled = StartsWith(found.name, " ");
    (isDisabled ? disabled : enabled)->push_back(MakeItem(std::move(found), Shown::UpperCased));
  }
}

// The description and file of the class the entry names; a box keeps its
// text where the value is blank, and shows "Error" where it cannot be read.
Details BhoDetails(Registry& registry, const ListItem& item, bool disabled) {
  const NamedClass named =
      ClassOfEntry(registry, item, disabled ? Listed::DisabledBho : Listed::Bho);
  Details details = {{"Description", &Form1::Text5, std::nullopt},
                     {"Related File", &Form1::Text6, std::nullopt}};
  if (!IsKeyName(named.id)) return details;
  RegAddress classKey = ClassKey(named.view, named.id);
  long code;
  const std::string description = GetRegString(registry, classKey, "", &code);
  details[0].text = ShownRead(description, code, kError);
  classKey.path += "\\InprocServer32";
  const std::string file = GetRegString(registry, classKey, "", &code);
  details[1].text = ShownRead(file, code, kError);
  return details;
}

void List6_Click(Form1& form) {
  const ListItem* item = form.List6->Selected();
  if (!item) return;
  form.Command2->SetEnabled(true);
  form.Command3->SetEnabled(false);
  form.Command5->SetEnabled(true);
  form.Command9->SetEnabled(true);
  ShowDetails(form, BhoDetails(*form.registry, *item, false));
  form.List7->SetListIndex(-1);
  ShowVerdict(form, Panel::EnabledObjects, *item);
}

void List7_Click(Form1& form) {
  const ListItem* item = form.List7->Selected();
  if (!item) return;
  form.Command3->SetEnabled(true);
  form.Command2->SetEnabled(false);
  form.Command5->SetEnabled(false);
  form.Command9->SetEnabled(false);
  ShowDetails(form, BhoDetails(*form.registry, *item, true));
  form.List6->SetListIndex(-1);
  ShowVerdict(form, Panel::DisabledObjects, *item);
}

void Command2_Click(Form1& form) {
  const std::optional<ListItem> item = SelectionOf(*form.List6);
  if (!item || TrimSpaces(item->name).empty()) return;
  Rename(form, *item, true);
}

void Command3_Click(Form1& form) {
  const std::optional<ListItem> item = SelectionOf(*form.List7);
  if (!item || TrimSpaces(item->name).empty()) return;
  Rename(form, *item, false);
}

void Command6_Click(Form1& form) {
  if (!ConfirmDelete(*form.desktop)) return;
  const std::optional<ListItem> enabled = SelectionOf(*form.List6);
  if (enabled) DeleteObject(form, *enabled, Listed::Bho);
  // After a delete above the lists are refilled and nothing is selected.
  const std::optional<ListItem> disabled = SelectionOf(*form.List7);
  if (disabled) DeleteObject(form, *disabled, Listed::DisabledBho);
}

void Command5_Click(Form1& form) {
  const std::optional<ListItem> item = SelectionOf(*form.List6);
  if (!item || TrimSpaces(item->name).empty()) return;
  std::unique_ptr<RegKey> key;
  long r = OpenSelected(form, *item, &key);
  if (r != kErrorSuccess) return NotChanged(form, kNotOpened, r);
  // A string value with its terminating NUL; only its presence counts.
  r = key->SetValue(kNoExplorer, RegData{kRegSz, Utf8ToUtf16LeBytes("1", true)});
  RegData stored;
  if (r == kErrorSuccess) r = key->QueryValue(kNoExplorer, &stored);
  if (r != kErrorSuccess) {
    return NotChanged(form, "The NoExplorer value could not be written:", r);
  }
  form.desktop->MsgBox("Done. The selected BHO will not load with Windows Explorer shell",
                       kAppTitle, MsgButtons::Ok, MsgIcon::None);
}

void Command9_Click(Form1& form) {
  const std::optional<ListItem> item = SelectionOf(*form.List6);
  if (!item || TrimSpaces(item->name).empty()) return;
  std::unique_ptr<RegKey> key;
  long r = OpenSelected(form, *item, &key);
  if (r != kErrorSuccess) return NotChanged(form, kNotOpened, r);
  // A value already absent is what was asked for.
  r = key->DeleteValue(kNoExplorer);
  if (r != kErrorSuccess && r != kErrorFileNotFound) {
    return NotChanged(form, "The NoExplorer value could not be removed:", r);
  }
  RegData stored;
  r = key->QueryValue(kNoExplorer, &stored);
  if (r == kErrorSuccess) return NotChanged(form, "The NoExplorer value is still there.", r);
  if (r != kErrorFileNotFound)
    return NotChanged(form, "The NoExplorer value could not be read:", r);
  form.desktop->MsgBox("Done. The selected BHO will load with Windows Explorer shell", kAppTitle,
                       MsgButtons::Ok, MsgIcon::None);
}

}  // namespace brv
