// What the handlers ask of the desktop: modal message boxes, the clipboard,
// the shell, the system's error texts, the program's own file, the machine
// and the time, the Save dialog. One seam, so that tests can answer and
// record.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace brv {

enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgIcon { None, Information };
enum class MsgAnswer { Ok, Cancel, Yes, No };

// The machine the program runs on, as a report names it.
struct Machine {
  std::string computer;  // the computer's name
  std::string user;      // DOMAIN\user
  std::string windows;   // major.minor.build
  bool elevated = false;
};

// The time now, in 100-nanosecond intervals since 1601-01-01: in UTC and
// in the local time zone.
struct Now {
  int64_t utc = 0;
  int64_t local = 0;
};

// The system's Save dialog: its title, its file types ("Text (*.txt)" with
// the pattern "*.txt"), the suggested name and the extension it adds to a
// name typed without one.
struct SaveDialog {
  std::string title;
  std::vector<std::pair<std::string, std::string>> types;
  std::string suggested;
  std::string extension;
};

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
  // Starts a program by its full path, each argument passed to it as one
  // argument, exactly; kErrorSuccess or the system's error number.
  virtual long StartProgram(const std::string& program,
                            const std::vector<std::string>& arguments) = 0;
  // Opens Explorer at a file's folder with the file selected; kErrorSuccess
  // or the system's error number.
  virtual long ShowFileInFolder(const std::string& path) = 0;
  // Opens the shell's Properties window of a file; kErrorSuccess or the
  // system's error number.
  virtual long ShowFileProperties(const std::string& path) = 0;
  // The system's text for an error number.
  virtual std::string ErrorText(long code) = 0;
  // The full path of the running program's file.
  virtual std::string ProgramPath() = 0;
  virtual Machine ThisMachine() = 0;
  virtual Now TimeNow() = 0;
  // The Save dialog, which asks before a file is replaced: true with the
  // chosen path and file type (its index in `types`), false when cancelled.
  virtual bool AskSavePath(const SaveDialog& dialog, std::string* path, size_t* type) = 0;
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
