// The context menu of the lists: for the selected entry, copy its
// identifier, open its key in the Registry Editor, show its file in Explorer
// or the file's Properties, or search the web for it. Each item applies or
// is greyed as the entry stands when the menu opens.
#pragma once

#include <string>
#include <vector>

#include "files/examine.h"
#include "form/form1.h"

namespace brv {

enum class EntryAction : uint8_t { Copy, OpenKey, OpenLocation, FileProperties, SearchWeb };

struct EntryMenuItem {
  EntryAction action;
  const char* caption;  // with its access key after "&"
  bool enabled;
};

// The entry a menu was opened for, as it stood then.
struct EntryMenu {
  std::string list;  // "List6"; empty: no menu (no list of entries, or no selection)
  ListItem item;
  std::vector<EntryMenuItem> items;
  RegAddress key;         // the key that holds the entry
  LocatedFile file;       // its file, as the status bar locates it
  std::string searchFor;  // the text a web search looks for
};

// The address a web search for `text` leads to: the build's search address
// followed by the text, each byte but letters, digits and "-._~" as %XX.
std::string SearchAddress(const std::string& text);

// The menu for the selected entry of a list (by name). No menu where the list
// has no selection.
EntryMenu OpenEntryMenu(Form1& form, const std::string& list);

// Runs a chosen item of a menu from OpenEntryMenu; a greyed one does nothing.
void ChooseEntryAction(Form1& form, const EntryMenu& menu, EntryAction action);

}  // namespace brv
