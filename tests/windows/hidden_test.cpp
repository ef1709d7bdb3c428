// Hostile content made with the system's native calls, in the real window:
// registry links and names holding a NUL. Each case checks the registry
// afterwards: only the asked change, the links' targets whole.
#include <gtest/gtest.h>

#include <windows.h>
#include <winternl.h>
#include <commctrl.h>

#include "app/win32/controls_win.h"
#include "harness_win.h"

namespace brv {
namespace {

const char kBho[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects";
const char kButtons[] = "Software\\Microsoft\\Internet Explorer\\Extensions";
const char kTarget[] = "Software\\Precious";
const char kA[] = "{A11A11A1-0000-4000-8000-000000000001}";
const char kB[] = "{B11B11B1-0000-4000-8000-000000000002}";

std::string Under(const char* parent, const std::string& name) {
  return std::string(parent) + "\\" + name;
}

std::string ValueText(const StoredValue& value) {
  return value.result == ERROR_SUCCESS ? CutAtNul(Utf16LeBytesToUtf8(value.bytes)) : "(unread)";
}

template <typename Fn>
Fn Native(const char* name) {
  return reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

// The kernel's name of a key ("\REGISTRY\USER\...").
std::wstring KernelName(HKEY root, const std::string& path) {
  using QueryKey = LONG(NTAPI*)(HANDLE, int, PVOID, ULONG, PULONG);
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, ToWide(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return L"";
  std::vector<char> buffer(4096);
  ULONG length = 0;
  std::wstring name;
  if (Native<QueryKey>("NtQueryKey")(key, 3, buffer.data(), static_cast<ULONG>(buffer.size()),
                                     &length) >= 0) {
    ULONG bytes = 0;
    memcpy(&bytes, buffer.data(), sizeof bytes);
    name.assign(reinterpret_cast<const wchar_t*>(buffer.data() + sizeof bytes), bytes / 2);
  }
  RegCloseKey(key);
  return name;
}

// A new key that is a link to the target key.
void MakeLink(HKEY root, const std::string& path, HKEY targetRoot, const std::string& target) {
  const std::wstring targetName = KernelName(targetRoot, target);
  ASSERT_FALSE(targetName.empty());
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            RegCreateKeyExW(root, ToWide(path).c_str(), 0, nullptr, REG_OPTION_CREATE_LINK,
                            KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, &key, nullptr));
  EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(key, L"SymbolicLinkValue", 0, REG_LINK,
                                          reinterpret_cast<const BYTE*>(targetName.data()),
                                          static_cast<DWORD>(targetName.size() * sizeof(wchar_t))));
  RegCloseKey(key);
}

bool LinkExists(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, ToWide(path).c_str(), REG_OPTION_OPEN_LINK, KEY_READ, &key) !=
      ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

// A sub-key by its counted name, which may hold NULs.
void CreateCounted(HKEY root, const std::string& parent, const std::string& name) {
  using CreateKey =
      LONG(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, ULONG, PUNICODE_STRING, ULONG, PULONG);
  HKEY parentKey = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, ToWide(parent).c_str(), 0, nullptr, 0,
                                           KEY_ALL_ACCESS, nullptr, &parentKey, nullptr));
  std::wstring wide = ToWide(name);
  UNICODE_STRING counted;
  counted.Buffer = wide.data();
  counted.Length = static_cast<USHORT>(wide.size() * sizeof(wchar_t));
  counted.MaximumLength = counted.Length;
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &counted, OBJ_CASE_INSENSITIVE, parentKey, nullptr);
  HANDLE created = nullptr;
  EXPECT_LE(0, Native<CreateKey>("NtCreateKey")(&created, KEY_ALL_ACCESS, &attributes, 0, nullptr,
                                                0, nullptr));
  if (created) CloseHandle(created);
  RegCloseKey(parentKey);
}

class HiddenWindowTest : public ::testing::Test, public WindowTest {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
  }
  void SetUp() override {
    SetString(HKEY_CURRENT_USER, kTarget, "keep", "precious");
    SetString(HKEY_CURRENT_USER, Under(kTarget, "Deep"), "keep", "deep");
  }
  void ExpectTargetWhole() {
    EXPECT_EQ("precious", ValueText(ReadValue(HKEY_CURRENT_USER, kTarget, "keep")));
    EXPECT_EQ("deep", ValueText(ReadValue(HKEY_CURRENT_USER, Under(kTarget, "Deep"), "keep")));
  }
  void Click(const char* list, const std::string& item) {
    const int index = FindListItem(Control(list), item);
    ASSERT_LE(0, index) << item;
    ClickListItem(Control(list), index);
  }
};

TEST_F(HiddenWindowTest, DeletingALinkedObjectRemovesTheLinkNotItsTarget) {
  MakeLink(HKEY_LOCAL_MACHINE, Under(kBho, kA), HKEY_CURRENT_USER, kTarget);
  SetString(HKEY_LOCAL_MACHINE, Under(kBho, kB), "", "");
  MakeLink(HKEY_LOCAL_MACHINE, Under(kBho, kB) + "\\Inner", HKEY_CURRENT_USER, kTarget);
  Open();
  EXPECT_EQ((std::vector<std::string>{kA, kB}), ListItems(Control("List6")));
  for (const char* id : {kA, kB}) {
    Click("List6", id);
    boxes.answers = {IDOK};
    ClickButton(Control("Command6"));
    EXPECT_FALSE(LinkExists(HKEY_LOCAL_MACHINE, Under(kBho, id))) << id;
    ExpectTargetWhole();
  }
  EXPECT_TRUE(ListItems(Control("List6")).empty());
}

TEST_F(HiddenWindowTest, DisablingALinkIsRefusedAndChangesNothing) {
  MakeLink(HKEY_LOCAL_MACHINE, Under(kBho, kA), HKEY_CURRENT_USER, kTarget);
  Open();
  Click("List6", kA);
  boxes.answers = {IDOK};
  ClickButton(Control("Command2"));
  ASSERT_FALSE(boxes.seen.empty());
  EXPECT_EQ("Brovantine", boxes.seen.back().title);
  EXPECT_EQ(0u, boxes.seen.back().text.find("Nothing was changed. The key of the selected BHO is "
                                            "a registry link"));
  EXPECT_EQ((std::vector<std::string>{kA}), SubKeys(HKEY_LOCAL_MACHINE, kBho));
  EXPECT_TRUE(SubKeys(HKEY_CURRENT_USER, kTarget) == std::vector<std::string>{"Deep"});
  ExpectTargetWhole();
}

TEST_F(HiddenWindowTest, NamesHoldingANulAreListedAndDeletedAsThemselves) {
  const std::string hidden = std::string(kB) + '\0' + "x";
  SetString(HKEY_CURRENT_USER, Under(kButtons, kB), "ButtonText", "Plain");
  CreateCounted(HKEY_CURRENT_USER, kButtons, hidden);
  // A helper object holding a sub-key whose name holds a NUL goes whole.
  SetString(HKEY_LOCAL_MACHINE, Under(kBho, kA) + "\\Free", "v", "x");
  CreateCounted(HKEY_LOCAL_MACHINE, Under(kBho, kA), std::string("Held") + '\0' + "x");
  Open();
  const std::string shown = std::string(kB) + "\xE2\x90\x80X";
  EXPECT_EQ((std::vector<std::string>{kB, shown}), ListItems(Control("List1")));
  Click("List1", shown);
  boxes.answers = {IDOK};
  ClickButton(Control("Command1"));
  EXPECT_EQ((std::vector<std::string>{kB}), SubKeys(HKEY_CURRENT_USER, kButtons));
  EXPECT_EQ("Plain", ValueText(ReadValue(HKEY_CURRENT_USER, Under(kButtons, kB), "ButtonText")));

  Click("List6", kA);
  boxes.answers = {IDOK};
  ClickButton(Control("Command6"));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Under(kBho, kA)));
}

}  // namespace
}  // namespace brv
