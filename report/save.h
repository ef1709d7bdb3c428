// "Save a report..." in the window: the Save dialog, then the report made
// and written off the window's thread, a slice at a time, the status bar
// showing how far it got; the same command (or Esc) while one is written
// cancels it.
#pragma once

#include <string>

#include "form/form1.h"

namespace brv {

inline constexpr const char* kReportTitle = "Save a report";

// Asks where to save the report and starts it; cancels the one being
// written instead, if any.
void SaveReport(Form1& form, const std::string& version);
// Cancels the report being made: nothing is left of it, and the status bar
// says so; once its file is being written it is too late, and the report is
// saved. False where none is being made.
bool CancelReport(Form1& form);

}  // namespace brv
