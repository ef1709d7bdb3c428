// Real child windows from a layout table, scaled from twips to the screen's
// DPI.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "app/layout.h"

namespace brv {

int Twips(int twips, int dpi);

// The fonts the tables name, made once per window and deleted with it.
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

struct BuiltControls {
  std::map<std::string, HWND> byName;
  std::map<int, const ControlSpec*> byId;
  HWND toolTip = nullptr;
  // The control that could not be made ("(tooltip)" for the tooltip window),
  // or empty.
  std::string failed;
};

// Creates the table's controls as children of `parent`, ids from `firstId`
// in table order, frames beneath the controls they hold. List boxes get a
// tool in one tooltip window, with the identifier hint where the table says.
// Stops at the first window it cannot make and returns false, naming it in
// `built->failed`; what it made goes when `parent` goes.
bool BuildControls(HWND parent, const FormSpec& form, int dpi, const FontSet& fonts, int firstId,
                   BuiltControls* built);

// The answer to WM_CTLCOLORSTATIC from one of the built controls: labels
// and read-only text boxes on the button face, the text of those the table
// marks kBlueText in blue.
LRESULT LabelColors(const BuiltControls& built, WPARAM wParam, LPARAM lParam);

// Tells the tooltip of a mouse message for one of its tools.
void RelayToToolTip(HWND toolTip, HWND control, UINT message, WPARAM wParam, LPARAM lParam);

// The menu bar of the table; item ids from `firstId` in table order.
HMENU BuildMenu(const FormSpec& form, int firstId);

// Window size for the table's client area, with this style and menu.
SIZE WindowSizeFor(const FormSpec& form, int dpi, DWORD style, DWORD exStyle, bool hasMenu);

}  // namespace brv
