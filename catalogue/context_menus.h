// The "Internet Explorer Context Menu Extensions" panel (List5).
#pragma once

#include "app/form1.h"

namespace brv {

void codings3(Form1& form);
void List5_Click(Form1& form);
void Command10_Click(Form1& form);

}  // namespace brv
