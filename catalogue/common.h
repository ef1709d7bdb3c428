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
#include "form/report.h"
#include "registry/registry.h"

namespace brv {

inline constexpr const char* kAppTitle = "Brovantine";
inline constexpr const char* kNotAllDeleted =
    "Not everything was deleted: the registry refused part of the selected entry, and what is "
    "left of it is still listed.";

// Marks the entries of the 32-bit view, where there are two views.
inline constexpr const char* kView32Suffix = " (32-bit)";
// Stands for each NUL of a name in the lists: U+2400 SYMBOL FOR NULL.
inline constexpr const char* kNulMark = "\xE2\x90\x80";

// "Are you sure? Changes cannot be reverted", OK and Cancel; true on OK.
bool ConfirmDelete(Desktop& desktop);

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

// The list item of a name: shown as stored or upper-cased, each NUL as
// kNulMark, marked when from the 32-bit view. Its identifier is the name up
// to its first NUL (as the browser reads it), shown the same way, trimmed.
enum class Shown { AsStored, UpperCased };
ListItem MakeItem(ViewedName found, Shown shown);

// A name that addresses exactly one key below its parent: no separator that
// could lead to another key.
bool IsKeyName(const std::string& name);

// The lists whose entries name a class, by what their entries are.
enum class Listed {
  UserButton,      // List1: the current user's toolbar buttons
  MachineButton,   // List2
  UserToolbar,     // List3
  MachineToolbar,  // List4
  Bho,             // List6: enabled Browser Helper Objects
  DisabledBho,     // List7
};

// The class an entry names, as the browser reads it, and the view whose
// CLSID key holds it.
struct NamedClass {
  std::string id;  // empty: the entry names no class
  View view = View::k64;
};

// The class an entry of `list` names. An entry's class is its name as
// stored up to the first NUL, nothing trimmed: "{X} " names "{X} ", never
// the class of a neighbour "{X}". Only a disabled object's name first loses
// its leading mark and spaces. A toolbar button names the class in its
// ClsidExtension value, that value's text as GetRegString reads it up to the
// NUL; none when it has no such string. A machine-wide entry's class is read
// in the entry's own view; a per-user entry's (its key is shared by both
// views) in the view that registers it. Details, deletes and the status bar
// all take the class from here.
NamedClass ClassOfEntry(Registry& registry, const ListItem& item, Listed list);

// Whether another of `names` stands for the same class as `name` through a
// NUL ("{X}" and "{X}" followed by a NUL and more): their class is shared.
bool SharesClassThroughNul(const std::vector<std::string>& names, const std::string& name);

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

// A delete's result: a key or value already gone is what was asked for.
inline bool Refused(long result) {
  return result != kErrorSuccess && result != kErrorFileNotFound;
}
// The first of two results that is a refusal, else success.
inline long FirstRefusal(long first, long second) {
  return Refused(first) ? first : Refused(second) ? second : kErrorSuccess;
}

// What a detail box shows once an entry is selected: its label ("" for the
// hidden box), the box, and its text; nothing where the box keeps what it
// showed. The panels show these, the report writes them down.
struct Detail {
  const char* label;
  TextBox* Form1::*box;
  std::optional<std::string> text;
};
using Details = std::vector<Detail>;

// The text of a value that GetRegString read with result `code`: its text,
// unless blank (the box then keeps what it showed); `failure` where the read
// failed.
std::optional<std::string> ShownRead(const std::string& text, long code,
                                     const std::string& failure);
// Sets each box that has a text.
void ShowDetails(Form1& form, const Details& details);

// Deletes are shown by the refill: the entry gone, or what is left of it
// still listed. Runs the change (which returns its first refusal), then the
// panel's refill, and tells the user once, here, when the registry refused
// part of it.
void DeleteThenRefill(Form1& form, const std::function<long()>& change, void (*refill)(Form1&));

}  // namespace brv
