// The "Internet Explorer Toolbars" panel: toolbar values of the current user
// (List3) and of the machine (List4).
#pragma once

#include <vector>

#include "catalogue/common.h"
#include "form/form1.h"

namespace brv {

inline constexpr const char* kUserToolbarsPath =
    "Software\\Microsoft\\Internet Explorer\\Toolbar\\WebBrowser";
inline constexpr const char* kMachineToolbarsPath =
    "Software\\Microsoft\\Internet Explorer\\Toolbar";

void codings1(Form1& form);
// The entries of the current user's (kCurrentUser) or the machine's list,
// and what the boxes show for one of them once it is selected.
std::vector<ListItem> ToolbarEntries(Registry& registry, RootKey root);
Details ToolbarDetails(Registry& registry, const ListItem& item, RootKey root);
void List3_Click(Form1& form);
void List4_Click(Form1& form);
void Command4_Click(Form1& form);

}  // namespace brv
