// The real window's status bar on the sample files, and the runner behind it.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <functional>
#include <utility>

#include "app/win32/runner_win.h"
#include "files/win32_files_win.h"
#include "conformance/files_conformance.h"
#include "harness_win.h"
#include "support/registry_fixture.h"

namespace brv {
namespace {

// Handles messages until `done` says so, for six seconds at most.
template <typename Done>
bool PumpUntil(Done done) {
  for (int round = 0; round < 200 && !done(); ++round) Pump();
  return done();
}

TEST(Win32RunnerTest, OnlyTheLatestJobIsHandedBack) {
  std::unique_ptr<Win32Runner> runner = Win32Runner::Create(GetModuleHandleW(nullptr));
  ASSERT_TRUE(runner);
  std::atomic<bool> started{false}, release{false}, secondRan{false};
  std::vector<int> handed;
  runner->Run([&] {
    started = true;
    while (!release) Sleep(1);
    return [&] { handed.push_back(1); };
  });
  while (!started) Sleep(1);
  runner->Run([&] {
    secondRan = true;
    return [&] { handed.push_back(2); };
  });
  runner->Run([&] { return [&] { handed.push_back(3); }; });
  release = true;
  EXPECT_TRUE(PumpUntil([&] { return !handed.empty(); }));
  runner->Run([&] { return [&] { handed.push_back(4); }; });
  runner->Cancel();
  Sleep(100);
  Pump();
  EXPECT_EQ(std::vector<int>{3}, handed);
  EXPECT_FALSE(secondRan);
}

// The signature check reads the system's cryptography settings, which the
// scratch registry hides: each test gets a copy, read through a key opened
// before there is a scratch registry.
const wchar_t kCrypto[] = L"Software\\Microsoft\\Cryptography";
HKEY g_crypto = nullptr;

class VerdictWindowTest : public ::testing::Test, public WindowTest {
 protected:
  static void SetUpTestSuite() {
    RegOpenKeyExW(HKEY_LOCAL_MACHINE, kCrypto, 0, KEY_READ, &g_crypto);
  }
  void SetUp() override {
    HKEY copy = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, kCrypto, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &copy,
                    nullptr);
    ASSERT_EQ(ERROR_SUCCESS, RegCopyTreeW(g_crypto, nullptr, copy));
    RegCloseKey(copy);
  }
  // The bar's text once the file is checked.
  std::string Status(const char* list, const std::string& item) {
    ClickListItem(Control(list), FindListItem(Control(list), item));
    StatusBar& bar = *window->Form().StatusBar1;
    PumpUntil([&] { return bar.Text().find("Checking") == std::string::npos; });
    return bar.Text();
  }
};

TEST_F(VerdictWindowTest, SignerMakerAndWhereItLoads) {
  // A file only under SysWOW64, named through System32 by a 32-bit entry.
  const std::string name = "brv-verdict-" + std::to_string(GetCurrentProcessId()) + ".dll";
  const std::string folder = Win32Files().FolderPath(Folder::System32Bit);
  const std::string wow = folder + "\\" + name;
  // A Wine prefix without 32-bit support has no such folder.
  const bool made = CreateDirectoryW(ToWide(folder).c_str(), nullptr);
  ASSERT_TRUE(
      CopyFileW(ToWide(SampleFolder() + "\\sample.dll").c_str(), ToWide(wow).c_str(), TRUE));
  SetString(registry, kLocalMachine, Bho(kA), "", "");
  SetString(registry, kClassesRoot, Clsid(kA) + "\\InprocServer32", "",
            SampleFolder() + "\\signed.dll");
  SetString(registry, kLocalMachine, Wow(Button(kB)), "Exec", "%SystemRoot%\\System32\\" + name);
  Open();
  EXPECT_EQ("Loads in Internet Explorer and Windows Explorer | " + SampleFolder() +
                "\\signed.dll | Signed by Brovantine Test Signer (not trusted), Brovantine Test "
                "Makers, Sample helper",
            Status("List6", kA));
  EXPECT_EQ(wow + " | Not signed, Brovantine Test Makers, Sample helper",
            Status("List2", kB + std::string(" (32-bit)")));
  DeleteFileW(ToWide(wow).c_str());
  if (made) RemoveDirectoryW(ToWide(folder).c_str());
}

// Types the name in the Save dialog as it opens (the box answerer then
// presses Save); once the dialog is gone, the next tick runs `after`.
struct SaveAnswer {
  static SaveAnswer* current;
  std::wstring path;
  std::function<void()> after;
  static HWND Dialog() { return FindWindowW(L"#32770", L"Save a report"); }
  static void OnShow(void*) {
    HWND name = GetDlgItem(Dialog(), 0x47C);  // the name's box: a combo box, or an edit box
    if (!name) name = GetDlgItem(Dialog(), 0x480);
    if (name) SetWindowTextW(name, current->path.c_str());
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (!Dialog() && current->after) std::exchange(current->after, nullptr)();
  }
};
SaveAnswer* SaveAnswer::current = nullptr;

TEST_F(VerdictWindowTest, ReportSavedFromTheMenuWithProgressThenCancelled) {
  SetString(registry, kLocalMachine, Bho(kA), "", "");
  SetString(registry, kClassesRoot, Clsid(kA) + "\\InprocServer32", "",
            SampleFolder() + "\\signed.dll");
  for (int i = 0; i < 1000; ++i) CreateKey(registry, kLocalMachine, Bho("{n" + std::to_string(i)));
  Open();
  wchar_t temp[MAX_PATH];
  const std::string path = FromWide(temp, GetTempPathW(MAX_PATH, temp)) + "brv-report-" +
                           std::to_string(GetCurrentProcessId()) + ".csv";
  SaveAnswer answer{ToWide(path), nullptr};
  SaveAnswer::current = &answer;
  boxes.onShow = SaveAnswer::OnShow;
  boxes.answers = {IDOK};
  StatusBar& bar = *window->Form().StatusBar1;
  bool progressed = false;
  ChooseMenu(*window, "report");
  EXPECT_TRUE(PumpUntil([&] {
    progressed = progressed || bar.Text().find(" of 1001 entries") != std::string::npos;
    return bar.Text().rfind("Report ", 0) == 0;
  }));
  EXPECT_TRUE(progressed);
  EXPECT_EQ("Report saved: " + path, bar.Text());
  const auto read = [&] {
    std::unique_ptr<FileData> data;
    std::string bytes = "(none)";
    if (Win32Files().Open(path, &data) == 0)
      data->Read(0, static_cast<size_t>(data->Size()), &bytes);
    return bytes;
  };
  const std::string bytes = read();
  EXPECT_EQ(0u, bytes.rfind("\xEF\xBB\xBF"
                            "computer,kind,",
                            0));
  EXPECT_NE(std::string::npos, bytes.find(",valid,Brovantine Test Signer,false,"));
  // Again, over the same file (the dialog asks first), cancelled part way
  // by the menu item: the file is as it was.
  answer.after = [&] { PostMessageW(window->Handle(), WM_COMMAND, window->MenuId("report"), 0); };
  boxes.answers = {IDOK, IDYES};
  const UINT_PTR timer = SetTimer(nullptr, 0, 10, SaveAnswer::Tick);
  ChooseMenu(*window, "report");
  EXPECT_TRUE(PumpUntil([&] { return bar.Text().rfind("Report not", 0) == 0; }));
  EXPECT_EQ("Report not saved: cancelled", bar.Text());
  KillTimer(nullptr, timer);
  EXPECT_EQ(bytes, read());
  DeleteFileW(ToWide(path).c_str());
}

}  // namespace
}  // namespace brv
