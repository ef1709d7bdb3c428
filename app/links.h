// About, Help and Pro buttons, the identifier copy on double-click, the list
// hints, and the About window's own handlers.
#pragma once

#include <string>
#include <vector>

#include "form/desktop.h"
#include "app/events.h"

namespace brv {

void About_Click(Form1& form);
void Command7_Click(Form1& form);   // About
void Command8_Click(Form1& form);   // Help
void Command11_Click(Form1& form);  // Brovantine Pro Version

void List1_DblClick(Form1& form);
void List2_DblClick(Form1& form);
void List3_DblClick(Form1& form);
void List4_DblClick(Form1& form);
void List6_DblClick(Form1& form);
void List7_DblClick(Form1& form);
void List6_MouseMove(Form1& form);
void List7_MouseMove(Form1& form);

inline constexpr const char* kCopiedText = "CLSID copied to clipboard";
inline constexpr const char* kCopyFailedText =
    "The CLSID could not be copied: the clipboard is in use by another program. Please try "
    "again.";
inline constexpr const char* kBrowserQuestion =
    "This opens your web browser, do you want to continue?";
inline constexpr const char* kHelpTitle = "Brovantine Online Help";
inline constexpr const char* kProTitle = "Brovantine Pro";
inline constexpr const char* kFeedbackSubject = "?Subject=Brovantine feedback";
// The help page that ships beside the program.
inline constexpr const char* kHelpFileName = "brovantine-help.html";

// The browser question, titled `title`; only Yes opens the target.
void AskThenOpen(Desktop& desktop, const char* title, const std::string& target);

// Where the links lead, from the build's settings.
std::string MakerName();
std::string HomePage();
std::string ProPage();
std::string FeedbackLink();  // "mailto:" + address + subject
// The help page: `helpUrl` when set, else the page beside the program whose
// full path is `programPath`.
std::string HelpTarget(const std::string& helpUrl, const std::string& programPath);

// The About window as its handlers see it.
struct SplashForm {
  Desktop* desktop = nullptr;
  Windows* windows = nullptr;
};

namespace splash {

void Command1_Click(SplashForm& form);  // OK
void Frame1_Click(SplashForm& form);
void Form_KeyPress(SplashForm& form);
void Label1_Click(SplashForm& form);  // the home page
void Label2_Click(SplashForm& form);  // feedback e-mail

// The handler bound to an About window control's click, or nullptr.
void (*FindClickHandler(const char* control))(SplashForm&);

}  // namespace splash

}  // namespace brv
