// Real child windows from a layout table, placed where the table is
// arranged for the window's DPI (app/arrange.h), the captions measured in
// the fonts the controls draw them with.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "app/arrange.h"
#include "app/layout.h"

namespace brv {

// The fonts the tables name, at one DPI, deleted with the set.
class FontSet {
 public:
  explicit FontSet(int dpi);
  ~FontSet();
  FontSet(const FontSet&) = delete;
  FontSet& operator=(const FontSet&) = delete;
  HFONT Get(FontKind kind) const;

 private:
  HFONT fonts_[6] = {};
};

// The size a control's caption takes in `font`, wrapped at `width` as the
// control wraps it (on one line for 0).
TextSize MeasureCaption(HDC dc, HFONT font, const ControlSpec& spec, int width);

// The table arranged at `dpi` with the captions measured in `fonts`.
Arrangement ArrangeTable(const FormSpec& form, int dpi, const FontSet& fonts);

struct BuiltControls {
  std::map<std::string, HWND> byName;
  std::map<int, const ControlSpec*> byId;
  // The control that could not be made, or empty.
  std::string failed;
};

// Creates the table's controls as children of `parent` where `arranged`
// puts them, ids from `firstId` in table order, frames beneath the controls
// they hold. Stops at the first window it cannot make and returns false,
// naming it in `built->failed`; what it made goes when `parent` goes.
bool BuildControls(HWND parent, const FormSpec& form, const Arrangement& arranged,
                   const FontSet& fonts, int firstId, BuiltControls* built);
// Moves the built controls where `arranged` puts them, in `fonts` (in the
// fonts they have with nullptr).
void PlaceControls(const BuiltControls& built, const FormSpec& form, const Arrangement& arranged,
                   const FontSet* fonts);

// A table's controls laid out for one DPI, with the fonts they draw with.
struct TableLayout {
  std::unique_ptr<FontSet> fonts;
  Arrangement table;     // the table arranged at this DPI: the smallest layout
  Arrangement arranged;  // as placed, for the area the window has
  BuiltControls built;
  int dpi = 96;

  // Makes the fonts and the controls (see BuildControls), at the table's
  // size.
  bool Build(HWND parent, const FormSpec& form, int dpi, int firstId);
  // After a DPI change: new fonts, the table arranged again, the controls
  // moved to it (Resize then fits them to the window); the old fonts go
  // once nothing draws with them.
  void Relayout(const FormSpec& form, int dpi);
  // The controls moved for an area of `width` x `height` (see Stretch),
  // those that change only; the part of the client area they leave or take
  // added to `changed`. False when none moved.
  bool Resize(const FormSpec& form, int width, int height, HRGN changed);
  HWND Control(const std::string& name) const;
  // The control's box as arranged, in client coordinates.
  RECT BoxOf(const FormSpec& form, const char* name) const;
};

// The answer to WM_CTLCOLORSTATIC from one of the built controls: labels
// and read-only text boxes on the button face, the text of those the table
// marks kBlueText in blue.
LRESULT LabelColors(const BuiltControls& built, WPARAM wParam, LPARAM lParam);

// The menu bar of the table; item ids from `firstId` in table order.
HMENU BuildMenu(const FormSpec& form, int firstId);

// The window size for a client area, with this style and menu, at `dpi`.
SIZE WindowSizeFor(int clientWidth, int clientHeight, int dpi, DWORD style, DWORD exStyle,
                   bool hasMenu);

}  // namespace brv
