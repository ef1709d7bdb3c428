// Names for screen readers. A list box or text box takes its name from the
// label before it where the system can tell which that is; ours are named
// explicitly: the control answers the accessibility interface with the
// system's own object for it under its name.
#pragma once

#include <windows.h>

#include <string>

namespace brv {

// The answer to WM_GETOBJECT for a control that goes by `name`: its client
// object, named; 0 for any other object, which the control answers itself.
LRESULT NamedClientObject(HWND control, WPARAM wParam, LPARAM lParam, const std::string& name);

}  // namespace brv
