#include "app/links.h"

namespace brv {

void About_Click(Form1& form) {
  form.windows->ShowAbout();
}
void Command7_Click(Form1& form) {
  form.windows->ShowAbout();
}

// Not built yet.
void Command8_Click(Form1&) {}
void Command11_Click(Form1&) {}
void List1_DblClick(Form1&) {}
void List2_DblClick(Form1&) {}
void List3_DblClick(Form1&) {}
void List4_DblClick(Form1&) {}
void List6_DblClick(Form1&) {}
void List7_DblClick(Form1&) {}
void List6_MouseMove(Form1&) {}
void List7_MouseMove(Form1&) {}

}  // namespace brv
