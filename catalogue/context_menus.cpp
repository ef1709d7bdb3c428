#include "catalogue/context_menus.h"

#include "catalogue/common.h"
#include "registry/module1.h"
#include "base/text.h"

namespace brv {

namespace {

// The key of an entry. Entries are listed in upper case; the registry
// ignores case in names, so the listed text addresses the entry's own key.
// It is used as listed, spaces included: trimmed, it could name another key.
std::string EntryPath(const std::string& entry) {
  return std::string(kMenuExtPath) + "\\" + entry;
}

}  // namespace

void codings3(Form1& form) {
  form.List5->Clear();
  std::vector<std::string> entries;
  for (const std::string& name : SubKeyNames(*form.registry, kCurrentUser, kMenuExtPath)) {
    if (Listable(name)) entries.push_back(UpperCase(name));
  }
  form.List5->AddItems(entries);
  form.Text7->SetText("");
}

void List5_Click(Form1& form) {
  if (form.List5->ListIndex() < 0) return;
  const std::string command =
      GetRegString(*form.registry, "HKEY_CURRENT_USER\\" + EntryPath(form.List5->Text()), "");
  if (!IsError(command)) form.Text7->SetText(command);
}

void Command10_Click(Form1& form) {
  if (!ConfirmDelete(*form.desktop)) return;
  const std::string entry = form.List5->Text();
  if (entry.empty()) return;
  // A failed delete is left to show itself: the refill still lists the entry.
  form.registry->DeleteTree(kCurrentUser, EntryPath(entry));
  codings3(form);
}

}  // namespace brv
