// The About window: shown without waiting, owned by the main window (it
// stays above it; the main window stays usable).
#pragma once

#include <windows.h>

#include <memory>

#include "app/links.h"
#include "app/win32/layout_win.h"
#include "app/win32/window_win.h"
#include "form/desktop.h"

namespace brv {

class AboutWindow : public Window {
 public:
  // Makes and shows the About window, centred on its owner, at the owner's
  // DPI. Its links go through `desktop`, its closing through `windows`.
  // Returns nullptr, leaving no window behind, when it cannot be made whole.
  static std::unique_ptr<AboutWindow> Create(HINSTANCE instance, HWND owner, Desktop* desktop,
                                             Windows* windows, int dpi);
  ~AboutWindow() override;

  void BringToFront();
  // One of its controls by name, or nullptr.
  HWND Control(const char* name) const;

 private:
  AboutWindow() = default;
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  static LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR self);
  bool Build();
  void Placed();
  SIZE Size() const;
  void Run(void (*handler)(SplashForm&));

  SplashForm form_;
  TableLayout layout_;
  RECT frame_ = {};  // Frame1, in client coordinates
  bool pressedInFrame_ = false;
};

}  // namespace brv
