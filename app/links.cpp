#include "app/links.h"

#include <cstring>

#include "app/config.h"
#include "app/layout.h"
#include "base/text.h"
#include "catalogue/common.h"

namespace brv {

namespace {

constexpr const char* kTitle = "Brovantine";
constexpr const char* kOpen = "open";

// Copies the selected identifier: as shown, up to any NUL, trimmed, without
// the view mark. With nothing to copy the
// clipboard keeps what the user had there and nothing is claimed.
void CopySelection(Form1& form, ListBox* list) {
  const ListItem* item = list ? list->Selected() : nullptr;
  if (!item) return;
  const std::string& identifier = item->identifier;
  if (identifier.empty()) return;
  if (form.desktop->SetClipboardText(identifier)) {
    form.desktop->MsgBox(kCopiedText, kTitle, MsgButtons::Ok, MsgIcon::Information);
  } else {
    form.desktop->MsgBox(kCopyFailedText, kTitle, MsgButtons::Ok, MsgIcon::None);
  }
}

}  // namespace

void AskThenOpen(Desktop& desktop, const char* title, const std::string& target) {
  if (desktop.MsgBox(kBrowserQuestion, title, MsgButtons::YesNo, MsgIcon::None) == MsgAnswer::Yes) {
    desktop.ShellOpen(kOpen, target);
  }
}

std::string MakerName() {
  return BRV_MAKER_NAME;
}
std::string HomePage() {
  return BRV_HOME_URL;
}
std::string ProPage() {
  return BRV_PRO_URL;
}
std::string FeedbackLink() {
  return std::string("mailto:") + BRV_FEEDBACK_EMAIL + kFeedbackSubject;
}

std::string HelpTarget(const std::string& helpUrl, const std::string& programPath) {
  if (!helpUrl.empty()) return helpUrl;
  const size_t slash = programPath.find_last_of("\\/");
  const std::string folder =
      slash == std::string::npos ? std::string() : programPath.substr(0, slash + 1);
  return folder + kHelpFileName;
}

void About_Click(Form1& form) {
  form.windows->ShowAbout();
}
void Command7_Click(Form1& form) {
  form.windows->ShowAbout();
}

void Command8_Click(Form1& form) {
  AskThenOpen(*form.desktop, kHelpTitle, HelpTarget(BRV_HELP_URL, form.desktop->ProgramPath()));
}

void Command11_Click(Form1& form) {
  AskThenOpen(*form.desktop, kProTitle, ProPage());
}

void List1_DblClick(Form1& form) {
  CopySelection(form, form.List1);
}
void List2_DblClick(Form1& form) {
  CopySelection(form, form.List2);
}
void List3_DblClick(Form1& form) {
  CopySelection(form, form.List3);
}
void List4_DblClick(Form1& form) {
  CopySelection(form, form.List4);
}
void List6_DblClick(Form1& form) {
  CopySelection(form, form.List6);
}
void List7_DblClick(Form1& form) {
  CopySelection(form, form.List7);
}

void List6_MouseMove(Form1& form) {
  if (form.List6) form.List6->SetToolTipText(kIdentifierHint);
}
void List7_MouseMove(Form1& form) {
  if (form.List7) form.List7->SetToolTipText(kIdentifierHint);
}

namespace splash {

void Command1_Click(SplashForm& form) {
  form.windows->CloseAbout();
}
void Frame1_Click(SplashForm& form) {
  form.windows->CloseAbout();
}
void Form_KeyPress(SplashForm& form) {
  form.windows->CloseAbout();
}
void Label1_Click(SplashForm& form) {
  form.desktop->ShellOpen(kOpen, HomePage());
}
void Label2_Click(SplashForm& form) {
  form.desktop->ShellOpen(kOpen, FeedbackLink());
}

void (*FindClickHandler(const char* control))(SplashForm&) {
  static const struct {
    const char* control;
    void (*handler)(SplashForm&);
  } kClicks[] = {
      {"Command1", Command1_Click},
      {"Frame1", Frame1_Click},
      {"Label1", Label1_Click},
      {"Label2", Label2_Click},
  };
  for (const auto& click : kClicks) {
    if (std::strcmp(click.control, control) == 0) return click.handler;
  }
  return nullptr;
}

}  // namespace splash

}  // namespace brv
