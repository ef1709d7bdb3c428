// The "Browser Helper Objects [BHOs]" panel: enabled (List6) and disabled
// (List7) objects, their details, disable, enable, delete and Explorer
// loading.
#pragma once

#include <vector>

#include "catalogue/common.h"
#include "form/form1.h"

namespace brv {

// The registration key under HKEY_LOCAL_MACHINE; a sub-key whose name begins
// with a space is a disabled object.
inline constexpr const char* kBhoPath =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects";

void CODINGS4(Form1& form);
// The entries of both lists, and what the boxes show for one of them once it
// is selected.
void BhoEntries(Registry& registry, std::vector<ListItem>* enabled,
                std::vector<ListItem>* disabled);
Details BhoDetails(Registry& registry, const ListItem& item, bool disabled);
void List6_Click(Form1& form);
void List7_Click(Form1& form);
void Command2_Click(Form1& form);  // Disable BHO
void Command3_Click(Form1& form);  // Enable BHO
void Command6_Click(Form1& form);  // Delete the selected BHO
void Command5_Click(Form1& form);  // Prevent loading with Windows Explorer
void Command9_Click(Form1& form);  // Load with Windows Explorer

}  // namespace brv
