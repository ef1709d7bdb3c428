#include "catalogue/context_menus.h"

namespace brv {

// Not built yet.
void codings3(Form1&) {}
void List5_Click(Form1&) {}
void Command10_Click(Form1&) {}

}  // namespace brv
