// A window's layout as a function of its table, the DPI and the measured
// text. The table is the anchor: each box is scaled from twips to pixels, and
// only where a caption does not fit its box at the font in use does the box
// grow: to the right into free space, a label downward into free space, and
// otherwise taller, with what lies below it in its frame moved down (the
// frame, and then the window, growing as far as they must). The arranged
// table is the window's default and smallest layout; a larger window
// stretches it (Stretch).
#pragma once

#include <functional>
#include <vector>

#include "app/layout.h"

namespace brv {

// Pixels, in the window's client area.
struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};
bool operator==(const Box& a, const Box& b);

// The size of a caption in its control's font, in pixels: wrapped as the
// control wraps it at `width` (its width is the widest line, more than
// `width` where one word is), or on one line when `width` is 0.
struct TextSize {
  int width = 0, height = 0;
};
using MeasureText = std::function<TextSize(const ControlSpec& control, int width)>;

// The room a control's own drawing keeps between its edges and its caption.
struct TextInset {
  int x = 0, y = 0;
};
TextInset InsetOf(ControlKind kind, int dpi);

struct Arrangement {
  std::vector<Box> boxes;  // in table order
  int width = 0;           // the table's area: its client size, grown
  int height = 0;          // as far as the boxes needed
};

// `twips` at `dpi`.
int Pixels(int twips, int dpi);

// The table's boxes at `dpi`, grown where `measure` says a caption needs it.
Arrangement Arrange(const FormSpec& form, int dpi, const MeasureText& measure);

// The table arranged at this DPI (`arranged`) laid out in an area of
// `width` x `height` pixels (the client area without the status bar). An
// area no larger than the table's gives the table's boxes; a larger one
// stretches them. The frames on the window are panels in columns side by
// side: extra width goes to the columns in proportion to their widths, and
// within a panel to its lists and text boxes, those side by side on one row
// sharing it in proportion to theirs; extra height goes to the panels of a
// column in proportion to the heights of their lists, and within a panel to
// its lists. What lies below a list moves down as it grows. A label moves
// with the list or box it names (the nearest beside or below it); buttons,
// and labels that name none, keep their size and their distance to the
// edge of their frame they lie nearest to (the right or bottom one where
// both are as near); rules span their frame as they did.
Arrangement Stretch(const FormSpec& form, const Arrangement& arranged, int dpi, int width,
                    int height);

// The area of a window after a DPI change: what it had beyond `from` (the
// table at `fromDpi`), in `toDpi`'s pixels, beyond `to` (the table at
// `toDpi`).
struct Area {
  int width = 0, height = 0;
};
Area AreaAfterDpiChange(const Arrangement& from, int fromDpi, const Arrangement& to, int toDpi,
                        Area area);

// Whether two boxes overlap by more than the table's grid (15 twips), the
// shared edge two neighbouring boxes of the table may have.
bool Overlap(const Box& a, const Box& b, int dpi);

}  // namespace brv
