// The main window: its controls from the layout table, bound to the
// handlers.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <map>

#include "app/events.h"
#include "app/win32/controls_win.h"
#include "app/win32/layout_win.h"

namespace brv {

inline constexpr int kFirstControlId = 1000;
inline constexpr int kFirstMenuId = 100;
// Posted once the window shows: runs the window load (note, then fills).
inline constexpr UINT kLoadMessage = WM_APP + 1;

class MainWindow : public Windows {
 public:
  // Creates the window and its controls, hidden, and posts its load: the
  // start-up note, then the window shows and the panels fill. Returns
  // nullptr, leaving no window behind, when the window or one of its
  // controls could not be made. With `endProgram`, the window's destruction
  // ends the message loop.
  static std::unique_ptr<MainWindow> Create(HINSTANCE instance, Registry* registry,
                                            Desktop* desktop, int showCommand, bool endProgram);
  ~MainWindow() override;

  HWND Handle() const { return window_; }
  HWND Control(const std::string& name) const;
  int MenuId(const std::string& name) const;
  Form1& Form() { return form_; }

  void ShowMain() override;
  void ShowAbout() override;
  void CloseAbout() override;
  void CloseMain() override;

 private:
  MainWindow() = default;
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Abandon(UINT message);
  void Dispatch(const char* control, Event event);
  void Bind();

  HWND window_ = nullptr;
  HINSTANCE instance_ = nullptr;
  bool endProgram_ = false;
  int showCommand_ = SW_SHOWNORMAL;
  std::unique_ptr<FontSet> fonts_;
  BuiltControls built_;
  std::map<std::string, std::unique_ptr<Win32ListBox>> lists_;
  std::map<std::string, std::unique_ptr<Win32TextBox>> texts_;
  std::map<std::string, std::unique_ptr<Win32Button>> buttons_;
  std::unique_ptr<Win32StatusBar> statusBar_;
  Form1 form_;
};

}  // namespace brv
