// Driving the real main window in-process: a scratch registry behind the
// predefined root keys, message boxes answered as they open, clicks posted
// as a user's would arrive.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <initializer_list>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "app/layout.h"
#include "app/win32/desktop_win.h"
#include "app/win32/form1_win.h"
#include "registry/win32_registry_win.h"

namespace brv {

// Points HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE and HKEY_CLASSES_ROOT of this
// process at fresh, empty scratch keys until it goes.
class ScratchRegistry {
 public:
  ScratchRegistry();
  ~ScratchRegistry();
  ScratchRegistry(const ScratchRegistry&) = delete;
  ScratchRegistry& operator=(const ScratchRegistry&) = delete;

 private:
  HKEY keys_[3] = {};
};

struct SeenBox {
  std::string title;
  std::string text;
  bool hasOk = false, hasCancel = false, hasYes = false, hasNo = false, hasIcon = false;
};
bool operator==(const SeenBox& a, const SeenBox& b);
std::ostream& operator<<(std::ostream& out, const SeenBox& box);

// The box every delete shows before it deletes anything: OK and Cancel, no
// icon.
SeenBox DeleteConfirmation();

// Answers message boxes of this thread, in order, and records them. A box
// with no answer left is closed with Cancel, No or OK and recorded.
class BoxAnswerer {
 public:
  BoxAnswerer();
  ~BoxAnswerer();
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;

  std::deque<int> answers;  // IDOK, IDCANCEL, IDYES, IDNO
  std::vector<SeenBox> seen;
  // Runs as each box opens, before it is answered.
  void (*onShow)(void* context) = nullptr;
  void* context = nullptr;

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
  HHOOK hook_ = nullptr;
};

// Handles every message waiting for this thread as the program's message
// loop does, twice over a short pause so that messages posted while handling
// are handled too.
void Pump();

// Keys pressed together on the keyboard, as a user presses them (the first
// held while the next go down), delivered to the focused window through the
// message loop.
void PressKeys(std::initializer_list<WORD> keys);

// Clicks, double-clicks and selections as a user makes them.
void ClickListItem(HWND list, int index, bool doubleClick = false);
// The index of an item's text, or -1.
int FindListItem(HWND list, const std::string& text);
void ClickButton(HWND button);
void ChooseMenu(const MainWindow& window, const std::string& name);
std::vector<std::string> ListItems(HWND list);
// The host's path of a Windows path under Wine; empty elsewhere.
std::string UnixPath(const std::wstring& path);
// How many windows of a class this thread has (only the visible ones if
// asked).
int ThreadWindows(const wchar_t* className, bool visibleOnly = false);

// Checks a window against its layout table at `dpi`: the client area is at
// least the table's (a status bar below it), and each
// control lies where the table puts it (relative to the window, through its
// container) or, where its text needed room, wider or moved down. Returns
// the controls found by `control`, in table order, for further checks.
std::vector<HWND> ExpectLaidOut(HWND window, const FormSpec& layout, int dpi,
                                const std::function<HWND(const char*)>& control);

// A main window on the scratch registry with its start-up note answered.
class WindowTest {
 public:
  WindowTest();
  virtual ~WindowTest();
  // Creates the window and lets it load (the note answered with OK), on
  // `through` if given, else on `registry`.
  void Open(Registry* through = nullptr);
  HWND Control(const std::string& name) const { return window->Control(name); }
  // The About window while it is open, and its controls; nullptr otherwise.
  HWND About() const;
  HWND AboutControl(const char* name) const;
  std::string Text(const std::string& name) const;
  bool Enabled(const std::string& name) const;

  ScratchRegistry scratch;
  BoxAnswerer boxes;
  Win32Registry registry;
  Win32Desktop desktop;
  std::unique_ptr<MainWindow> window;
};

}  // namespace brv
