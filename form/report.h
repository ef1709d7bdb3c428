// The failure report every handler uses: what happened, then the system's
// reason, in a box with an OK button.
#pragma once

#include <string>

#include "form/desktop.h"

namespace brv {

// How the system's reason follows what happened: on a line of its own, or
// after it on the same line.
enum class Reason { OwnLine, SameLine };

// Tells the user, in a box with an OK button and no icon, what happened and
// the system's reason: `what`, the system's text for `code` (left out, with
// its line break or space, for kErrorSuccess), then `after`.
void ReportFailure(Desktop& desktop, const std::string& title, const std::string& what, long code,
                   Reason reason = Reason::OwnLine, const std::string& after = "");

}  // namespace brv
