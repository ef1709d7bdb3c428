// The program's command line: none opens the window; "/report PATH" writes
// a report and ends, showing nothing.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "files/files.h"
#include "form/desktop.h"
#include "registry/registry.h"

namespace brv {

inline constexpr const char* kUsage =
    "Usage: Brovantine.exe [/report PATH]  (PATH ending in .json or .csv: that format, else "
    "text; - : JSON to standard output)";

enum class Action : uint8_t { Window, Report, Usage, Wrong };

struct Arguments {
  Action action = Action::Window;
  std::string path;  // the report's; "-" for standard output
};

// The arguments after the program's name. "/report", "-report" and
// "--report" (in any case) take the next argument as the path; "/?" alone
// asks for the usage; anything else, a missing path or a second /report is
// wrong.
Arguments ParseArguments(const std::vector<std::string>& arguments);

// Where the program's output goes; false where it could not be written.
struct Console {
  std::function<bool(const std::string&)> out;
  std::function<bool(const std::string&)> error;
};

// Runs what the arguments ask for, other than the window: the exit code (0
// written, 1 not written, with the system's reason on the error stream, 2
// wrong arguments, with the usage there).
int RunArguments(const Arguments& arguments, Registry& registry, Files& files, Desktop& desktop,
                 const std::string& version, Console& console);

}  // namespace brv
