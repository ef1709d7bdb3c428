#include "commands/options.h"

namespace brv {

// Not built yet.
void resettoolbar_Click(Form1&) {}
void Security_Click(Form1&) {}
void scriptcenter(Form1&) {}
void tbutton_Click(Form1&) {}

}  // namespace brv
