// The Options menu: reset the toolbar layout, raise the Internet zone's
// security, add the program's own browser button.
#pragma once

#include "form/form1.h"

namespace brv {

void resettoolbar_Click(Form1& form);
void Security_Click(Form1& form);
void scriptcenter(Form1& form);
void tbutton_Click(Form1& form);

}  // namespace brv
