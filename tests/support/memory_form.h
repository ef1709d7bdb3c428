// The main window's handlers on memory: controls, a scripted desktop and a
// registry held in memory.
#pragma once

#include <deque>
#include <iosfwd>
#include <string>
#include <vector>

#include "app/events.h"
#include "base/text.h"
#include "files/memory_files.h"
#include "registry/memory_registry.h"
#include "support/panel_driver.h"
#include "support/registry_fixture.h"

namespace brv {

class MemListBox : public ListBox {
 public:
  void Clear() override {
    items.clear();
    entries.clear();
    index = -1;
  }
  void AddItems(std::vector<ListItem> more) override {
    for (ListItem& item : more) {
      items.push_back(item.text);
      entries.push_back(std::move(item));
    }
    ++repaints;
  }
  const ListItem* Item(int i) const override {
    return i >= 0 && i < ListCount() ? &entries[static_cast<size_t>(i)] : nullptr;
  }
  int ListCount() const override { return static_cast<int>(items.size()); }
  std::string List(int i) const override {
    return i >= 0 && i < ListCount() ? items[static_cast<size_t>(i)] : std::string();
  }
  int ListIndex() const override { return index; }
  void SetListIndex(int i) override { index = (i >= 0 && i < ListCount()) ? i : -1; }
  void SetToolTipText(const std::string& text) override { toolTip = text; }
  std::string ToolTipText() const override { return toolTip; }

  // Replaces the items with entries of these names in the 64-bit view, each
  // shown as its name.
  void Put(const std::vector<std::string>& names) {
    Clear();
    items = names;
    for (const std::string& name : names) {
      entries.push_back(ListItem{name, View::k64, name, TrimSpaces(CutAtNul(name))});
    }
  }

  // Selects the item with this text, as a user's click does; false if absent.
  bool Select(const std::string& text);

  std::vector<std::string> items;  // the shown texts
  std::vector<ListItem> entries;
  int index = -1;
  int repaints = 0;
  std::string toolTip;
};

class MemTextBox : public TextBox {
 public:
  void SetText(const std::string& value) override;
  std::string Text() const override { return text; }
  std::string text;
};

class MemStatusBar : public StatusBar {
 public:
  void SetText(const std::string& value) override { text = value; }
  std::string Text() const override { return text; }
  std::string text;
};

class MemButton : public Button {
 public:
  explicit MemButton(bool on = true) : enabled(on) {}
  void SetEnabled(bool on) override { enabled = on; }
  bool Enabled() const override { return enabled; }
  bool enabled;
};

// The delete's confirmation, by the name the native tests use.
inline ShownMessage DeleteConfirmation() {
  return DeleteConfirmationBox();
}

// Answers message boxes from a script and records everything asked of it.
class ScriptedDesktop : public Desktop {
 public:
  MsgAnswer MsgBox(const std::string& text, const std::string& title, MsgButtons buttons,
                   MsgIcon icon) override;
  bool SetClipboardText(const std::string& text) override;
  void ShellOpen(const std::string& operation, const std::string& target) override;
  // Recorded as opened ("start": the program, "|" before each argument).
  long StartProgram(const std::string& program,
                    const std::vector<std::string>& arguments) override {
    std::string line = program;
    for (const std::string& argument : arguments) line += "|" + argument;
    return opened.emplace_back("start", line), refusal;
  }
  long ShowFileInFolder(const std::string& path) override {
    return opened.emplace_back("select", path), refusal;
  }
  long ShowFileProperties(const std::string& path) override {
    return opened.emplace_back("properties", path), refusal;
  }
  std::string ErrorText(long code) override { return "system error " + std::to_string(code); }
  std::string ProgramPath() override { return programPath; }
  Machine ThisMachine() override { return machine; }
  Now TimeNow() override { return now; }
  // Records the dialog; answers with `savePath` and `saveType`, or cancels
  // where `savePath` is empty.
  bool AskSavePath(const SaveDialog& dialog, std::string* path, size_t* type) override {
    dialogs.push_back(dialog);
    if (savePath.empty()) return false;
    *path = savePath;
    *type = saveType;
    return true;
  }

  // Answers for the next boxes, in order. A box with no answer left is
  // closed (Cancel, No or OK) and recorded all the same.
  std::deque<MsgAnswer> answers;
  std::vector<ShownMessage> messages;
  std::string clipboard = "(untouched)";
  int clipboardWrites = 0;
  bool clipboardFails = false;
  std::vector<std::pair<std::string, std::string>> opened;  // operation, target
  long refusal = 0;
  std::string programPath = "C:\\Program Files\\Brovantine\\Brovantine.exe";
  Machine machine{"PC-7", "WORK\\ann", "10.0.19045", true};
  // 2026-12-09 14:02:11 UTC; 15:02:11 local.
  Now now{134412985310000000, 134412985310000000 + 36000000000};
  std::vector<SaveDialog> dialogs;
  std::string savePath;
  size_t saveType = 0;
};

class RecordingWindows : public Windows {
 public:
  void ShowMain() override { calls.push_back("ShowMain"); }
  void ShowAbout() override { calls.push_back("ShowAbout"); }
  void CloseAbout() override { calls.push_back("CloseAbout"); }
  void CloseMain() override { calls.push_back("CloseMain"); }
  std::vector<std::string> calls;
};

// A complete main window on memory, its controls in their start-up state.
struct MemoryForm {
  MemoryForm();
  MemoryForm(const MemoryForm&) = delete;
  MemoryForm& operator=(const MemoryForm&) = delete;

  MemoryRegistry registry;
  ScriptedDesktop desktop;
  RecordingWindows windows;
  MemListBox lists[8];    // [1] to [7]
  MemTextBox texts[10];   // [1] to [9]
  MemButton buttons[12];  // [1] to [11]
  MemStatusBar statusBar;
  MemoryFiles files;
  ImmediateRunner runner;
  ImmediateRunner reportRunner;
  Form1 form;

  // The registry fixtures on this registry.
  void SetString(RootKey root, const std::string& path, const std::string& name,
                 const std::string& value) {
    brv::SetString(registry, root, path, name, value);
  }
  void SetData(RootKey root, const std::string& path, const std::string& name,
               const RegData& data) {
    brv::SetData(registry, root, path, name, data);
  }
  void CreateKey(RootKey root, const std::string& path) { brv::CreateKey(registry, root, path); }
  bool KeyExists(RootKey root, const std::string& path) {
    return brv::KeyExists(registry, root, path);
  }
  bool ValueExists(RootKey root, const std::string& path, const std::string& name) {
    return brv::ValueExists(registry, root, path, name);
  }
  std::string ReadString(RootKey root, const std::string& path, const std::string& name) {
    return brv::ReadString(registry, root, path, name);
  }
  std::vector<std::string> SubKeys(RootKey root, const std::string& path) {
    return brv::SubKeys(registry, root, path);
  }
  std::vector<std::string> Values(RootKey root, const std::string& path) {
    return brv::Values(registry, root, path);
  }
};

}  // namespace brv
