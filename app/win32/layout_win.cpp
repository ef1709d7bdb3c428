#include "app/win32/layout_win.h"

#include <commctrl.h>

#include "app/win32/controls_win.h"
#include "app/win32/window_win.h"
#include "base/system_library_win.h"

namespace brv {

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

TextSize MeasureCaption(HDC dc, HFONT font, const ControlSpec& spec, int width) {
  // As each kind draws its caption: a label wraps at words and shows '&' as
  // it is; a button centres its lines; a frame's caption is one line.
  UINT flags = DT_CALCRECT | DT_EXPANDTABS;
  if (spec.kind == ControlKind::Label) flags |= DT_NOPREFIX;
  if (spec.kind == ControlKind::Button) flags |= DT_CENTER;
  flags |= width > 0 && spec.kind != ControlKind::Frame ? DT_WORDBREAK : DT_SINGLELINE;
  const std::wstring text = ToWide(spec.caption);
  const int length = static_cast<int>(text.size());
  RECT rect = {0, 0, width > 0 ? width : 0, 0};
  SelectedObject selected(dc, font);
  if (!dc || !DrawTextW(dc, text.c_str(), length, &rect, flags)) return {};
  TextSize size = {rect.right - rect.left, rect.bottom - rect.top};
  if (spec.kind == ControlKind::Button && (flags & DT_WORDBREAK)) {
    // A button draws its caption wrapped again at the width this measure
    // gives, which can take more lines (Wine), centred as if it took as
    // many: the lines that follow run below. The caption needs the height
    // that keeps them inside.
    RECT drawn = {0, 0, rect.right, 0};
    if (DrawTextW(dc, text.c_str(), length, &drawn, flags) && drawn.bottom > rect.bottom) {
      size.height = 2 * drawn.bottom - rect.bottom;
    }
  }
  return size;
}

Arrangement ArrangeTable(const FormSpec& form, int dpi, const FontSet& fonts) {
  WindowDC screen(nullptr);
  return Arrange(form, dpi, [&](const ControlSpec& spec, int width) {
    return MeasureCaption(screen.Get(), fonts.Get(spec.font), spec, width);
  });
}

namespace {

// The creation order is the z-order, the first made on top: boxes, buttons
// and rules first, then labels (whose background must not cover a box's
// border where the two touch), frames last so that what a frame holds is
// drawn over it.
int PassOf(ControlKind kind) {
  return kind == ControlKind::Frame ? 2 : kind == ControlKind::Label ? 1 : 0;
}

}  // namespace

bool BuildControls(HWND parent, const FormSpec& form, const Arrangement& arranged,
                   const FontSet& fonts, int firstId, BuiltControls* built) {
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  for (int pass = 0; pass < 3; ++pass) {
    for (size_t index = 0; index < form.controls.size(); ++index) {
      const ControlSpec& spec = form.controls[index];
      if (PassOf(spec.kind) != pass) continue;
      DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
      if (!(spec.flags & kHidden)) style |= WS_VISIBLE;
      if (spec.flags & kDisabled) style |= WS_DISABLED;
      DWORD exStyle = 0;
      const wchar_t* className = L"STATIC";
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
          style |=
              LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | WS_GROUP;
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
          break;
        case ControlKind::Picture:
          style |= SS_ICON | SS_NOTIFY;
          break;
      }
      const int id = firstId + static_cast<int>(index);
      const Box& box = arranged.boxes[index];
      HWND control =
          CreateWindowExW(exStyle, className, ToWide(spec.caption).c_str(), style, box.left,
                          box.top, box.Width(), box.Height(), parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
      if (!control) {
        built->failed = spec.name;
        return false;
      }
      // A rule takes an edge of its own as it is made: back to its box.
      if (spec.kind == ControlKind::Line) {
        SetWindowPos(control, nullptr, box.left, box.top, box.Width(), box.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
      }
      SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.Get(spec.font)), FALSE);
      built->byName[spec.name] = control;
      built->byId[id] = &spec;
    }
  }
  return true;
}

void PlaceControls(const BuiltControls& built, const FormSpec& form, const Arrangement& arranged,
                   const FontSet* fonts) {
  HDWP moves = BeginDeferWindowPos(static_cast<int>(built.byName.size()));
  for (size_t index = 0; index < form.controls.size(); ++index) {
    const ControlSpec& spec = form.controls[index];
    auto it = built.byName.find(spec.name);
    if (it == built.byName.end()) continue;
    if (fonts) {
      SendMessageW(it->second, WM_SETFONT, reinterpret_cast<WPARAM>(fonts->Get(spec.font)), FALSE);
    }
    const Box& box = arranged.boxes[index];
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    // Moved one by one if the system could not gather the moves.
    if (moves) {
      moves = DeferWindowPos(moves, it->second, nullptr, box.left, box.top, box.Width(),
                             box.Height(), flags);
    } else {
      SetWindowPos(it->second, nullptr, box.left, box.top, box.Width(), box.Height(), flags);
    }
  }
  if (moves) EndDeferWindowPos(moves);
}

bool TableLayout::Build(HWND parent, const FormSpec& form, int dpi, int firstId) {
  this->dpi = dpi;
  fonts = std::make_unique<FontSet>(dpi);
  table = ArrangeTable(form, dpi, *fonts);
  arranged = table;
  return BuildControls(parent, form, arranged, *fonts, firstId, &built);
}

void TableLayout::Relayout(const FormSpec& form, int dpi) {
  this->dpi = dpi;
  auto next = std::make_unique<FontSet>(dpi);
  table = ArrangeTable(form, dpi, *next);
  arranged = table;
  PlaceControls(built, form, arranged, next.get());
  fonts = std::move(next);
}

bool TableLayout::Resize(const FormSpec& form, int width, int height, HRGN changed) {
  Arrangement next = Stretch(form, table, dpi, width, height);
  bool moved = false;
  HDWP moves = BeginDeferWindowPos(static_cast<int>(built.byName.size()));
  for (size_t index = 0; index < form.controls.size() && index < next.boxes.size(); ++index) {
    const Box& was = arranged.boxes[index];
    const Box& box = next.boxes[index];
    HWND control = Control(form.controls[index].name);
    if (box == was || !control) continue;
    moved = true;
    // A frame draws only its edge and caption: the rest of it is the
    // window's and what lies on it, which need not be painted again.
    const bool frame = form.controls[index].kind == ControlKind::Frame;
    const int edge = Pixels(60, dpi), caption = Pixels(255, dpi);
    for (const Box& part : {was, box}) {
      const Box strips[] = {{part.left, part.top, part.right, part.top + caption},
                            {part.left, part.bottom - edge, part.right, part.bottom},
                            {part.left, part.top, part.left + edge, part.bottom},
                            {part.right - edge, part.top, part.right, part.bottom}};
      for (const Box& strip :
           frame ? std::vector<Box>(strips, strips + 4) : std::vector<Box>{part}) {
        AddToRegion(changed, RECT{strip.left, strip.top, strip.right, strip.bottom});
      }
    }
    // Painted once all are placed (see `changed`).
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS | SWP_NOREDRAW;
    if (moves) {
      moves = DeferWindowPos(moves, control, nullptr, box.left, box.top, box.Width(), box.Height(),
                             flags);
    } else {
      SetWindowPos(control, nullptr, box.left, box.top, box.Width(), box.Height(), flags);
    }
  }
  if (moves) EndDeferWindowPos(moves);
  arranged = std::move(next);
  return moved;
}

HWND TableLayout::Control(const std::string& name) const {
  auto it = built.byName.find(name);
  return it == built.byName.end() ? nullptr : it->second;
}

RECT TableLayout::BoxOf(const FormSpec& form, const char* name) const {
  const ControlSpec* spec = FindControl(form, name);
  if (!spec) return RECT{};
  const Box& box = arranged.boxes[static_cast<size_t>(spec - form.controls.data())];
  return RECT{box.left, box.top, box.right, box.bottom};
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
    if (!spec.caption) {
      AppendMenuW(into, MF_SEPARATOR, 0, nullptr);
      continue;
    }
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

SIZE WindowSizeFor(int clientWidth, int clientHeight, int dpi, DWORD style, DWORD exStyle,
                   bool hasMenu) {
  // The frame at the window's own DPI where the system can say (Windows 10
  // 1607 and later), else at the system's.
  using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto adjustForDpi =
      FindFunction<AdjustForDpi>(GetModuleHandleW(L"user32"), "AdjustWindowRectExForDpi");
  RECT rect = {0, 0, clientWidth, clientHeight};
  const BOOL menu = hasMenu ? TRUE : FALSE;
  if (!adjustForDpi || !adjustForDpi(&rect, style, menu, exStyle, static_cast<UINT>(dpi))) {
    rect = {0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&rect, style, menu, exStyle);
  }
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace brv
