// The panel scenarios' driver under Wine: the real main window on a scratch
// registry, message boxes answered as they open, the clipboard and the
// program's path the system's own.
#include <windows.h>
#include <commctrl.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "app/win32/controls_win.h"
#include "harness_win.h"
#include "support/panel_driver.h"
#include "support/registry_fixture.h"

namespace brv {
namespace {

HKEY Handle(RootKey root) {
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

// Lets everyone only read a key while it lives; full access again after.
class ReadOnlyKey {
 public:
  ReadOnlyKey(RootKey root, const std::string& path) : root_(Handle(root)), path_(ToWide(path)) {
    EXPECT_TRUE(Apply(L"D:P(A;;KR;;;WD)")) << path;
  }
  ~ReadOnlyKey() { Apply(L"D:(A;;KA;;;WD)"); }
  ReadOnlyKey(const ReadOnlyKey&) = delete;
  ReadOnlyKey& operator=(const ReadOnlyKey&) = delete;

 private:
  bool Apply(const wchar_t* sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor,
                                                              nullptr)) {
      return false;
    }
    HKEY key = nullptr;
    LONG r = RegOpenKeyExW(root_, path_.c_str(), 0, WRITE_DAC, &key);
    if (r == ERROR_SUCCESS) {
      r = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
      RegCloseKey(key);
    }
    LocalFree(descriptor);
    return r == ERROR_SUCCESS;
  }

  HKEY root_;
  std::wstring path_;
};

std::string ReadClipboard() {
  std::string text = "(not open)";
  if (!OpenClipboard(nullptr)) return text;
  text = "(empty)";
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const wchar_t* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = FromWide(chars, wcslen(chars));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

class WindowDriver : public PanelDriver {
 public:
  // The 32-bit classes live in the prefix's own registry (a view flag
  // bypasses the scratch override): removed again here.
  ~WindowDriver() override {
    refused_.clear();
    for (const std::string& id : classes32_) w_.registry.DeleteTree(Class32(id));
  }

  Registry& registry() override { return w_.registry; }
  void Open() override {
    w_.Open();
    noted_ = w_.boxes.seen.size();
  }
  bool Select(const std::string& list, const std::string& text, bool doubleClick) override {
    const int index = FindListItem(w_.Control(list), text);
    if (index < 0) return false;
    ClickListItem(w_.Control(list), index, doubleClick);
    return true;
  }
  void Click(const std::string& control) override {
    if (HWND button = w_.Control(control)) return ClickButton(button);
    EXPECT_LE(0, w_.window->MenuId(control)) << control;
    ChooseMenu(*w_.window, control);
  }
  void Answer(std::vector<MsgAnswer> answers) override {
    w_.boxes.answers.clear();
    for (MsgAnswer answer : answers) {
      w_.boxes.answers.push_back(answer == MsgAnswer::Ok       ? IDOK
                                 : answer == MsgAnswer::Cancel ? IDCANCEL
                                 : answer == MsgAnswer::Yes    ? IDYES
                                                               : IDNO);
    }
  }
  std::vector<ShownMessage> Boxes() override {
    std::vector<ShownMessage> shown;
    for (size_t i = noted_; i < w_.boxes.seen.size(); ++i) {
      const SeenBox& box = w_.boxes.seen[i];
      const MsgButtons buttons = box.hasYes || box.hasNo ? MsgButtons::YesNo
                                 : box.hasCancel         ? MsgButtons::OkCancel
                                                         : MsgButtons::Ok;
      shown.push_back(
          {box.text, box.title, buttons, box.hasIcon ? MsgIcon::Information : MsgIcon::None});
    }
    return shown;
  }
  std::vector<std::string> Items(const std::string& list) override {
    return ListItems(w_.Control(list));
  }
  int ListIndex(const std::string& list) override {
    return static_cast<int>(SendMessageW(w_.Control(list), LB_GETCURSEL, 0, 0));
  }
  std::string Text(const std::string& box) override { return w_.Text(box); }
  bool Enabled(const std::string& button) override { return w_.Enabled(button); }
  std::string Clipboard() override { return ReadClipboard(); }
  std::string ErrorText(long code) override { return w_.desktop.ErrorText(code); }
  std::string ProgramPath() override { return w_.desktop.ProgramPath(); }
  void Refuse(RootKey root, const std::string& path) override {
    refused_.push_back(std::make_unique<ReadOnlyKey>(root, path));
  }
  RegAddress Class32(const std::string& id) override {
    const RegAddress at{kClassesRoot, View::k32, Clsid(id)};
    if (std::find(classes32_.begin(), classes32_.end(), id) == classes32_.end()) {
      classes32_.push_back(id);
      w_.registry.DeleteTree(at);  // left by a run that did not end
    }
    return at;
  }
  std::vector<std::string> Dump() override {
    std::vector<std::string> lines = DumpRegistry(w_.registry);
    for (const std::string& id : classes32_) {
      DumpKeyAt(w_.registry, Class32(id), "HKCR\\" + DumpedName(Clsid32(id)), &lines);
    }
    return lines;
  }
  // The link holds the target's name as the kernel knows it.
  void Link(const RegAddress& at, const RegAddress& target) override {
    std::unique_ptr<RegKey> key;
    std::string name;
    ASSERT_EQ(kErrorSuccess, w_.registry.OpenKey(target, Registry::Access::Read, &key));
    ASSERT_EQ(kErrorSuccess, key->FullName(&name));
    const std::wstring targetName = ToWide(name);
    const REGSAM view = at.view == View::k32 ? KEY_WOW64_32KEY : 0;
    HKEY link = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExW(Handle(at.root), ToWide(at.path).c_str(), 0, nullptr,
                              REG_OPTION_CREATE_LINK, KEY_ALL_ACCESS | KEY_CREATE_LINK | view,
                              nullptr, &link, nullptr));
    EXPECT_EQ(ERROR_SUCCESS,
              RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK,
                             reinterpret_cast<const BYTE*>(targetName.data()),
                             static_cast<DWORD>(targetName.size() * sizeof(wchar_t))));
    RegCloseKey(link);
  }

 private:
  WindowTest w_;
  size_t noted_ = 0;
  std::vector<std::string> classes32_;
  std::vector<std::unique_ptr<ReadOnlyKey>> refused_;
};

}  // namespace

std::unique_ptr<PanelDriver> MakePanelDriver() {
  return std::make_unique<WindowDriver>();
}

}  // namespace brv
