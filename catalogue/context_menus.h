// The "Internet Explorer Context Menu Extensions" panel (List5).
#pragma once

#include <vector>

#include "catalogue/common.h"
#include "form/form1.h"

namespace brv {

inline constexpr const char* kMenuExtPath = "Software\\Microsoft\\Internet Explorer\\MenuExt";

void codings3(Form1& form);
// The list's entries, and what the box shows for one of them once it is
// selected.
std::vector<ListItem> MenuEntries(Registry& registry);
Details MenuDetails(Registry& registry, const ListItem& item);
void List5_Click(Form1& form);
void Command10_Click(Form1& form);

}  // namespace brv
