// The main window: its controls from the layout table, bound to the
// handlers.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "app/events.h"
#include "app/win32/controls_win.h"
#include "app/win32/layout_win.h"
#include "app/win32/splash_win.h"
#include "app/win32/window_win.h"
#include "app/win32/runner_win.h"
#include "files/win32_files_win.h"

namespace brv {

inline constexpr int kFirstControlId = 1000;
inline constexpr int kFirstMenuId = 100;
// The commands of the F5 and Ctrl+S keys.
inline constexpr int kRefreshKeyId = 90;
inline constexpr int kReportKeyId = 91;
// Posted once the window shows: runs the window load (note, then fills).
inline constexpr UINT kLoadMessage = WM_APP + 1;

class MainWindow : public Window, public Windows {
 public:
  // Creates the window and its controls, hidden, and posts its load: the
  // start-up note, then the window shows and the panels fill. Returns
  // nullptr, leaving no window behind, when the window or one of its
  // controls could not be made. With `endProgram`, the window's destruction
  // ends the message loop.
  static std::unique_ptr<MainWindow> Create(HINSTANCE instance, Registry* registry,
                                            Desktop* desktop, int showCommand, bool endProgram);
  ~MainWindow() override;

  HWND Control(const std::string& name) const;
  int MenuId(const std::string& name) const;
  Form1& Form() { return form_; }
  // The About window while it is open, or nullptr.
  AboutWindow* About() const;

  void ShowMain() override;
  void ShowAbout() override;
  void CloseAbout() override;
  void CloseMain() override;

 private:
  MainWindow() = default;
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnAbandoned(UINT message) override;
  HACCEL Accelerators() const override { return accelerators_.Get(); }
  static LRESULT CALLBACK ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR self);
  bool OnListMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
  bool OnListMenu(HWND list, const char* name, LPARAM at);
  void OnCommand(WPARAM wParam, LPARAM lParam);
  void OnDpiChanged(int dpi, const RECT* suggested);
  // Sizes the window around an area of the table (`area`, no smaller than
  // the table's) and the status bar below it, at `suggested` (a DPI change)
  // or where it is.
  void FitClient(const RECT* suggested, Area area);
  // The controls laid out for the client area the window has.
  void OnSize();
  int BarHeight() const;
  // The client area above the status bar.
  Area TableArea() const;
  void SetBarFonts();
  void Dispatch(const char* control, Event event);
  void Click(const char* button);
  const char* FocusedControl() const;
  void Bind();

  HINSTANCE instance_ = nullptr;
  bool endProgram_ = false;
  int showCommand_ = SW_SHOWNORMAL;
  TableLayout layout_;
  OwnedAccelerators accelerators_;
  std::map<std::string, std::unique_ptr<Win32ListBox>> lists_;
  std::map<std::string, std::unique_ptr<Win32TextBox>> texts_;
  std::map<std::string, std::unique_ptr<Win32Button>> buttons_;
  std::unique_ptr<Win32StatusBar> statusBar_;
  std::unique_ptr<ToolTips> tips_;
  std::unique_ptr<AboutWindow> about_;
  Win32Files files_;
  // Gone before the files and the controls: its thread uses the files, its
  // results the bar.
  std::unique_ptr<Win32Runner> runner_;
  std::unique_ptr<Win32Runner> reportRunner_;
  Form1 form_;
};

}  // namespace brv
