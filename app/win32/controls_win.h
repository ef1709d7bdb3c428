// The handlers' controls bound to real child windows.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <utility>

#include "base/wide_win.h"
#include "form/controls.h"

namespace brv {

std::string WindowText(HWND window);

// The hints of the list boxes: one tooltip window, made the first time the
// pointer moves over a list (the program starts without it); until then the
// hints are kept here.
class ToolTips {
 public:
  explicit ToolTips(HWND parent) : parent_(parent) {}
  ToolTips(const ToolTips&) = delete;
  ToolTips& operator=(const ToolTips&) = delete;
  void Add(HWND control, const std::string& text);
  void SetText(HWND control, const std::string& text);
  std::string Text(HWND control) const;
  void SetFont(HFONT font);
  // Tells the tooltip of a mouse message over one of its controls.
  void Relay(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  TOOLINFOW Tool(HWND control, wchar_t* text) const;

  HWND parent_;
  HWND window_ = nullptr;  // owned by the parent, and goes with it
  bool tried_ = false;
  HFONT font_ = nullptr;
  std::vector<std::pair<HWND, std::wstring>> hints_;
};

class Win32ListBox : public ListBox {
 public:
  Win32ListBox(HWND list, ToolTips* tips) : list_(list), tips_(tips) {}
  void Clear() override;
  void AddItems(std::vector<ListItem> items) override;
  int ListCount() const override;
  std::string List(int index) const override;
  const ListItem* Item(int index) const override;
  int ListIndex() const override;
  void SetListIndex(int index) override;
  void SetToolTipText(const std::string& text) override;
  std::string ToolTipText() const override;
  HWND Handle() const { return list_; }
  // The list box's own procedure, once the window has subclassed it: items
  // are added straight through it, which halves the cost of each add.
  void SetOwnProcedure(WNDPROC procedure) { own_ = procedure; }
  // Measures every item again, in the list's font now (a DPI change).
  void Remeasure();
  // The list scrolls sideways as far as its widest item, measured as the
  // items are added, where it is narrower than that (again once it is
  // resized).
  void SetExtent();

 private:
  HWND list_;
  ToolTips* tips_;
  WNDPROC own_ = nullptr;
  std::vector<ListItem> items_;  // by index, as the (unsorted) list holds them
  int widest_ = 0;               // pixels, in the list's font
};

class Win32TextBox : public TextBox {
 public:
  explicit Win32TextBox(HWND edit) : edit_(edit) {}
  void SetText(const std::string& text) override;
  std::string Text() const override;

 private:
  HWND edit_;
};

class Win32StatusBar : public StatusBar {
 public:
  explicit Win32StatusBar(HWND bar) : bar_(bar) {}
  void SetText(const std::string& text) override;
  std::string Text() const override;
  HWND Handle() const { return bar_; }

 private:
  HWND bar_;
};

class Win32Button : public Button {
 public:
  explicit Win32Button(HWND button) : button_(button) {}
  void SetEnabled(bool enabled) override;
  bool Enabled() const override;

 private:
  HWND button_;
};

}  // namespace brv
