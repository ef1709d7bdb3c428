#include "catalogue/bhos.h"

namespace brv {

// Not built yet.
void CODINGS4(Form1&) {}
void List6_Click(Form1&) {}
void List7_Click(Form1&) {}
void Command2_Click(Form1&) {}
void Command3_Click(Form1&) {}
void Command6_Click(Form1&) {}
void Command5_Click(Form1&) {}
void Command9_Click(Form1&) {}

}  // namespace brv
