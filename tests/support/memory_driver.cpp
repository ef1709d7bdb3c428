// The panel scenarios' driver in the native build: the handlers on memory.
#include <gtest/gtest.h>

#include "support/memory_form.h"

namespace brv {

namespace {

// The controls of a MemoryForm by their names: "List6" is lists[6].
int Number(const std::string& name, const char* kind) {
  const size_t length = std::string(kind).size();
  EXPECT_EQ(0u, name.find(kind)) << name;
  return std::stoi(name.substr(length));
}

class MemoryDriver : public PanelDriver {
 public:
  Registry& registry() override { return m.registry; }
  void Open() override {
    Form_Load(m.form);
    noted = m.desktop.messages.size();
  }
  bool Select(const std::string& list, const std::string& text, bool doubleClick) override {
    if (!m.lists[Number(list, "List")].Select(text)) return false;
    Run(list, Event::Click);
    if (doubleClick) Run(list, Event::DblClick);
    return true;
  }
  void Click(const std::string& control) override { Run(control, Event::Click); }
  void Answer(std::vector<MsgAnswer> answers) override {
    m.desktop.answers.assign(answers.begin(), answers.end());
  }
  std::vector<ShownMessage> Boxes() override {
    return {m.desktop.messages.begin() + static_cast<std::ptrdiff_t>(noted),
            m.desktop.messages.end()};
  }
  std::vector<std::string> Items(const std::string& list) override {
    return m.lists[Number(list, "List")].items;
  }
  int ListIndex(const std::string& list) override { return m.lists[Number(list, "List")].index; }
  std::string Text(const std::string& box) override { return m.texts[Number(box, "Text")].text; }
  bool Enabled(const std::string& button) override {
    return m.buttons[Number(button, "Command")].enabled;
  }
  std::string Clipboard() override { return m.desktop.clipboard; }
  std::string ErrorText(long code) override { return m.desktop.ErrorText(code); }
  std::string ProgramPath() override { return m.desktop.programPath; }
  void Refuse(RootKey root, const std::string& path) override { m.registry.Protect(root, path); }
  RegAddress Class32(const std::string& id) override {
    return {kClassesRoot, View::k64, Clsid32(id)};
  }
  std::vector<std::string> Dump() override { return DumpRegistry(m.registry); }
  void Link(const RegAddress& at, const RegAddress& target) override {
    ASSERT_EQ(kErrorSuccess, m.registry.CreateLink(at, target)) << at.path;
  }

 private:
  void Run(const std::string& control, Event event) {
    void (*handler)(Form1&) = FindHandler(control.c_str(), event);
    ASSERT_NE(nullptr, handler) << control;
    handler(m.form);
  }

  MemoryForm m;
  size_t noted = 0;
};

}  // namespace

std::unique_ptr<PanelDriver> MakePanelDriver() {
  return std::make_unique<MemoryDriver>();
}

}  // namespace brv
