// The "Internet Explorer Context Menu Extensions" panel (List5).
#pragma once

#include "form/form1.h"

namespace brv {

inline constexpr const char* kMenuExtPath = "Software\\Microsoft\\Internet Explorer\\MenuExt";

void codings3(Form1& form);
void List5_Click(Form1& form);
void Command10_Click(Form1& form);

}  // namespace brv
