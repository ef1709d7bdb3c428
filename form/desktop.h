// What the handlers ask of the desktop: modal message boxes, the clipboard,
// the shell, the system's error texts, the program's own file. One seam, so
// that tests can answer and record.
#pragma once

#include <string>

namespace brv {

enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgIcon { None, Information };
enum class MsgAnswer { Ok, Cancel, Yes, No };

class Desktop {
 public:
  virtual ~Desktop() = default;
  // A modal message box; closing it without a button counts as Cancel (OK/
  // Cancel), No (Yes/No) or OK.
  virtual MsgAnswer MsgBox(const std::string& text, const std::string& title, MsgButtons buttons,
                           MsgIcon icon) = 0;
  // Replaces the clipboard's content with plain text; false if the clipboard
  // could not be taken.
  virtual bool SetClipboardText(const std::string& text) = 0;
  // Hands a target to the shell ("open", no parameters, no working folder,
  // shown normally). What the shell makes of it is not reported.
  virtual void ShellOpen(const std::string& operation, const std::string& target) = 0;
  // The system's text for an error number.
  virtual std::string ErrorText(long code) = 0;
  // The full path of the running program's file.
  virtual std::string ProgramPath() = 0;
};

// The program's windows, as the handlers of the main window see them.
class Windows {
 public:
  virtual ~Windows() = default;
  // Shows the main window (after the start-up note, before the fills).
  virtual void ShowMain() = 0;
  // Shows the About window without waiting; one instance.
  virtual void ShowAbout() = 0;
  virtual void CloseAbout() = 0;
  virtual void CloseMain() = 0;
};

}  // namespace brv
