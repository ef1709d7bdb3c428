// The main window's controls and menus, as one table each. Positions are in
// twips (1/1440 inch), relative to the container; the window code scales them
// to the window's DPI.
#pragma once

#include <string>
#include <vector>

namespace brv {

enum class ControlKind { Label, Frame, ListBox, TextBox, Button, Line, Picture };
enum class FontKind { Default, Arial, ArialBold, ArialBlack, ArialBold9, ArialBoldUnderline9 };

enum ControlFlags : unsigned {
  kNoFlags = 0,
  kDisabled = 1,   // disabled when the window opens
  kHidden = 2,     // never shown
  kHint = 4,       // carries the identifier hint from the start
  kBlueText = 8,   // text drawn in blue
  kGreyLine = 16,  // a rule drawn in grey (else white)
};

struct ControlSpec {
  const char* name;
  ControlKind kind;
  const char* container;  // nullptr: the window itself
  const char* caption;
  int left, top, width, height;
  FontKind font;
  unsigned flags;
};

struct MenuSpec {
  const char* name;
  const char* caption;  // nullptr: a separator
  const char* parent;   // nullptr: on the menu bar
};

struct FormSpec {
  const char* caption;
  int clientWidth, clientHeight;  // twips
  const std::vector<ControlSpec>& controls;
  const std::vector<MenuSpec>& menus;
};

const FormSpec& Form1Layout();
const FormSpec& SplashLayout();

// The control's table entry, or nullptr.
const ControlSpec* FindControl(const FormSpec& form, const char* name);

// What a screen reader calls a list or text box of the main window: the
// caption of its label, or a name of its own where no label says what it
// holds. Empty for any other control.
std::string AccessibleName(const char* control);

inline constexpr const char* kIdentifierHint = "Double-click the CLSID copy to Clipboard";

}  // namespace brv
