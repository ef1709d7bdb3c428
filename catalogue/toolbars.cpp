#include "catalogue/toolbars.h"

namespace brv {

// Not built yet.
void codings1(Form1&) {}
void List3_Click(Form1&) {}
void List4_Click(Form1&) {}
void Command4_Click(Form1&) {}

}  // namespace brv
