// About, Help and Pro buttons, the identifier copy on double-click and the
// list hints.
#pragma once

#include "app/form1.h"

namespace brv {

void About_Click(Form1& form);
void Command7_Click(Form1& form);   // About
void Command8_Click(Form1& form);   // Help
void Command11_Click(Form1& form);  // Brovantine Pro Version

void List1_DblClick(Form1& form);
void List2_DblClick(Form1& form);
void List3_DblClick(Form1& form);
void List4_DblClick(Form1& form);
void List6_DblClick(Form1& form);
void List7_DblClick(Form1& form);
void List6_MouseMove(Form1& form);
void List7_MouseMove(Form1& form);

}  // namespace brv
