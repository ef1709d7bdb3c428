#include "commands/options.h"

#include <string>
#include <vector>

#include "form/report.h"
#include "registry/writer.h"

namespace brv {

namespace {

// The user's own settings only; these commands write nowhere else.
const char kLayoutValue[] =
    "HKCU\\Software\\Microsoft\\Internet Explorer\\Toolbar\\WebBrowser\\ITBarLayout";
const char kResetTitle[] = "Reset Toolbar layout";

const char kZone[] =
    "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\3\\";
const char kSecurityTitle[] = "Internet Zone Security";

const char kButtonKey[] =
    "HKCU\\SOFTWARE\\Microsoft\\Internet Explorer\\Extensions\\"
    "{A349A035-E26F-454b-ABB4-5208E50E1BE7}\\";
const char kButtonTitle[] = "Brovantine IE button";
const char kNotAdded[] = "Brovantine was not added to Internet Explorer.";

struct Write {
  std::string name;  // full path of the value
  std::string value;
  const char* type;
};

std::vector<Write> SecurityWrites() {
  const std::string zone = kZone;
  return {
      {zone + "CurrentLevel", "0", "REG_DWORD"},
      {zone + "1001", "1", "REG_DWORD"},
      {zone + "1004", "3", "REG_DWORD"},
      {zone + "1201", "3", "REG_DWORD"},
      {zone + "1800", "1", "REG_DWORD"},
      {zone + "1804", "1", "REG_DWORD"},
      {zone + "1C00", "65536", "REG_BINARY"},  // high safety, stored as 00 00 01 00
      {"HKCU\\Software\\Microsoft\\Internet Explorer\\Main\\NoWebJITSetup", "1", "REG_DWORD"},
  };
}

std::vector<Write> ButtonWrites(const std::string& program) {
  const std::string key = kButtonKey;
  const std::string icon = program + ",1";
  return {
      {key + "ButtonText", "Brovantine", "REG_SZ"},
      // The browser's class for a button that runs a program.
      {key + "CLSID", "{1FBA04EE-3024-11D2-8F1F-0000F87ABD16}", "REG_SZ"},
      {key + "Default Visible", "Yes", "REG_SZ"},
      {key + "Exec", program, "REG_SZ"},
      {key + "HotIcon", icon, "REG_SZ"},
      {key + "Icon", icon, "REG_SZ"},
      {key + "MenuText", "Brovantine", "REG_SZ"},
  };
}

std::string LastPart(const std::string& path) {
  return path.substr(path.rfind('\\') + 1);
}

// Makes the writes in order and stops at the first that fails. On a failure
// the user learns what was not done, which value failed and why, and which
// values before it were written; true when every write succeeded.
bool WriteAll(Form1& form, const std::vector<Write>& writes, const std::string& notDone,
              const std::string& title) {
  RegWriter shell(*form.registry);
  for (size_t i = 0; i < writes.size(); ++i) {
    const long result = shell.RegWrite(writes[i].name, writes[i].value, writes[i].type);
    if (result == kErrorSuccess) continue;
    std::string done = "\n\n";
    if (i == 0) {
      done += "Nothing was changed.";
    } else {
      done += "The values before it were written:";
      for (size_t j = 0; j < i; ++j) done += (j ? ", " : " ") + LastPart(writes[j].name);
      done += ". It and the values after it were not.";
    }
    ReportFailure(*form.desktop, title,
                  notDone + "\n\nThe value " + writes[i].name + " could not be written:", result,
                  Reason::SameLine, done);
    return false;
  }
  return true;
}

std::string Padded(const char* setting, size_t blanks, const char* choice) {
  return std::string("  ") + setting + std::string(blanks, ' ') + "> " + choice;
}

}  // namespace

void resettoolbar_Click(Form1& form) {
  RegWriter shell(*form.registry);
  long result = shell.RegDelete(kLayoutValue);
  if (result != kErrorSuccess) {
    // Gone is what the user asked for, however it came to be gone (it may
    // never have been there, or its key may be missing).
    RegData data;
    if (shell.RegRead(kLayoutValue, &data) == kErrorFileNotFound) result = kErrorSuccess;
  }
  if (result == kErrorSuccess) {
    form.desktop->MsgBox("IE Toolbar placement is now reset", kResetTitle, MsgButtons::Ok,
                         MsgIcon::None);
    return;
  }
  ReportFailure(*form.desktop, kResetTitle,
                "IE Toolbar placement was not reset.\n\nThe value " + std::string(kLayoutValue) +
                    " could not be deleted:",
                result, Reason::SameLine);
}

void Security_Click(Form1& form) {
  const std::string text =
      "Internet Zone is set to Custom Level with the following changes:\n"
      "      (You can undo these changes using Internet Options)" +
      std::string("\n\n") + Padded("Download signed ActiveX scripts", 27, "Prompt") + "\n\n" +
      Padded("Download unsigned ActiveX scripts", 23, "Disable") + "\n\n" +
      Padded("Initialize and script ActiveX not marked as safe", 4, "Disable") + "\n\n" +
      Padded("Installation of Desktop items", 33, "Prompt") + "\n\n" +
      Padded("Launching programs and files in a IFRAME", 12, "Prompt") + "\n\n" +
      Padded("Java permissions", 52, "High Safety") + "\n\n" +
      Padded("Install on demand (other) - Advanced Tab", 12, "Unchecked") + "\n\n\n" +
      "NOTE: This is the minimum recommended security settings. Other means of protection may "
      "also necessary.";
  if (form.desktop->MsgBox(text,
                           "Following changes will be made to Internet Zone in Internet Explorer",
                           MsgButtons::OkCancel, MsgIcon::None) == MsgAnswer::Ok) {
    scriptcenter(form);
  }
}

void scriptcenter(Form1& form) {
  if (!WriteAll(form, SecurityWrites(), "Security for IE Internet Zone was not increased.",
                kSecurityTitle)) {
    return;
  }
  form.desktop->MsgBox(
      "Security for IE Internet Zone is increased\n\nNOTE: This is the minimum recommended "
      "security setting. Other means of protection for Internet Explorer may also be necessary",
      kSecurityTitle, MsgButtons::Ok, MsgIcon::None);
}

void tbutton_Click(Form1& form) {
  // The running program's own file, so that the button starts this copy
  // wherever it lies and whatever it is called.
  const std::string program = form.desktop->ProgramPath();
  if (program.empty()) {
    form.desktop->MsgBox(std::string(kNotAdded) + "\n\nThe program's own file could not be found.",
                         kButtonTitle, MsgButtons::Ok, MsgIcon::None);
    return;
  }
  if (!WriteAll(form, ButtonWrites(program), kNotAdded, kButtonTitle)) {
    return;
  }
  form.desktop->MsgBox("Added Brovantine to Internet Explorer standard toolbar", kButtonTitle,
                       MsgButtons::Ok, MsgIcon::None);
}

}  // namespace brv
