#include "catalogue/bhos.h"

#include <memory>

#include "catalogue/common.h"
#include "registry/key_move.h"
#include "registry/module1.h"
#include "base/text.h"

namespace brv {

namespace {

const char* const kNoExplorer = "NoExplorer";
const char* const kClassKeys = "HKEY_CLASSES_ROOT\\CLSID\\";

std::string Registration(const std::string& name) {
  return std::string(kBhoPath) + "\\" + name;
}

// A name that addresses exactly one key below its parent.
bool IsSingleKeyName(const std::string& name) {
  return !name.empty() && name.find('\\') == std::string::npos;
}

// A list entry that may name a registration and a class key: it begins with
// a brace and holds no separator that could lead to another key.
bool IsIdentifierLike(const std::string& name) {
  return StartsWith(name, "{") && IsSingleKeyName(name);
}

// The registration sub-key a list entry stands for, as the registry stores
// its name (the lists show names upper-cased). Empty when no sub-key matches
// any more.
std::string StoredName(Registry& registry, const std::string& entry) {
  if (!IsSingleKeyName(entry)) return "";
  for (const std::string& name : SubKeyNames(registry, kLocalMachine, kBhoPath)) {
    if (Listable(name) && UpperCase(name) == entry) return name;
  }
  return "";
}

// Renames a registration sub-key, keeping everything it holds, then refills.
void Rename(Form1& form, const std::string& entry, bool disable) {
  Registry& registry = *form.registry;
  const std::string name = StoredName(registry, entry);
  if (!name.empty()) {
    const std::string target = disable ? " " + name : TrimLeft(name);
    // A failed move leaves the old key whole; the refill shows where it is.
    MoveKey(registry, kLocalMachine, Registration(name), Registration(target));
  }
  CODINGS4(form);
}

void ShowDetails(Form1& form, const std::string& identifier) {
  const std::string classKey = kClassKeys + identifier;
  const std::string description = GetRegString(*form.registry, classKey, "");
  const std::string file = GetRegString(*form.registry, classKey + "\\InprocServer32", "");
  if (!TrimSpaces(description).empty()) form.Text5->SetText(description);
  if (!TrimSpaces(file).empty()) form.Text6->SetText(file);
}

// Deletes a registration sub-key and the class key of its identifier.
void DeleteObject(Form1& form, const std::string& registration, const std::string& identifier) {
  // Deletion results are not reported: the refilled lists show what is left.
  form.registry->DeleteTree(kLocalMachine, Registration(registration));
  if (IsIdentifierLike(identifier)) {
    form.registry->DeleteTree(kClassesRoot, "CLSID\\" + identifier);
  }
  CODINGS4(form);
  form.Text5->SetText("");
  form.Text6->SetText("");
}

// Tells the user that nothing was changed, why, and the system's text for
// the error (if there is one).
void NotChanged(Form1& form, const std::string& why, long code) {
  std::string text = "Nothing was changed. " + why;
  if (code != kErrorSuccess) text += "\n" + form.desktop->ErrorText(code);
  form.desktop->MsgBox(text, kAppTitle, MsgButtons::Ok, MsgIcon::None);
}

// The selected enabled object's registration key, opened for writing.
long OpenSelected(Form1& form, const std::string& entry, std::unique_ptr<RegKey>* key) {
  if (!IsSingleKeyName(entry)) return kErrorFileNotFound;
  return form.registry->OpenKey(kLocalMachine, Registration(entry), Registry::Access::ReadWrite,
                                key);
}

const char* const kNotOpened = "The key of the selected BHO could not be opened:";

}  // namespace

void CODINGS4(Form1& form) {
  form.List6->Clear();
  form.List7->Clear();
  form.Text5->SetText("");
  form.Text6->SetText("");
  std::vector<std::string> enabled;
  std::vector<std::string> disabled;
  for (const std::string& name : SubKeyNames(*form.registry, kLocalMachine, kBhoPath)) {
    if (!Listable(name)) continue;
    std::string upper = UpperCase(name);
    (StartsWith(upper, " ") ? disabled : enabled).push_back(std::move(upper));
  }
  form.List6->AddItems(enabled);
  form.List7->AddItems(disabled);
}

void List6_Click(Form1& form) {
  if (form.List6->ListIndex() < 0) return;
  form.Command2->SetEnabled(true);
  form.Command3->SetEnabled(false);
  form.Command5->SetEnabled(true);
  form.Command9->SetEnabled(true);
  ShowDetails(form, form.List6->Text());
  form.List7->SetListIndex(-1);
}

void List7_Click(Form1& form) {
  if (form.List7->ListIndex() < 0) return;
  form.Command3->SetEnabled(true);
  form.Command2->SetEnabled(false);
  form.Command5->SetEnabled(false);
  form.Command9->SetEnabled(false);
  ShowDetails(form, TrimSpaces(form.List7->Text()));
  form.List6->SetListIndex(-1);
}

void Command2_Click(Form1& form) {
  const std::string entry = form.List6->Text();
  if (TrimSpaces(entry).empty()) return;
  Rename(form, entry, true);
}

void Command3_Click(Form1& form) {
  const std::string entry = form.List7->Text();
  if (TrimSpaces(entry).empty()) return;
  Rename(form, entry, false);
}

void Command6_Click(Form1& form) {
  if (!ConfirmDelete(*form.desktop)) return;
  const std::string enabled = form.List6->Text();
  if (IsIdentifierLike(TrimSpaces(enabled))) DeleteObject(form, enabled, enabled);
  // After a delete above the lists are refilled and nothing is selected.
  const std::string disabled = form.List7->Text();
  const std::string identifier = TrimSpaces(disabled);
  if (IsIdentifierLike(identifier)) DeleteObject(form, disabled, identifier);
}

void Command5_Click(Form1& form) {
  const std::string entry = form.List6->Text();
  if (TrimSpaces(entry).empty()) return;
  std::unique_ptr<RegKey> key;
  long r = OpenSelected(form, entry, &key);
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
  const std::string entry = form.List6->Text();
  if (TrimSpaces(entry).empty()) return;
  std::unique_ptr<RegKey> key;
  long r = OpenSelected(form, entry, &key);
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
