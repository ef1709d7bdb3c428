// Benchmarks under Wine: the fills on the real registry (behind scratch keys)
// into the real window's list boxes, and the start-up time.
//   brovantine_winbench [FILTER] [SIZES...]
//   brovantine_winbench --startup BROVANTINE.exe BARE_NOTE.exe TRIVIAL.exe [RUNS]
//   brovantine_winbench --resize [ENTRIES]
#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/win32/controls_win.h"
#include "app/win32/desktop_win.h"
#include "app/win32/form1_win.h"
#include "app/win32/layout_win.h"
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

// A window with the main window's controls whose size change only moves
// them all by as much (the floor of a resize).
class Mover {
 public:
  bool Create() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"BrovantineBenchMover";
    RegisterClassW(&windowClass);
    window_ =
        CreateWindowExW(0, windowClass.lpszClassName, L"Mover", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                        0, 100, 100, nullptr, nullptr, windowClass.hInstance, this);
    if (!window_) return false;
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    fonts_ = std::make_unique<brv::FontSet>(96);
    arranged_ = brv::ArrangeTable(brv::Form1Layout(), 96, *fonts_);
    bar_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window_,
                           nullptr, windowClass.hInstance, nullptr);
    return bar_ &&
           brv::BuildControls(window_, brv::Form1Layout(), arranged_, *fonts_, 1000, &built_);
  }
  ~Mover() {
    if (window_) DestroyWindow(window_);
  }
  HWND Handle() const { return window_; }
  HWND Control(const char* name) const { return built_.byName.at(name); }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Mover*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_SIZE && self && self->bar_) {
      SendMessageW(self->bar_, WM_SIZE, 0, 0);
      const int dx = LOWORD(lParam) - self->width_, dy = HIWORD(lParam) - self->height_;
      if (self->width_ >= 0) {
        HDWP moves = BeginDeferWindowPos(static_cast<int>(self->built_.byName.size()));
        for (const auto& entry : self->built_.byName) {
          RECT rect;
          GetWindowRect(entry.second, &rect);
          MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
          moves = DeferWindowPos(moves, entry.second, nullptr, rect.left + dx, rect.top + dy, 0, 0,
                                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        EndDeferWindowPos(moves);
      }
      self->width_ = LOWORD(lParam);
      self->height_ = HIWORD(lParam);
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  HWND window_ = nullptr;
  HWND bar_ = nullptr;
  std::unique_ptr<brv::FontSet> fonts_;
  brv::Arrangement arranged_;
  brv::BuiltControls built_;
  int width_ = -1, height_ = -1;
};

// Milliseconds for a window to take a size (WM_SIZE handled) and to paint
// itself after: the best of `runs` each, from the size it has to `grown`
// larger and back each run.
struct Step {
  double size, paint;
};
Step ResizeStep(HWND window, int grown, int runs) {
  RECT rect;
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  Step best{1e300, 1e300};
  for (int run = 0; run < 2 * runs; ++run) {
    const int by = run % 2 ? 0 : grown;
    LARGE_INTEGER frequency, start, sized, painted;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    SetWindowPos(window, nullptr, 0, 0, width + by, height + by,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    QueryPerformanceCounter(&sized);
    UpdateWindow(window);
    GdiFlush();
    QueryPerformanceCounter(&painted);
    const auto ms = [&](const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
      return 1e3 * static_cast<double>(to.QuadPart - from.QuadPart) /
             static_cast<double>(frequency.QuadPart);
    };
    if (ms(start, painted) < best.size + best.paint) best = {ms(start, sized), ms(sized, painted)};
  }
  return best;
}

// The main window's resize step, with `entries` entries in every list,
// beside the mover's with as many.
int ResizeBench(brv::MainWindow& window, size_t entries) {
  Mover mover;
  if (!mover.Create()) return 1;
  brv::Form1& form = window.Form();
  for (brv::ListBox* list :
       {form.List1, form.List2, form.List3, form.List4, form.List5, form.List6, form.List7}) {
    std::vector<brv::ListItem> items(entries);
    for (size_t i = 0; i < entries; ++i) items[i].text = brv::bench::Identifier(i);
    list->AddItems(std::move(items));
  }
  for (const char* name : {"List1", "List2", "List3", "List4", "List5", "List6", "List7"}) {
    HWND list = mover.Control(name);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    for (size_t i = 0; i < entries; ++i) {
      SendMessageW(list, LB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>(brv::ToWide(brv::bench::Identifier(i)).c_str()));
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  }
  RECT rect;
  GetWindowRect(window.Handle(), &rect);
  SetWindowPos(mover.Handle(), nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOMOVE | SWP_NOZORDER);
  for (int grown : {1, 200}) {
    Step ours{1e300, 1e300}, floor{1e300, 1e300};
    // In turn, so that both meet the same state of the machine; each shown
    // alone, so that neither uncovers the other.
    for (int round = 0; round < 7; ++round) {
      for (HWND measured : {window.Handle(), mover.Handle()}) {
        ShowWindow(measured == window.Handle() ? mover.Handle() : window.Handle(), SW_HIDE);
        ShowWindow(measured, SW_SHOWNOACTIVATE);
        UpdateWindow(measured);
        Step& best = measured == window.Handle() ? ours : floor;
        const Step step = ResizeStep(measured, grown, 3);
        if (step.size + step.paint < best.size + best.paint) best = step;
      }
    }
    std::printf(
        "resize step, %3d px larger, %zu entries per list: %7.2f ms (sized %6.2f, painted %6.2f); "
        "controls only moved %7.2f ms (%6.2f, %6.2f); ratio %.2f\n",
        grown, entries, ours.size + ours.paint, ours.size, ours.paint, floor.size + floor.paint,
        floor.size, floor.paint, (ours.size + ours.paint) / (floor.size + floor.paint));
  }
  return 0;
}

// The fills, as the filter and sizes on the command line say.
void RunFills(brv::MainWindow& window, brv::Registry* registry, int argc, wchar_t** argv) {
  brv::bench::Env env;
  env.registry = registry;
  env.form = &window.Form();
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
  int result = 0;
  if (argc >= 2 && std::wstring(argv[1]) == L"--resize") {
    result = ResizeBench(*window, argc > 2 ? wcstoul(argv[2], nullptr, 10) : 100000);
  } else {
    RunFills(*window, &registry, argc, argv);
  }
  window.reset();
  RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
  RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
  SHDeleteKeyW(HKEY_CURRENT_USER, kScratch);
  return result;
}
