#include "form/report.h"

#include "registry/registry.h"

namespace brv {

void ReportFailure(Desktop& desktop, const std::string& title, const std::string& what, long code,
                   Reason reason, const std::string& after) {
  std::string text = what;
  if (code != kErrorSuccess) {
    text += reason == Reason::OwnLine ? "\n" : " ";
    text += desktop.ErrorText(code);
  }
  desktop.MsgBox(text + after, title, MsgButtons::Ok, MsgIcon::None);
}

}  // namespace brv
