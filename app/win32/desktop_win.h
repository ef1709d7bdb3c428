// The desktop of the running system: message boxes, clipboard, shell.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "form/desktop.h"

namespace brv {

class Win32Desktop : public Desktop {
 public:
  // Message boxes are owned by this window (modal to it) once it is set.
  void SetOwner(HWND owner) { owner_ = owner; }

  MsgAnswer MsgBox(const std::string& text, const std::string& title, MsgButtons buttons,
                   MsgIcon icon) override;
  bool SetClipboardText(const std::string& text) override;
  void ShellOpen(const std::string& operation, const std::string& target) override;
  long StartProgram(const std::string& program, const std::vector<std::string>& arguments) override;
  long ShowFileInFolder(const std::string& path) override;
  long ShowFileProperties(const std::string& path) override;
  std::string ErrorText(long code) override;
  std::string ProgramPath() override;
  Machine ThisMachine() override;
  Now TimeNow() override;
  bool AskSavePath(const SaveDialog& dialog, std::string* path, size_t* type) override;

 private:
  HWND owner_ = nullptr;
};

// The path a function of GetModuleFileNameW's kind writes, asked again with
// more room while its result fills the buffer; empty if it fails or never
// fits in 65,536 characters.
std::string ReadWholePath(const std::function<DWORD(wchar_t*, DWORD)>& read);

}  // namespace brv
