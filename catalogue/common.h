// What the catalogue panels share: the delete confirmation, the enumeration
// of a key's sub-key or value names in one view or in both, the list items
// made of them, and the refill after a change.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "form/controls.h"
#include "form/desktop.h"
#include "form/form1.h"
#include "registry/registry.h"

namespace brv {

inline constexpr const char* kAppTitle = "Brovantine";

// Marks the entries of the 32-bit view, where there are two views.
inline constexpr const char* kView32Suffix = " (32-bit)";

// "Are you sure? Changes cannot be reverted", OK and Cancel; true on OK.
bool ConfirmDelete(Desktop& desktop);

// Whether a name can be listed: a list box cuts its text at a NUL, so a name
// holding one would be shown, and then addressed, as the shorter name before
// it, which may be another entry's.
inline bool Listable(const std::string& name) {
  return name.find('\0') == std::string::npos;
}

// Names of all sub-keys (or values) of a key, in enumeration order. A key
// that cannot be opened gives no names. The enumeration ends at the first
// index the registry does not answer with success.
std::vector<std::string> SubKeyNames(Registry& registry, const RegAddress& at);
std::vector<std::string> ValueNames(Registry& registry, const RegAddress& at);
inline std::vector<std::string> SubKeyNames(Registry& registry, RootKey root,
                                            const std::string& path) {
  return SubKeyNames(registry, RegAddress{root, View::k64, path});
}
inline std::vector<std::string> ValueNames(Registry& registry, RootKey root,
                                           const std::string& path) {
  return ValueNames(registry, RegAddress{root, View::k64, path});
}

// A name found under a key, with the view it was found in.
struct ViewedName {
  std::string name;
  View view;
};

// The sub-key (or value) names of a machine-wide key in the 64-bit view, then
// in the 32-bit view. The 32-bit view's names come only where that view is a
// key of its own: with one view, or both views naming one key, each name
// comes once, from the 64-bit view.
std::vector<ViewedName> SubKeyNamesInViews(Registry& registry, RootKey root,
                                           const std::string& path);
std::vector<ViewedName> ValueNamesInViews(Registry& registry, RootKey root,
                                          const std::string& path);

// The list item of a name: shown as `text`, marked when from the 32-bit view.
ListItem MakeItem(ViewedName found, std::string text);
// The identifier an item shows, without the view's mark and spaces around it.
std::string ShownIdentifier(const ListItem& item);

// A copy of the selected item, if any: a refill ends the list's own.
inline std::optional<ListItem> SelectionOf(const ListBox& list) {
  const ListItem* item = list.Selected();
  return item ? std::optional<ListItem>(*item) : std::nullopt;
}

// The address of HKEY_CLASSES_ROOT\CLSID\<identifier> in a view.
RegAddress ClassKey(View view, const std::string& identifier);
// The view whose CLSID key holds the class of a per-user entry (whose own key
// is shared by both): the 64-bit view, or the 32-bit one where only it does.
View ClassView(Registry& registry, const std::string& identifier);

// Deletes and renames are not reported: the refilled lists are the feedback,
// showing the entry gone or, where the registry refused, still there. Runs
// the change, then the panel's refill.
void ChangeThenRefill(Form1& form, const std::function<void()>& change, void (*refill)(Form1&));

}  // namespace brv
