// The one window model of the program: a base class whose static window
// procedure hands each message to its object, owning wrappers for the GDI and
// user handles the windows use, and the one message loop, which gives every
// window of the program dialog navigation and its keys.
#pragma once

#include <windows.h>

#include <string>

#include "base/owned_win.h"

namespace brv {

// Sent by the system (per-monitor DPI awareness) before and when a window
// moves to a monitor of another DPI.
inline constexpr UINT kDpiChangedMessage = 0x02E0;        // WM_DPICHANGED
inline constexpr UINT kGetDpiScaledSizeMessage = 0x02E4;  // WM_GETDPISCALEDSIZE

// A device context for a window's client area (or the screen), released when
// it goes.
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// A font, pen or brush selected into a device context until this goes.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object)
      : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
  ~SelectedObject() {
    if (previous_) SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A menu not (yet) given to a window, unless released to the window that
// takes it; an accelerator table.
using OwnedMenu = Owned<HMENU, &DestroyMenu>;
using OwnedAccelerators = Owned<HACCEL, &DestroyAcceleratorTable>;
using OwnedRegion = Owned<HRGN, &DeleteObject>;

// Adds a rectangle to a region (left as it is when the system cannot).
void AddToRegion(HRGN region, const RECT& rect);
// Adds to `region` what waits to be painted in `window` and its children,
// in its client coordinates.
void AddPending(HWND window, HRGN region);

// A top-level window of the program. The object lives at least as long as
// its window: the window may be destroyed first (closed by the user), the
// object then holds no handle. Destroying the object destroys the window.
class Window {
 public:
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // The window, or nullptr once it is gone.
  HWND Handle() const { return window_; }
  // The dots per inch the window is laid out for.
  int Dpi() const { return dpi_; }

 protected:
  Window() = default;

  struct Frame {
    const wchar_t* className;
    bool withIcon;
    DWORD style;
    DWORD exStyle;
    std::wstring caption;
    int x, y, width, height;  // x may be CW_USEDEFAULT
    HWND owner;
    HMENU menu;  // the window takes it once made
  };
  // Registers the class once and makes the window; this object receives all
  // its messages from the first. False when the window could not be made.
  bool CreateFrame(HINSTANCE instance, const Frame& frame);

  // The window's messages; what it leaves goes to Default.
  virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
  // An exception left OnMessage: the action is abandoned where it was.
  virtual LRESULT OnAbandoned(UINT message);
  // The keys the message loop translates for this window, if any.
  virtual HACCEL Accelerators() const { return nullptr; }

  // The control that gets the focus when the window is next activated; the
  // controls report it as they get the focus.
  void SetFocusTarget(HWND control) { focus_ = control; }
  // Destroys the window without handing its last messages to this object
  // (for destructors: what the object holds may be gone by then).
  void DestroyDetached();
  void SetDpi(int dpi) { dpi_ = dpi; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Route(UINT message, WPARAM wParam, LPARAM lParam);
  void RestoreFocus();

  HWND window_ = nullptr;
  HWND focus_ = nullptr;
  int dpi_ = 96;
};

// The dots per inch of the monitor a window is on (per-monitor awareness),
// or of the system where the system cannot tell.
int WindowDpi(HWND window);

// One message from the queue, as the program handles it: a key for one of
// the program's windows goes through that window's accelerators and dialog
// navigation (Tab, Shift+Tab, Enter, Escape); everything else is translated
// and dispatched.
void HandleQueuedMessage(MSG& message);
// Runs the message loop until WM_QUIT; returns its exit code.
int RunMessageLoop();

}  // namespace brv
