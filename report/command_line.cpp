#include "report/command_line.h"

#include "base/text.h"
#include "report/formats.h"

namespace brv {

namespace {

bool IsReportSwitch(const std::string& argument) {
  const std::string upper = UpperCase(argument);
  return upper == "/REPORT" || upper == "-REPORT" || upper == "--REPORT";
}

}  // namespace

Arguments ParseArguments(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return {};
  if (arguments.size() == 1 && arguments[0] == "/?") return {Action::Usage, ""};
  Arguments parsed{Action::Wrong, ""};
  bool seen = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    if (!IsReportSwitch(arguments[i]) || seen || i + 1 == arguments.size() ||
        arguments[i + 1].empty()) {
      return {Action::Wrong, ""};
    }
    seen = true;
    parsed = {Action::Report, arguments[++i]};
  }
  return parsed;
}

int RunArguments(const Arguments& arguments, Registry& registry, Files& files, Desktop& desktop,
                 const std::string& version, Console& console) {
  switch (arguments.action) {
    case Action::Usage:
      return console.out(std::string(kUsage) + "\r\n") ? 0 : 1;
    case Action::Wrong:
    case Action::Window:
      console.error(std::string(kUsage) + "\r\n");
      return 2;
    case Action::Report:
      break;
  }
  const bool toOutput = arguments.path == "-";
  const ReportFormat format =
      toOutput ? ReportFormat::Json : FormatOfPath(arguments.path, ReportFormat::Text);
  const std::string bytes = WriteReport(
      BuildReport(registry, files, version, desktop.ThisMachine(), desktop.TimeNow()), format);
  if (toOutput) {
    if (console.out(bytes)) return 0;
    console.error("Report not saved: the standard output could not be written.\r\n");
    return 1;
  }
  const long r = files.WriteWhole(arguments.path, bytes);
  if (r == 0) return 0;
  console.error("Report not saved: " + desktop.ErrorText(r) + "\r\n");
  return 1;
}

}  // namespace brv
