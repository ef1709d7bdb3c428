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

bool operator==(const ShownMessage& a, const ShownMessage& b) {
  return a.text == b.text && a.title == b.title && a.buttons == b.buttons && a.icon == b.icon;
}

std::ostream& operator<<(std::ostream& out, const ShownMessage& message) {
  return out << "{\"" << message.text << "\", \"" << message.title << "\", buttons "
             << static_cast<int>(message.buttons) << ", icon " << static_cast<int>(message.icon)
             << "}";
}

ShownMessage DeleteConfirmation() {
  return {"Are you sure? Changes cannot be reverted", "Delete Confirmation", MsgButtons::OkCancel,
          MsgIcon::None};
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

namespace {

const char kHex[] = "0123456789abcdef";

std::string Escaped(const std::string& name) {
  std::string out;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || c == '%' || c == '"' || c == ']') {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    } else {
      out += c;
    }
  }
  return out;
}

std::string Hex(const std::string& bytes) {
  std::string out;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    out += kHex[byte >> 4];
    out += kHex[byte & 15];
  }
  return out;
}

void DumpTree(Registry& registry, RootKey root, const std::string& path, const std::string& shown,
              std::vector<std::string>* lines) {
  std::unique_ptr<RegKey> key;
  if (registry.OpenKey(root, path, Registry::Access::Read, &key) != kErrorSuccess) return;
  lines->push_back("[" + shown + "]");
  std::string name;
  for (uint32_t i = 0; key->EnumValue(i, &name) == kErrorSuccess; ++i) {
    RegData data;
    const long result = key->QueryValue(name, &data);
    lines->push_back("[" + shown + "] \"" + Escaped(name) + "\" " +
                     (result == kErrorSuccess ? std::to_string(data.type) + ":" + Hex(data.bytes)
                                              : "error " + std::to_string(result)));
  }
  std::vector<std::string> children;
  for (uint32_t i = 0; key->EnumKey(i, &name) == kErrorSuccess; ++i) children.push_back(name);
  key.reset();  // one key open at a time, however deep the tree
  for (const std::string& child : children) {
    DumpTree(registry, root, path.empty() ? child : path + "\\" + child,
             shown + "\\" + Escaped(child), lines);
  }
}

}  // namespace

std::vector<std::string> DumpKey(Registry& registry, RootKey root, const std::string& path) {
  std::vector<std::string> lines;
  DumpTree(registry, root, path, "", &lines);
  return lines;
}

std::vector<std::string> DumpRegistry(Registry& registry) {
  std::vector<std::string> lines;
  const std::pair<RootKey, const char*> roots[] = {
      {kClassesRoot, "HKCR"}, {kCurrentUser, "HKCU"}, {kLocalMachine, "HKLM"}};
  for (const auto& root : roots) DumpTree(registry, root.first, "", root.second, &lines);
  return lines;
}

MemoryForm::MemoryForm() {
  form.registry = &registry;
  form.desktop = &desktop;
  form.windows = &windows;
  form.files = &files;
  form.runner = &runner;
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

void MemoryForm::SetString(RootKey root, const std::string& path, const std::string& name,
                           const std::string& value) {
  SetData(root, path, name, RegData{kRegSz, Utf8ToUtf16LeBytes(value, true)});
}

void MemoryForm::SetData(RootKey root, const std::string& path, const std::string& name,
                         const RegData& data) {
  std::unique_ptr<RegKey> key;
  if (registry.CreateKey(root, path, &key) == kErrorSuccess) key->SetValue(name, data);
}

void MemoryForm::CreateKey(RootKey root, const std::string& path) {
  std::unique_ptr<RegKey> key;
  registry.CreateKey(root, path, &key);
}

bool MemoryForm::KeyExists(RootKey root, const std::string& path) {
  std::unique_ptr<RegKey> key;
  return registry.OpenKey(root, path, Registry::Access::Read, &key) == kErrorSuccess;
}

bool MemoryForm::ValueExists(RootKey root, const std::string& path, const std::string& name) {
  std::unique_ptr<RegKey> key;
  RegData data;
  return registry.OpenKey(root, path, Registry::Access::Read, &key) == kErrorSuccess &&
         key->QueryValue(name, &data) == kErrorSuccess;
}

std::string MemoryForm::ReadString(RootKey root, const std::string& path, const std::string& name) {
  std::unique_ptr<RegKey> key;
  RegData data;
  if (registry.OpenKey(root, path, Registry::Access::Read, &key) != kErrorSuccess ||
      key->QueryValue(name, &data) != kErrorSuccess) {
    return "(missing)";
  }
  return CutAtNul(Utf16LeBytesToUtf8(data.bytes));
}

std::vector<std::string> MemoryForm::SubKeys(RootKey root, const std::string& path) {
  return SubKeyNames(registry, root, path);
}

std::vector<std::string> MemoryForm::Values(RootKey root, const std::string& path) {
  return ValueNames(registry, root, path);
}

}  // namespace brv
