#include "app/win32/layout_win.h"

#include <commctrl.h>

#include "app/win32/controls_win.h"

namespace brv {

int Twips(int twips, int dpi) {
  return MulDiv(twips, dpi, 1440);
}

namespace {

HFONT MakeFont(const wchar_t* face, int points, int dpi, int weight, bool underline) {
  return CreateFontW(-MulDiv(points, dpi, 72), 0, 0, 0, weight, FALSE, underline ? TRUE : FALSE,
                     FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, face);
}

}  // namespace

FontSet::FontSet(int dpi) {
  fonts_[static_cast<int>(FontKind::Default)] = MakeFont(L"MS Shell Dlg", 8, dpi, FW_NORMAL, false);
  fonts_[static_cast<int>(FontKind::Arial)] = MakeFont(L"Arial", 8, dpi, FW_NORMAL, false);
  fonts_[static_cast<int>(FontKind::ArialBold)] = MakeFont(L"Arial", 8, dpi, FW_BOLD, false);
  fonts_[static_cast<int>(FontKind::ArialBlack)] =
      MakeFont(L"Arial Black", 8, dpi, FW_BLACK, false);
  fonts_[static_cast<int>(FontKind::ArialBold9)] = MakeFont(L"Arial", 9, dpi, FW_BOLD, false);
  fonts_[static_cast<int>(FontKind::ArialBoldUnderline9)] =
      MakeFont(L"Arial", 9, dpi, FW_BOLD, true);
}

FontSet::~FontSet() {
  for (HFONT font : fonts_) {
    if (font) DeleteObject(font);
  }
}

HFONT FontSet::Get(FontKind kind) const {
  return fonts_[static_cast<int>(kind)];
}

bool BuildControls(HWND parent, const FormSpec& form, int dpi, const FontSet& fonts, int firstId,
                   BuiltControls* built) {
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  built->toolTip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                   parent, nullptr, instance, nullptr);
  if (!built->toolTip) {
    built->failed = "(tooltip)";
    return false;
  }
  // The first-made child lies on top: boxes, buttons and rules first, then
  // labels (whose background must not cover a box's border where the two
  // touch), frames last so that what a frame holds is drawn over it.
  const auto passOf = [](ControlKind kind) {
    return kind == ControlKind::Frame ? 2 : kind == ControlKind::Label ? 1 : 0;
  };
  for (int pass = 0; pass < 3; ++pass) {
    for (size_t index = 0; index < form.controls.size(); ++index) {
      const ControlSpec& spec = form.controls[index];
      if (passOf(spec.kind) != pass) continue;
      int left = spec.left;
      int top = spec.top;
      if (spec.container) {
        const ControlSpec* container = FindControl(form, spec.container);
        left += container->left;
        top += container->top;
      }
      DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
      if (!(spec.flags & kHidden)) style |= WS_VISIBLE;
      if (spec.flags & kDisabled) style |= WS_DISABLED;
      DWORD exStyle = 0;
      const wchar_t* className = L"STATIC";
      int height = Twips(spec.height, dpi);
      switch (spec.kind) {
        case ControlKind::Label:
          style |= SS_LEFT | SS_NOPREFIX | SS_NOTIFY;
          break;
        case ControlKind::Frame:
          className = L"BUTTON";
          style |= BS_GROUPBOX;
          break;
        case ControlKind::ListBox:
          className = L"LISTBOX";
          style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP | WS_GROUP;
          exStyle = WS_EX_CLIENTEDGE;
          break;
        case ControlKind::TextBox:
          className = L"EDIT";
          style |= ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP;
          exStyle = WS_EX_CLIENTEDGE;
          break;
        case ControlKind::Button:
          className = L"BUTTON";
          style |= BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP | WS_GROUP;
          break;
        case ControlKind::Line:
          style |= (spec.flags & kGreyLine) ? SS_ETCHEDHORZ : SS_WHITERECT;
          height = (spec.flags & kGreyLine) ? 2 : 1;
          break;
        case ControlKind::Picture:
          style |= SS_ICON | SS_NOTIFY;
          break;
      }
      const int id = firstId + static_cast<int>(index);
      HWND control =
          CreateWindowExW(exStyle, className, ToWide(spec.caption).c_str(), style, Twips(left, dpi),
                          Twips(top, dpi), Twips(spec.width, dpi), height, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
      if (!control) {
        built->failed = spec.name;
        return false;
      }
      SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.Get(spec.font)), FALSE);
      built->byName[spec.name] = control;
      built->byId[id] = &spec;
      if (spec.kind == ControlKind::ListBox) {
        std::wstring hint = (spec.flags & kHint) ? ToWide(kIdentifierHint) : std::wstring();
        TOOLINFOW tool = {};
        tool.cbSize = sizeof(tool);
        // The tooltip is told of mouse messages by the window (RelayToToolTip):
        // letting it subclass the list box makes every message of the box slow.
        tool.uFlags = TTF_IDISHWND;
        tool.hwnd = parent;
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.lpszText = hint.data();
        SendMessageW(built->toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
      }
    }
  }
  return true;
}

LRESULT LabelColors(const BuiltControls& built, WPARAM wParam, LPARAM lParam) {
  HDC dc = reinterpret_cast<HDC>(wParam);
  auto it = built.byId.find(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
  if (it != built.byId.end() && (it->second->flags & kBlueText)) {
    SetTextColor(dc, RGB(0, 0, 255));
  }
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void RelayToToolTip(HWND toolTip, HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!toolTip) return;
  MSG relayed = {};
  relayed.hwnd = control;
  relayed.message = message;
  relayed.wParam = wParam;
  relayed.lParam = lParam;
  SendMessageW(toolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

HMENU BuildMenu(const FormSpec& form, int firstId) {
  if (form.menus.empty()) return nullptr;
  HMENU bar = CreateMenu();
  std::map<std::string, HMENU> popups;
  for (size_t index = 0; index < form.menus.size(); ++index) {
    const MenuSpec& spec = form.menus[index];
    bool hasChildren = false;
    for (const MenuSpec& other : form.menus) {
      hasChildren = hasChildren || (other.parent && std::string(other.parent) == spec.name);
    }
    HMENU into = spec.parent ? popups[spec.parent] : bar;
    const std::wstring caption = ToWide(spec.caption);
    if (hasChildren) {
      HMENU popup = CreatePopupMenu();
      popups[spec.name] = popup;
      AppendMenuW(into, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), caption.c_str());
    } else {
      AppendMenuW(into, MF_STRING, static_cast<UINT_PTR>(firstId + static_cast<int>(index)),
                  caption.c_str());
    }
  }
  return bar;
}

SIZE WindowSizeFor(const FormSpec& form, int dpi, DWORD style, DWORD exStyle, bool hasMenu) {
  RECT rect = {0, 0, Twips(form.clientWidth, dpi), Twips(form.clientHeight, dpi)};
  AdjustWindowRectEx(&rect, style, hasMenu ? TRUE : FALSE, exStyle);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace brv
