// The Options menu of the real main window on a scratch registry, its writes
// read back with the platform's own functions.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <sddl.h>

#include <functional>
#include <string>
#include <vector>

#include "app/win32/controls_win.h"
#include "harness_win.h"

namespace brv {
namespace {

const char kWebBrowser[] = "Software\\Microsoft\\Internet Explorer\\Toolbar\\WebBrowser";
const char kZone[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\3";
const char kMain[] = "Software\\Microsoft\\Internet Explorer\\Main";
const char kExtensions[] = "Software\\Microsoft\\Internet Explorer\\Extensions";
const char kOwnId[] = "{A349A035-E26F-454b-ABB4-5208E50E1BE7}";

std::string Dword(DWORD n) {
  return std::string(reinterpret_cast<const char*>(&n), 4);
}

std::string Sz(const std::string& text) {
  const std::wstring wide = ToWide(text);
  return std::string(reinterpret_cast<const char*>(wide.c_str()),
                     (wide.size() + 1) * sizeof(wchar_t));
}

size_t ValueCount(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, ToWide(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
  DWORD count = 0;
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                   nullptr, nullptr, nullptr);
  RegCloseKey(key);
  return count;
}

// A key whose sub-keys can only be volatile: creating a lasting key below it
// fails, as a write the registry refuses does.
void CreateVolatileKey(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            RegCreateKeyExW(root, ToWide(path).c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr));
  RegCloseKey(key);
}

// Lets everyone only read a key while it lives; full access again after.
class ReadOnlyKey {
 public:
  ReadOnlyKey(HKEY root, const std::string& path) : root_(root), path_(ToWide(path)) {
    ok_ = Apply(L"D:P(A;;KR;;;WD)");
  }
  ~ReadOnlyKey() { Apply(L"D:(A;;KA;;;WD)"); }
  ReadOnlyKey(const ReadOnlyKey&) = delete;
  ReadOnlyKey& operator=(const ReadOnlyKey&) = delete;
  bool ok() const { return ok_; }

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
  bool ok_ = false;
};

class OptionsMenuTest : public ::testing::Test, public WindowTest {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
  }
  void SetUp() override { Open(); }

  // The boxes shown since the start-up note.
  std::vector<SeenBox> Shown() const {
    return std::vector<SeenBox>(boxes.seen.begin() + 1, boxes.seen.end());
  }
  static void ExpectPlainOk(const SeenBox& box) {
    EXPECT_TRUE(box.hasOk);
    EXPECT_FALSE(box.hasCancel || box.hasYes || box.hasNo);
    EXPECT_FALSE(box.hasIcon);
  }
};

TEST_F(OptionsMenuTest, ResetDeletesTheLayoutAndKeepsTheToolbars) {
  SetData(HKEY_CURRENT_USER, kWebBrowser, "ITBarLayout", REG_BINARY, std::string(64, '\x01'));
  SetData(HKEY_CURRENT_USER, kWebBrowser, "{01E04581-4EEE-11D0-BFE9-00AA005B4383}", REG_BINARY,
          "x");
  ChooseMenu(*window, "resettoolbar");
  ChooseMenu(*window, "resettoolbar");  // nothing left to delete
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, ReadValue(HKEY_CURRENT_USER, kWebBrowser, "ITBarLayout").result);
  EXPECT_EQ(
      ERROR_SUCCESS,
      ReadValue(HKEY_CURRENT_USER, kWebBrowser, "{01E04581-4EEE-11D0-BFE9-00AA005B4383}").result);
  const std::vector<SeenBox> shown = Shown();
  ASSERT_EQ(2u, shown.size());
  for (const SeenBox& box : shown) {
    EXPECT_EQ("Reset Toolbar layout", box.title);
    EXPECT_EQ("IE Toolbar placement is now reset", box.text);
    ExpectPlainOk(box);
  }
}

TEST_F(OptionsMenuTest, ResetRefusedByTheRegistryTellsWhy) {
  SetData(HKEY_CURRENT_USER, kWebBrowser, "ITBarLayout", REG_BINARY, "layout");
  ReadOnlyKey readOnly(HKEY_CURRENT_USER, kWebBrowser);
  ASSERT_TRUE(readOnly.ok());
  ChooseMenu(*window, "resettoolbar");
  EXPECT_EQ("layout", ReadValue(HKEY_CURRENT_USER, kWebBrowser, "ITBarLayout").bytes);
  const std::vector<SeenBox> shown = Shown();
  ASSERT_EQ(1u, shown.size());
  EXPECT_EQ("Reset Toolbar layout", shown[0].title);
  EXPECT_EQ(
      "IE Toolbar placement was not reset.\n\nThe value "
      "HKCU\\Software\\Microsoft\\Internet Explorer\\Toolbar\\WebBrowser\\ITBarLayout could not "
      "be deleted: " +
          desktop.ErrorText(ERROR_ACCESS_DENIED),
      shown[0].text);
  ExpectPlainOk(shown[0]);
}

TEST_F(OptionsMenuTest, SecurityAsksAndOnlyOkWritesTheEightValues) {
  boxes.answers = {IDCANCEL};
  ChooseMenu(*window, "Security");
  ASSERT_EQ(1u, Shown().size());
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Microsoft"));

  boxes.answers = {IDOK};
  ChooseMenu(*window, "Security");
  const std::vector<SeenBox> shown = Shown();
  ASSERT_EQ(3u, shown.size());
  for (int i : {0, 1}) {
    EXPECT_EQ("Following changes will be made to Internet Zone in Internet Explorer",
              shown[i].title);
    EXPECT_EQ(0u, shown[i].text.find(
                      "Internet Zone is set to Custom Level with the following changes:\n      "
                      "(You can undo"));
    EXPECT_NE(std::string::npos, shown[i].text.find("\n\n  Java permissions" +
                                                    std::string(52, ' ') + "> High Safety\n\n"));
    EXPECT_TRUE(shown[i].hasOk && shown[i].hasCancel);
    EXPECT_FALSE(shown[i].hasIcon);
  }
  EXPECT_EQ("Internet Zone Security", shown[2].title);
  EXPECT_EQ(
      "Security for IE Internet Zone is increased\n\nNOTE: This is the minimum recommended "
      "security setting. Other means of protection for Internet Explorer may also be necessary",
      shown[2].text);
  ExpectPlainOk(shown[2]);

  const struct {
    const char* name;
    DWORD type;
    std::string bytes;
  } expected[] = {
      {"CurrentLevel", REG_DWORD, Dword(0)},
      {"1001", REG_DWORD, Dword(1)},
      {"1004", REG_DWORD, Dword(3)},
      {"1201", REG_DWORD, Dword(3)},
      {"1800", REG_DWORD, Dword(1)},
      {"1804", REG_DWORD, Dword(1)},
      {"1C00", REG_BINARY, std::string("\x00\x00\x01\x00", 4)},
  };
  for (const auto& value : expected) {
    const StoredValue stored = ReadValue(HKEY_CURRENT_USER, kZone, value.name);
    EXPECT_EQ(ERROR_SUCCESS, stored.result) << value.name;
    EXPECT_EQ(value.type, stored.type) << value.name;
    EXPECT_EQ(value.bytes, stored.bytes) << value.name;
  }
  EXPECT_EQ(7u, ValueCount(HKEY_CURRENT_USER, kZone));
  const StoredValue jit = ReadValue(HKEY_CURRENT_USER, kMain, "NoWebJITSetup");
  EXPECT_EQ(static_cast<DWORD>(REG_DWORD), jit.type);
  EXPECT_EQ(Dword(1), jit.bytes);
  EXPECT_EQ(1u, ValueCount(HKEY_CURRENT_USER, kMain));
}

TEST_F(OptionsMenuTest, SecurityRefusedAtTheLastWriteSaysWhatWasWritten) {
  CreateKey(HKEY_CURRENT_USER, "Software\\Microsoft");
  CreateVolatileKey(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer");
  boxes.answers = {IDOK};
  ChooseMenu(*window, "Security");
  const std::vector<SeenBox> shown = Shown();
  ASSERT_EQ(2u, shown.size());
  EXPECT_EQ("Internet Zone Security", shown[1].title);
  EXPECT_EQ(
      "Security for IE Internet Zone was not increased.\n\nThe value "
      "HKCU\\Software\\Microsoft\\Internet Explorer\\Main\\NoWebJITSetup could not be written: " +
          desktop.ErrorText(ERROR_CHILD_MUST_BE_VOLATILE) +
          "\n\nThe values before it were written: CurrentLevel, 1001, 1004, 1201, 1800, 1804, "
          "1C00. It and the values after it were not.",
      shown[1].text);
  ExpectPlainOk(shown[1]);
  EXPECT_EQ(7u, ValueCount(HKEY_CURRENT_USER, kZone));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kMain));
}

TEST_F(OptionsMenuTest, OwnButtonPointsAtThisProgram) {
  wchar_t module[4096];
  const DWORD length = GetModuleFileNameW(nullptr, module, 4096);
  ASSERT_GT(length, 0u);
  const std::string program = FromWide(module, length);
  CreateKey(HKEY_CURRENT_USER, std::string(kExtensions) + "\\{OTHER}");
  ChooseMenu(*window, "tbutton");
  ChooseMenu(*window, "tbutton");  // twice: the same one entry
  const std::string entry = std::string(kExtensions) + "\\" + kOwnId;
  const std::pair<const char*, std::string> expected[] = {
      {"ButtonText", "Brovantine"}, {"CLSID", "{1FBA04EE-3024-11D2-8F1F-0000F87ABD16}"},
      {"Default Visible", "Yes"},   {"Exec", program},
      {"HotIcon", program + ",1"},  {"Icon", program + ",1"},
      {"MenuText", "Brovantine"},
  };
  for (const auto& value : expected) {
    const StoredValue stored = ReadValue(HKEY_CURRENT_USER, entry, value.first);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), stored.type) << value.first;
    EXPECT_EQ(Sz(value.second), stored.bytes) << value.first;
  }
  EXPECT_EQ(7u, ValueCount(HKEY_CURRENT_USER, entry));
  EXPECT_EQ((std::vector<std::string>{kOwnId, "{OTHER}"}), SubKeys(HKEY_CURRENT_USER, kExtensions));
  const std::vector<SeenBox> shown = Shown();
  ASSERT_EQ(2u, shown.size());
  EXPECT_EQ("Brovantine IE button", shown[1].title);
  EXPECT_EQ("Added Brovantine to Internet Explorer standard toolbar", shown[1].text);
  ExpectPlainOk(shown[1]);
  // The list shows the new entry after a refresh, not before.
  EXPECT_EQ(std::vector<std::string>{}, ListItems(Control("List1")));
  ChooseMenu(*window, "Refresh");
  EXPECT_EQ((std::vector<std::string>{"{A349A035-E26F-454B-ABB4-5208E50E1BE7}", "{OTHER}"}),
            ListItems(Control("List1")));
}

TEST_F(OptionsMenuTest, OwnButtonRefusedWritesNothingAndTellsWhy) {
  CreateKey(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer");
  CreateVolatileKey(HKEY_CURRENT_USER, kExtensions);
  ChooseMenu(*window, "tbutton");
  const std::vector<SeenBox> shown = Shown();
  ASSERT_EQ(1u, shown.size());
  EXPECT_EQ("Brovantine IE button", shown[0].title);
  EXPECT_EQ(
      "Brovantine was not added to Internet Explorer.\n\nThe value "
      "HKCU\\SOFTWARE\\Microsoft\\Internet Explorer\\Extensions\\"
      "{A349A035-E26F-454b-ABB4-5208E50E1BE7}\\ButtonText could not be written: " +
          desktop.ErrorText(ERROR_CHILD_MUST_BE_VOLATILE) + "\n\nNothing was changed.",
      shown[0].text);
  ExpectPlainOk(shown[0]);
  EXPECT_TRUE(SubKeys(HKEY_CURRENT_USER, kExtensions).empty());
}

// Runs a copy of the probe program at `copy` and returns the path it reports
// for itself; empty if it could not run.
std::string ReportedPath(const std::wstring& copy) {
  wchar_t module[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
  std::wstring probe(module, length);
  probe = probe.substr(0, probe.rfind(L'\\') + 1) + L"program_path_probe.exe";
  if (!CopyFileW(probe.c_str(), copy.c_str(), FALSE)) return std::string();
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring out = std::wstring(temp) + L"brv-probe-out.txt";
  std::wstring command = L"\"" + copy + L"\" \"" + out + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  std::string reported;
  if (CreateProcessW(copy.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &process)) {
    WaitForSingleObject(process.hProcess, 30000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    HANDLE file = CreateFileW(out.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      char buffer[4096];
      DWORD read = 0;
      if (ReadFile(file, buffer, sizeof(buffer), &read, nullptr)) reported.assign(buffer, read);
      CloseHandle(file);
    }
    DeleteFileW(out.c_str());
  }
  DeleteFileW(copy.c_str());
  return reported;
}

TEST(ProgramPath, IsTheWholePathOfTheRunningFileWhateverItsFolderAndName) {
  wchar_t temp[MAX_PATH];
  const DWORD tempLength = GetTempPathW(MAX_PATH, temp);
  ASSERT_GT(tempLength, 0u);
  const std::wstring base = std::wstring(temp, tempLength) + L"brv-path-test";
  const std::wstring folder = base + L"\\Tools \u5de5\u5177 " + std::wstring(60, L'x');
  CreateDirectoryW(base.c_str(), nullptr);
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring renamed = folder + L"\\renamed copy.EXE";
  const std::wstring other = base + L"\\Brv2.exe";
  const std::string renamedReported = ReportedPath(renamed);
  const std::string otherReported = ReportedPath(other);
  RemoveDirectoryW(folder.c_str());
  RemoveDirectoryW(base.c_str());
  EXPECT_EQ(FromWide(renamed.c_str(), renamed.size()), renamedReported);
  EXPECT_EQ(FromWide(other.c_str(), other.size()), otherReported);
}

// Answers as GetModuleFileNameW does for a path of `length` characters: a
// buffer too small gets what fits, NUL-terminated, and its size back.
struct FakeModulePath {
  size_t length;
  std::vector<DWORD> asked;
  DWORD operator()(wchar_t* buffer, DWORD size) {
    asked.push_back(size);
    const std::wstring path = L"C:\\" + std::wstring(length - 3, L'p');
    if (path.size() < size) {
      path.copy(buffer, path.size());
      buffer[path.size()] = L'\0';
      return static_cast<DWORD>(path.size());
    }
    path.copy(buffer, size - 1);
    buffer[size - 1] = L'\0';
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
};

TEST(ProgramPath, PathsLongerThanTheFirstBufferAreReadWhole) {
  for (size_t length : {size_t{10}, size_t{259}, size_t{260}, size_t{1000}, size_t{32767}}) {
    FakeModulePath fake{length, {}};
    const std::string path = ReadWholePath(std::ref(fake));
    EXPECT_EQ(length, path.size());
    EXPECT_EQ("C:\\" + std::string(length - 3, 'p'), path);
  }
  FakeModulePath fake{1000, {}};
  ReadWholePath(std::ref(fake));
  EXPECT_EQ((std::vector<DWORD>{260, 520, 1040}), fake.asked);
  // A failure, and a path that never fits, give no path and end.
  EXPECT_EQ("", ReadWholePath([](wchar_t*, DWORD) { return DWORD{0}; }));
  EXPECT_EQ("", ReadWholePath([](wchar_t* buffer, DWORD size) {
              buffer[size - 1] = L'\0';
              return size;
            }));
}

}  // namespace
}  // namespace brv
