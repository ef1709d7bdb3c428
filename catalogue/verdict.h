// What the selected entry is, and whether the browser and the shell load it,
// in the status bar: the registry is read on the window's thread, the file
// (whose signature may take long to check) through the form's runner.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/common.h"
#include "files/examine.h"
#include "form/form1.h"

namespace brv {

// The list an entry is selected in.
enum class Panel : uint8_t {
  CurrentUserButtons,   // List1
  AllUsersButtons,      // List2
  CurrentUserToolbars,  // List3
  AllUsersToolbars,     // List4
  MenuItems,            // List5
  EnabledObjects,       // List6
  DisabledObjects,      // List7
};

inline constexpr int kPanelCount = 7;

// The entries of every list, List1 to List7, as the fills list them.
std::array<std::vector<ListItem>, kPanelCount> ListEntries(Registry& registry);
// What the panel's boxes show once the entry is selected.
Details EntryDetails(Registry& registry, Panel panel, const ListItem& item);

// Shows the entry's verdict in the status bar; a later one, or an emptying,
// supersedes it.
void ShowVerdict(Form1& form, Panel panel, const ListItem& item);
// Empties the status bar; a verdict still being worked out is dropped.
void ClearStatus(Form1& form);

// What the registry says of an entry.
struct RegistryVerdict {
  bool decides = false;   // the browser decides whether it loads (helper objects, toolbars)
  std::string notLoaded;  // the first reason it does not, where the registry gives one
  std::string loads;      // where it loads, if its file is there
  std::string file;       // its file as registered; empty when it names none
  FileUse use = FileUse::Library;
  bool for32Bit = false;  // loaded in 32-bit processes
};
RegistryVerdict ReadVerdict(Registry& registry, Panel panel, const ListItem& item);

// Whether the browser loads the entry, once its file is checked (`report`
// where it names one): nothing where the browser does not decide.
std::optional<bool> Loads(const RegistryVerdict& verdict, const FileReport* report);

// The status bar's text: where it loads, its file, who signed and made it;
// without a report, the file is still being checked.
std::string StatusText(const RegistryVerdict& verdict, const FileReport* report);

}  // namespace brv
