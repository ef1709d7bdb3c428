// The "Internet Explorer Toolbar Buttons" panel: the sub-keys of the current
// user's (List1) and all users' (List2) Extensions key.
#pragma once

#include <vector>

#include "catalogue/common.h"
#include "form/form1.h"

namespace brv {

inline constexpr const char* kExtensionsPath = "Software\\Microsoft\\Internet Explorer\\Extensions";

void CODINGS(Form1& form);
// The entries of the current user's (kCurrentUser) or all users' list, and
// what the boxes show for one of them once it is selected.
std::vector<ListItem> ButtonEntries(Registry& registry, RootKey root);
Details ButtonDetails(Registry& registry, const ListItem& item, RootKey root);
void List1_Click(Form1& form);
void List2_Click(Form1& form);
void Command1_Click(Form1& form);

}  // namespace brv
