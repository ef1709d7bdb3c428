#include "support/memory_form.h"

#include <ostream>

#include "base/text.h"
#include "catalogue/common.h"

namespace brv {

bool MemListBox::Select(const std::string& text) {
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i] == text) {
      index = static_cast<int>(i);
      return true;
    }
  }
  return false;
}

void MemTextBox::SetText(const std::string& value) {
  text = CutAtNul(value);
}

MsgAnswer ScriptedDesktop::MsgBox(const std::string& text, const std::string& title,
                                  MsgButtons buttons, MsgIcon icon) {
  messages.push_back({text, title, buttons, icon});
  if (!answers.empty()) {
    const MsgAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  return buttons == MsgButtons::OkCancel ? MsgAnswer::Cancel
         : buttons == MsgButtons::YesNo  ? MsgAnswer::No
                                         : MsgAnswer::Ok;
}

bool ScriptedDesktop::SetClipboardText(const std::string& text) {
  if (clipboardFails) return false;
  clipboard = text;
  ++clipboardWrites;
  return true;
}

void ScriptedDesktop::ShellOpen(const std::string& operation, const std::string& target) {
  opened.emplace_back(operation, target);
}

MemoryForm::MemoryForm() {
  form.registry = &registry;
  form.desktop = &desktop;
  form.windows = &windows;
  form.files = &files;
  form.runner = &runner;
  form.reportRunner = &reportRunner;
  form.List1 = &lists[1], form.List2 = &lists[2], form.List3 = &lists[3];
  form.List4 = &lists[4], form.List5 = &lists[5], form.List6 = &lists[6];
  form.List7 = &lists[7];
  form.Text1 = &texts[1], form.Text2 = &texts[2], form.Text3 = &texts[3];
  form.Text4 = &texts[4], form.Text5 = &texts[5], form.Text6 = &texts[6];
  form.Text7 = &texts[7], form.Text8 = &texts[8], form.Text9 = &texts[9];
  form.Command1 = &buttons[1], form.Command2 = &buttons[2], form.Command3 = &buttons[3];
  form.Command4 = &buttons[4], form.Command5 = &buttons[5], form.Command6 = &buttons[6];
  form.Command7 = &buttons[7], form.Command8 = &buttons[8], form.Command9 = &buttons[9];
  form.Command10 = &buttons[10], form.Command11 = &buttons[11];
  form.StatusBar1 = &statusBar;
  texts[8].text = "Text8";
  // Disabled when the window opens.
  for (int i : {1, 2, 3, 5, 9}) buttons[i].enabled = false;
}

}  // namespace brv
