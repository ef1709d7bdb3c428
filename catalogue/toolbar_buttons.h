// The "Internet Explorer Toolbar Buttons" panel: the sub-keys of the current
// user's (List1) and all users' (List2) Extensions key.
#pragma once

#include "form/form1.h"

namespace brv {

inline constexpr const char* kExtensionsPath = "Software\\Microsoft\\Internet Explorer\\Extensions";

void CODINGS(Form1& form);
void List1_Click(Form1& form);
void List2_Click(Form1& form);
void Command1_Click(Form1& form);

}  // namespace brv
