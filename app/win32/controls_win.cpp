#include "app/win32/controls_win.h"

#include <commctrl.h>

#include <algorithm>

#include "app/win32/window_win.h"
#include "base/text.h"

namespace brv {

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  return FromWide(text.data(), static_cast<size_t>(copied > 0 ? copied : 0));
}

namespace {

// Where an item's text begins in its list box.
constexpr int kItemMargin = 2;

HFONT FontOf(HWND window) {
  return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
}

// Widths of texts in a window's font. Most names are of the first 256
// characters: their advance widths, asked once, are added up (as the system
// adds them); other texts are measured whole.
class TextWidths {
 public:
  explicit TextWidths(HWND window) : dc_(window), font_(dc_.Get(), FontOf(window)) {
    narrow_ = dc_.Get() && GetCharWidth32W(dc_.Get(), 0, 255, widths_);
  }
  // 0 if the text cannot be measured.
  int Of(const std::wstring& text) const {
    if (narrow_) {
      int sum = 0;
      size_t i = 0;
      for (; i < text.size() && text[i] < 256; ++i) sum += widths_[text[i]];
      if (i == text.size()) return sum;
    }
    SIZE size = {};
    if (!dc_.Get() ||
        !GetTextExtentPoint32W(dc_.Get(), text.c_str(), static_cast<int>(text.size()), &size)) {
      return 0;
    }
    return size.cx;
  }

 private:
  WindowDC dc_;
  SelectedObject font_;
  INT widths_[256] = {};
  bool narrow_ = false;
};

}  // namespace

void Win32ListBox::Clear() {
  SendMessageW(list_, LB_RESETCONTENT, 0, 0);
  items_.clear();
  widest_ = 0;
  SetExtent();
}

void Win32ListBox::SetExtent() {
  // Only a list whose widest item is wider than it scrolls: an extent that
  // fits may still bring the scroll bar (Wine, in a list exactly full).
  RECT client = {};
  GetClientRect(list_, &client);
  const int extent = widest_ + kItemMargin;
  const WPARAM wanted = extent > client.right ? extent : 0;
  if (static_cast<LRESULT>(wanted) != SendMessageW(list_, LB_GETHORIZONTALEXTENT, 0, 0)) {
    SendMessageW(list_, LB_SETHORIZONTALEXTENT, wanted, 0);
  }
}

void Win32ListBox::Remeasure() {
  const TextWidths widths(list_);
  widest_ = 0;
  for (const ListItem& item : items_) widest_ = std::max(widest_, widths.Of(ToWide(item.text)));
  SetExtent();
}

void Win32ListBox::AddItems(std::vector<ListItem> items) {
  if (items.empty()) return;
  // One repaint for the lot, with the storage reserved up front.
  SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  size_t bytes = 0;
  for (const ListItem& item : items) bytes += (item.text.size() + 1) * sizeof(wchar_t);
  SendMessageW(list_, LB_INITSTORAGE, items.size(), static_cast<LPARAM>(bytes));
  items_.reserve(items_.size() + items.size());
  {
    // Each item is measured as it is added, in the list's font.
    const TextWidths widths(list_);
    for (ListItem& item : items) {
      const std::wstring wide = ToWide(item.text);
      const LPARAM text = reinterpret_cast<LPARAM>(wide.c_str());
      const LRESULT added = own_ ? CallWindowProcW(own_, list_, LB_ADDSTRING, 0, text)
                                 : SendMessageW(list_, LB_ADDSTRING, 0, text);
      // Out of room: the rest is not shown, and no item stands for another.
      if (added < 0) break;
      widest_ = std::max(widest_, widths.Of(wide));
      items_.push_back(std::move(item));
    }
  }
  SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  // Decided once the list shows its vertical scroll bar, if it needs one.
  SetExtent();
  InvalidateRect(list_, nullptr, TRUE);
}

int Win32ListBox::ListCount() const {
  return static_cast<int>(SendMessageW(list_, LB_GETCOUNT, 0, 0));
}

std::string Win32ListBox::List(int index) const {
  const LRESULT length = SendMessageW(list_, LB_GETTEXTLEN, index, 0);
  if (length == LB_ERR) return std::string();
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied =
      SendMessageW(list_, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  return copied == LB_ERR ? std::string() : FromWide(text.data(), static_cast<size_t>(copied));
}

const ListItem* Win32ListBox::Item(int index) const {
  return index >= 0 && static_cast<size_t>(index) < items_.size() ? &items_[index] : nullptr;
}

int Win32ListBox::ListIndex() const {
  const LRESULT index = SendMessageW(list_, LB_GETCURSEL, 0, 0);
  return index == LB_ERR ? -1 : static_cast<int>(index);
}

void Win32ListBox::SetListIndex(int index) {
  SendMessageW(list_, LB_SETCURSEL, index, 0);
}

void Win32ListBox::SetToolTipText(const std::string& text) {
  if (tips_) tips_->SetText(list_, text);
}

std::string Win32ListBox::ToolTipText() const {
  return tips_ ? tips_->Text(list_) : std::string();
}

TOOLINFOW ToolTips::Tool(HWND control, wchar_t* text) const {
  TOOLINFOW tool = {};
  tool.cbSize = sizeof(tool);
  // Told of mouse messages by the window (Relay): letting the tooltip
  // subclass the list box makes every message of the box slow.
  tool.uFlags = TTF_IDISHWND;
  tool.hwnd = parent_;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = text;
  return tool;
}

void ToolTips::Add(HWND control, const std::string& text) {
  hints_.emplace_back(control, ToWide(text));
  if (!window_) return;
  TOOLINFOW tool = Tool(control, hints_.back().second.data());
  SendMessageW(window_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void ToolTips::SetText(HWND control, const std::string& text) {
  for (auto& hint : hints_) {
    // Set on every pointer movement: an unchanged text is left alone, so
    // that a tip on show does not flicker.
    if (hint.first != control || hint.second == ToWide(text)) continue;
    hint.second = ToWide(text);
    if (!window_) continue;
    TOOLINFOW tool = Tool(control, hint.second.data());
    SendMessageW(window_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

std::string ToolTips::Text(HWND control) const {
  for (const auto& hint : hints_) {
    if (hint.first != control) continue;
    if (!window_) return FromWide(hint.second.data(), hint.second.size());
    // What the tooltip itself holds.
    wchar_t buffer[256] = {};
    TOOLINFOW tool = Tool(control, buffer);
    SendMessageW(window_, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
    return FromWide(buffer, wcslen(buffer));
  }
  return std::string();
}

void ToolTips::SetFont(HFONT font) {
  font_ = font;
  if (window_) SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void ToolTips::Relay(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!window_ && !tried_) {
    // Made once; without it (no room for one more window) there are no
    // tips, and nothing else is missing.
    tried_ = true;
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent_, GWLP_HINSTANCE));
    window_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent_, nullptr,
                              instance, nullptr);
    if (!window_) return;
    if (font_) SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    for (auto& hint : hints_) {
      TOOLINFOW tool = Tool(hint.first, hint.second.data());
      SendMessageW(window_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
  }
  if (!window_) return;
  MSG relayed = {};
  relayed.hwnd = control;
  relayed.message = message;
  relayed.wParam = wParam;
  relayed.lParam = lParam;
  SendMessageW(window_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void Win32TextBox::SetText(const std::string& text) {
  // The window keeps the text up to the first NUL, as a C string ends there.
  SetWindowTextW(edit_, ToWide(CutAtNul(text)).c_str());
}

std::string Win32TextBox::Text() const {
  return WindowText(edit_);
}

void Win32StatusBar::SetText(const std::string& text) {
  SetWindowTextW(bar_, ToWide(CutAtNul(text)).c_str());
}

std::string Win32StatusBar::Text() const {
  return WindowText(bar_);
}

void Win32Button::SetEnabled(bool enabled) {
  EnableWindow(button_, enabled ? TRUE : FALSE);
}

bool Win32Button::Enabled() const {
  return IsWindowEnabled(button_) != FALSE;
}

}  // namespace brv
