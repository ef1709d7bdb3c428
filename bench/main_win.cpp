// Benchmarks under Wine: the fills on the real registry (behind scratch keys)
// into the real window's list boxes, and the start-up time.
//   brovantine_winbench [FILTER] [SIZES...]
//   brovantine_winbench --startup BROVANTINE.exe BARE_NOTE.exe TRIVIAL.exe [RUNS]
#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/win32/controls_win.h"
#include "app/win32/desktop_win.h"
#include "app/win32/form1_win.h"
#include "bench/bench.h"
#include "registry/win32_registry_win.h"

namespace {

const wchar_t kScratch[] = L"Software\\BrovantineBenchScratch";
HKEY g_scratch[3] = {};

void ResetScratch() {
  RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
  RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
  for (HKEY& key : g_scratch) {
    if (key) RegCloseKey(key);
    key = nullptr;
  }
  SHDeleteKeyW(HKEY_CURRENT_USER, kScratch);
  const wchar_t* names[] = {L"\\HKCU", L"\\HKLM", L"\\HKCR"};
  for (int i = 0; i < 3; ++i) {
    RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(kScratch) + names[i]).c_str(), 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &g_scratch[i], nullptr);
  }
  // Signature checks read the system's cryptography settings: a copy for
  // the scratch machine key.
  HKEY crypto = nullptr, copy = nullptr;
  const wchar_t kCrypto[] = L"Software\\Microsoft\\Cryptography";
  if (!RegOpenKeyExW(HKEY_LOCAL_MACHINE, kCrypto, 0, KEY_READ, &crypto) &&
      !RegCreateKeyExW(g_scratch[1], kCrypto, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &copy,
                       nullptr)) {
    RegCopyTreeW(crypto, nullptr, copy);
  }
  if (copy) RegCloseKey(copy);
  if (crypto) RegCloseKey(crypto);
  RegOverridePredefKey(HKEY_CURRENT_USER, g_scratch[0]);
  RegOverridePredefKey(HKEY_LOCAL_MACHINE, g_scratch[1]);
  RegOverridePredefKey(HKEY_CLASSES_ROOT, g_scratch[2]);
}

HKEY Root(brv::RootKey root) {
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

// The floor: RegEnumKeyExW / RegEnumValueW by index, nothing else.
void BareEnumeration(const brv::RegAddress& at, bool keys) {
  HKEY key = nullptr;
  const REGSAM view = at.view == brv::View::k32 ? KEY_WOW64_32KEY : 0;
  if (RegOpenKeyExW(Root(at.root), brv::ToWide(at.path).c_str(), 0, KEY_READ | view, &key)) return;
  std::vector<wchar_t> name(16384);
  for (DWORD i = 0;; ++i) {
    DWORD length = static_cast<DWORD>(name.size());
    LONG r = keys ? RegEnumKeyExW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr)
                  : RegEnumValueW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (r) break;
  }
  RegCloseKey(key);
}

// Milliseconds from CreateProcess until a visible top-level window with this
// class and title exists; the process is then ended.
double StartUp(const std::wstring& program, const wchar_t* className, const wchar_t* title,
               const wchar_t* arguments = nullptr) {
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  std::wstring command =
      L"\"" + program + L"\"" + (arguments ? L" " + std::wstring(arguments) : L"");
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return -1;
  }
  double elapsed = -1;
  for (;;) {
    HWND window = FindWindowW(className, title);
    QueryPerformanceCounter(&now);
    const double ms = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
                      static_cast<double>(frequency.QuadPart);
    if (window && IsWindowVisible(window)) {
      elapsed = ms;
      break;
    }
    if (ms > 30000) break;
    Sleep(1);
  }
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 5000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return elapsed;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The start-up note against the same note shown by a program that does
// nothing else (same manifest), by the same program after it has made the
// main window's controls plainly, and against a trivial window's first show.
int StartUpBench(const std::wstring& brovantine, const std::wstring& bareNote,
                 const std::wstring& trivial, int runs) {
  std::vector<double> ours, note, floor, window;
  for (int i = 0; i < runs; ++i) {
    window.push_back(StartUp(trivial, L"Trivial", L"Trivial"));
    note.push_back(StartUp(bareNote, L"#32770", L"IMPORTANT NOTE"));
    floor.push_back(StartUp(bareNote, L"#32770", L"IMPORTANT NOTE", L"controls"));
    ours.push_back(StartUp(brovantine, L"#32770", L"IMPORTANT NOTE"));
  }
  const double a = Median(ours), b = Median(note), c = Median(window), d = Median(floor);
  std::printf("start-up until the note is visible: median %.1f ms over %d runs\n", a, runs);
  std::printf("bare note program:                  median %.1f ms; ratio %.2f\n", b, a / b);
  std::printf("bare note after plain controls:     median %.1f ms; ratio %.2f (itself %.2f)\n", d,
              a / d, d / b);
  std::printf("trivial window program:             median %.1f ms; ratio %.2f\n", c, a / c);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc >= 5 && std::wstring(argv[1]) == L"--startup") {
    return StartUpBench(argv[2], argv[3], argv[4], argc > 5 ? _wtoi(argv[5]) : 7);
  }
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  ResetScratch();
  brv::Win32Registry registry;
  brv::Win32Desktop desktop;
  // The real window and its list boxes, made without the load (the note):
  // no messages are handled.
  auto window =
      brv::MainWindow::Create(GetModuleHandleW(nullptr), &registry, &desktop, SW_HIDE, false);
  if (!window) return 1;
  window->ShowMain();
  brv::bench::Env env;
  env.registry = &registry;
  env.form = &window->Form();
  env.reset = ResetScratch;
  env.enumerateKeys = [](const brv::RegAddress& at) { BareEnumeration(at, true); };
  env.enumerateValues = [](const brv::RegAddress& at) { BareEnumeration(at, false); };
  env.sizes = {1000, 10000, 100000};
  env.peakMemory = [] {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    return K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters))
               ? static_cast<size_t>(counters.PeakWorkingSetSize)
               : size_t(0);
  };
  if (argc > 2) {
    env.sizes.clear();
    for (int i = 2; i < argc; ++i) env.sizes.push_back(wcstoul(argv[i], nullptr, 10));
  }
  const std::string filter = argc > 1 ? brv::FromWide(argv[1], wcslen(argv[1])) : "";
  brv::bench::RunAll(env, filter == "all" ? "" : filter);
  window.reset();
  RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
  RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
  SHDeleteKeyW(HKEY_CURRENT_USER, kScratch);
  return 0;
}
