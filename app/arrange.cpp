#include "app/arrange.h"

#include <algorithm>

namespace brv {

namespace {

// The table's grid: neighbouring boxes may share an edge this wide.
constexpr int kGridTwips = 15;

int Grid(int dpi) {
  return std::max(1, Pixels(kGridTwips, dpi));
}

bool HasCaption(const ControlSpec& spec) {
  return !(spec.flags & kHidden) && spec.caption && spec.caption[0] &&
         (spec.kind == ControlKind::Label || spec.kind == ControlKind::Button ||
          spec.kind == ControlKind::Frame);
}

// The smallest frame whose box holds each control's box, or -1.
std::vector<int> Frames(const FormSpec& form, const std::vector<Box>& boxes, int grid) {
  std::vector<int> frames(boxes.size(), -1);
  for (size_t i = 0; i < boxes.size(); ++i) {
    const Box& box = boxes[i];
    int& found = frames[i];
    for (size_t f = 0; f < boxes.size(); ++f) {
      const ControlSpec& spec = form.controls[f];
      if (f == i || spec.kind != ControlKind::Frame || (spec.flags & kHidden)) continue;
      const Box& frame = boxes[f];
      const bool holds = box.left >= frame.left - grid && box.right <= frame.right + grid &&
                         box.top >= frame.top - grid && box.bottom <= frame.bottom + grid;
      if (holds && (found < 0 || frame.Width() * frame.Height() <
                                     boxes[static_cast<size_t>(found)].Width() *
                                         boxes[static_cast<size_t>(found)].Height())) {
        found = static_cast<int>(f);
      }
    }
  }
  return frames;
}

class Arranger {
 public:
  Arranger(const FormSpec& form, int dpi, const MeasureText& measure)
      : form_(form), dpi_(dpi), measure_(measure), grid_(Grid(dpi)) {}

  Arrangement Run() {
    Scale();
    for (size_t i = 0; i < form_.controls.size(); ++i) {
      if (HasCaption(form_.controls[i])) Fit(i);
    }
    return result_;
  }

 private:
  const ControlSpec& Spec(size_t i) const { return form_.controls[i]; }
  Box& B(size_t i) { return result_.boxes[i]; }
  bool Shown(size_t i) const { return !(Spec(i).flags & kHidden); }

  // The table's boxes in pixels, each edge scaled on its own so that boxes
  // that touch in twips touch in pixels; the frame each lies in.
  void Scale() {
    const size_t count = form_.controls.size();
    result_.boxes.resize(count);
    for (size_t i = 0; i < count; ++i) {
      const ControlSpec& spec = Spec(i);
      int left = spec.left, top = spec.top;
      if (spec.container) {
        const ControlSpec* container = FindControl(form_, spec.container);
        left += container->left;
        top += container->top;
      }
      Box& box = B(i);
      box.left = Pixels(left, dpi_);
      box.top = Pixels(top, dpi_);
      box.right = Pixels(left + spec.width, dpi_);
      box.bottom = spec.kind == ControlKind::Line ? box.top + ((spec.flags & kGreyLine) ? 2 : 1)
                                                  : Pixels(top + spec.height, dpi_);
    }
    result_.width = Pixels(form_.clientWidth, dpi_);
    result_.height = Pixels(form_.clientHeight, dpi_);
    parent_ = Frames(form_, result_.boxes, grid_);
    // A label's box may reach into the box below or beside it, where its
    // text does not go: it ends where the other begins.
    for (size_t i = 0; i < count; ++i) {
      if (Spec(i).kind != ControlKind::Label || !Shown(i)) continue;
      for (size_t j = 0; j < count; ++j) {
        if (j == i || !Shown(j) || IsAncestor(static_cast<int>(j), i) ||
            !Overlap(B(i), B(j), dpi_)) {
          continue;
        }
        if (B(j).top > B(i).top) {
          B(i).bottom = B(j).top;
        } else if (B(j).left > B(i).left) {
          B(i).right = B(j).left;
        }
      }
    }
    // What each container keeps below its lowest control (the window may
    // keep less than nothing: a label's box may run past its edge).
    slack_.assign(count + 1, 0);
    for (int container = -1; container < static_cast<int>(count); ++container) {
      if (container >= 0 && Spec(static_cast<size_t>(container)).kind != ControlKind::Frame) {
        continue;
      }
      int lowest = -1;
      for (size_t i = 0; i < count; ++i) {
        if (parent_[i] == container && Shown(i)) lowest = std::max(lowest, B(i).bottom);
      }
      if (lowest >= 0) slack_[static_cast<size_t>(container + 1)] = Bottom(container) - lowest;
    }
  }

  bool IsAncestor(int frame, size_t i) const {
    for (int p = parent_[i]; p >= 0; p = parent_[static_cast<size_t>(p)]) {
      if (p == frame) return true;
    }
    return false;
  }

  int Bottom(int container) const {
    return container < 0 ? result_.height : result_.boxes[static_cast<size_t>(container)].bottom;
  }
  // The inner edges of a container: a frame's border and caption keep a
  // margin.
  int InnerRight(int container) const {
    return container < 0 ? result_.width
                         : result_.boxes[static_cast<size_t>(container)].right - Pixels(90, dpi_);
  }
  int InnerBottom(int container) const {
    return container < 0 ? result_.height : Bottom(container) - Pixels(90, dpi_);
  }

  // The right edge `i` may reach: its container's inner edge, or the nearest
  // control beside it (then named in `next`, else -1 there).
  int FreeRight(size_t i, int* next = nullptr) const {
    const Box& box = result_.boxes[i];
    int limit = InnerRight(parent_[i]);
    if (next) *next = -1;
    for (size_t j = 0; j < form_.controls.size(); ++j) {
      if (j == i || !Shown(j) || IsAncestor(static_cast<int>(j), i)) continue;
      const Box& other = result_.boxes[j];
      const bool beside = std::min(box.bottom, other.bottom) - std::max(box.top, other.top) > grid_;
      if (beside && other.right > box.right && other.left < limit) {
        limit = other.left;
        if (next) *next = static_cast<int>(j);
      }
    }
    return std::max(limit, box.right);
  }

  // The bottom edge `i` may reach without moving anything.
  int FreeBottom(size_t i) const {
    const Box& box = result_.boxes[i];
    int limit = InnerBottom(parent_[i]);
    for (size_t j = 0; j < form_.controls.size(); ++j) {
      if (j == i || !Shown(j) || IsAncestor(static_cast<int>(j), i)) continue;
      const Box& other = result_.boxes[j];
      const bool under = std::min(box.right, other.right) - std::max(box.left, other.left) > grid_;
      if (under && other.bottom > box.bottom) limit = std::min(limit, other.top);
    }
    return std::max(limit, box.bottom);
  }

  TextSize Measure(size_t i, int width) const { return measure_(Spec(i), width); }

  void Fit(size_t i) {
    const ControlSpec& spec = Spec(i);
    const TextInset inset = InsetOf(spec.kind, dpi_);
    Box& box = B(i);
    if (spec.kind == ControlKind::Frame) {
      // One line of caption along the top edge.
      const int wanted = box.left + Measure(i, 0).width + 2 * inset.x;
      if (wanted > box.right) box.right = std::min(wanted, FreeRight(i));
      return;
    }
    TextSize text = Measure(i, box.Width() - 2 * inset.x);
    if (text.width <= box.Width() - 2 * inset.x && text.height <= box.Height() - 2 * inset.y) {
      return;
    }
    // Wider, into free space: up to the width of one line. A label pushes
    // the label after it on its line to the right, as far as that one has
    // room.
    const int oneLine = box.left + Measure(i, 0).width + 2 * inset.x + 1;
    int next = -1;
    int free = FreeRight(i, &next);
    if (spec.kind == ControlKind::Label && oneLine > free && next >= 0 &&
        Spec(static_cast<size_t>(next)).kind == ControlKind::Label) {
      Box& pushed = B(static_cast<size_t>(next));
      const int by = std::min(oneLine - free, FreeRight(static_cast<size_t>(next)) - pushed.right);
      if (by > 0) {
        pushed.left += by;
        pushed.right += by;
        free = FreeRight(i);
      }
    }
    const int right = std::min(oneLine, free);
    if (right > box.right) {
      const TextSize wider = Measure(i, right - box.left - 2 * inset.x);
      if (wider.height < text.height || wider.width <= right - box.left - 2 * inset.x) {
        box.right = right;
        text = wider;
      }
    }
    const int needed = box.top + text.height + 2 * inset.y;
    if (needed <= box.bottom) return;
    // A label grows downward into free space; a button keeps its distance
    // to what lies below it.
    if (spec.kind == ControlKind::Label) {
      box.bottom = std::min(needed, FreeBottom(i));
      if (needed <= box.bottom) return;
    }
    Grow(i, needed - box.bottom);
  }

  // Makes `i` and the buttons of its row taller by `by`, moving what lies
  // below them in their container down, and the container with it as far as
  // it must.
  void Grow(size_t i, int by) {
    const Box row = B(i);
    const int container = parent_[i];
    for (size_t j = 0; j < form_.controls.size(); ++j) {
      const bool mate = j == i || (parent_[j] == container && Spec(j).kind == Spec(i).kind &&
                                   B(j).top == row.top && B(j).bottom == row.bottom);
      if (mate) B(j).bottom += by;
    }
    MoveDown(container, row.bottom - grid_, by, i);
  }

  // Moves the controls of `container` whose tops lie at or below `from` down
  // by `by` (a frame with all it holds), then grows the container if they
  // now come too close to its bottom.
  void MoveDown(int container, int from, int by, size_t grown) {
    for (size_t j = 0; j < form_.controls.size(); ++j) {
      if (parent_[j] != container || j == grown || B(j).top < from) continue;
      ShiftDown(j, by);
    }
    int lowest = -1;
    for (size_t j = 0; j < form_.controls.size(); ++j) {
      if (parent_[j] == container && Shown(j)) lowest = std::max(lowest, B(j).bottom);
    }
    const int slack = slack_[static_cast<size_t>(container + 1)];
    const int keep = container < 0 ? slack : std::min(slack, Pixels(120, dpi_));
    const int missing = lowest + keep - Bottom(container);
    if (missing <= 0) return;
    if (container < 0) {
      result_.height += missing;
      return;
    }
    const size_t frame = static_cast<size_t>(container);
    const int oldBottom = B(frame).bottom;
    B(frame).bottom += missing;
    MoveDown(parent_[frame], oldBottom - grid_, missing, frame);
  }

  void ShiftDown(size_t j, int by) {
    B(j).top += by;
    B(j).bottom += by;
    for (size_t k = 0; k < form_.controls.size(); ++k) {
      if (IsAncestor(static_cast<int>(j), k)) {
        B(k).top += by;
        B(k).bottom += by;
      }
    }
  }

  const FormSpec& form_;
  const int dpi_;
  const MeasureText& measure_;
  const int grid_;
  Arrangement result_;
  std::vector<int> parent_;  // the frame each control lies in, -1: the window
  std::vector<int> slack_;   // by container + 1
};

}  // namespace

bool operator==(const Box& a, const Box& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

int Pixels(int twips, int dpi) {
  // Rounded to the nearest pixel, as MulDiv does.
  const long long scaled = static_cast<long long>(twips) * dpi;
  return static_cast<int>(scaled >= 0 ? (scaled + 720) / 1440 : -((-scaled + 720) / 1440));
}

TextInset InsetOf(ControlKind kind, int dpi) {
  switch (kind) {
    case ControlKind::Button:
      // The raised edge the caption keeps inside of.
      return {std::max(2, Pixels(30, dpi)), std::max(2, Pixels(30, dpi))};
    case ControlKind::Frame:
      // The caption starts past the frame's corner and stops before the far
      // one.
      return {std::max(9, Pixels(135, dpi)), 0};
    default:
      return {};
  }
}

Arrangement Arrange(const FormSpec& form, int dpi, const MeasureText& measure) {
  return Arranger(form, dpi, measure).Run();
}

namespace {

// How far each edge of a box moves.
struct Shift {
  int left = 0, right = 0, top = 0, bottom = 0;
};

// `total` shared by parts in proportion to `weights`: part k gets from
// cuts[k] to cuts[k + 1] (rounded down along the way, the last part up to
// `total`; nothing where the weights are all 0).
std::vector<int> Cuts(const std::vector<int>& weights, int total) {
  long long sum = 0;
  for (int weight : weights) sum += weight;
  std::vector<int> cuts(1, 0);
  long long run = 0;
  for (int weight : weights) {
    run += weight;
    cuts.push_back(sum > 0 ? static_cast<int>(total * run / sum) : 0);
  }
  return cuts;
}

struct Span {
  int from, to;
};

// `members` gathered where their spans on one axis overlap by more than
// `grid` (one after another), the groups in order along that axis.
template <typename SpanOf>
std::vector<std::vector<size_t>> Groups(std::vector<size_t> members, const SpanOf& span, int grid) {
  std::sort(members.begin(), members.end(),
            [&](size_t a, size_t b) { return span(a).from < span(b).from; });
  std::vector<std::vector<size_t>> groups;
  int end = 0;
  for (size_t member : members) {
    if (groups.empty() || span(member).from >= end - grid) {
      groups.emplace_back();
      end = span(member).to;
    } else {
      end = std::max(end, span(member).to);
    }
    groups.back().push_back(member);
  }
  return groups;
}

class Stretcher {
 public:
  Stretcher(const FormSpec& form, const Arrangement& arranged, int dpi, int wide, int tall)
      : form_(form),
        boxes_(arranged.boxes),
        grid_(Grid(dpi)),
        wide_(wide),
        tall_(tall),
        area_{0, 0, arranged.width, arranged.height},
        parent_(Frames(form, arranged.boxes, Grid(dpi))),
        shift_(boxes_.size()),
        placed_(boxes_.size(), false) {}

  std::vector<Box> Run() {
    Panels();
    // Labels last: each moves with what it names.
    for (int labels = 0; labels < 2; ++labels) {
      for (size_t i = 0; i < boxes_.size(); ++i) {
        if (!placed_[i] && (Spec(i).kind == ControlKind::Label) == (labels == 1)) Anchor(i);
      }
    }
    std::vector<Box> boxes = boxes_;
    for (size_t i = 0; i < boxes.size(); ++i) {
      boxes[i].left += shift_[i].left;
      boxes[i].right += shift_[i].right;
      boxes[i].top += shift_[i].top;
      boxes[i].bottom += shift_[i].bottom;
    }
    return boxes;
  }

 private:
  const ControlSpec& Spec(size_t i) const { return form_.controls[i]; }
  bool Shown(size_t i) const { return !(Spec(i).flags & kHidden); }
  Span Across(size_t i) const { return {boxes_[i].left, boxes_[i].right}; }
  Span Down(size_t i) const { return {boxes_[i].top, boxes_[i].bottom}; }
  const Box& BoxOf(int container) const {
    return container < 0 ? area_ : boxes_[static_cast<size_t>(container)];
  }
  Shift ShiftOf(int container) const {
    return container < 0 ? Shift{0, wide_, 0, tall_} : shift_[static_cast<size_t>(container)];
  }
  void Place(size_t i, const Shift& shift) {
    shift_[i] = shift;
    placed_[i] = true;
  }
  // The shown controls of `kind` (both kinds given) that lie in `container`.
  std::vector<size_t> In(int container, ControlKind kind, ControlKind also) const {
    std::vector<size_t> found;
    for (size_t i = 0; i < boxes_.size(); ++i) {
      if (parent_[i] == container && Shown(i) && (Spec(i).kind == kind || Spec(i).kind == also)) {
        found.push_back(i);
      }
    }
    return found;
  }
  std::vector<std::vector<size_t>> Bands(int panel) const {
    return Groups(
        In(panel, ControlKind::ListBox, ControlKind::ListBox), [this](size_t i) { return Down(i); },
        grid_);
  }
  int Height(const std::vector<size_t>& band) const {
    int top = boxes_[band[0]].top, bottom = boxes_[band[0]].bottom;
    for (size_t i : band) {
      top = std::min(top, boxes_[i].top);
      bottom = std::max(bottom, boxes_[i].bottom);
    }
    return bottom - top;
  }

  // The frames on the window, in columns, and what they hold.
  void Panels() {
    std::vector<size_t> frames;
    for (size_t i : In(-1, ControlKind::Frame, ControlKind::Frame)) frames.push_back(i);
    const auto columns = Groups(
        frames, [this](size_t i) { return Across(i); }, grid_);
    std::vector<int> widths;
    for (const auto& column : columns) {
      int left = boxes_[column[0]].left, right = boxes_[column[0]].right;
      for (size_t i : column) {
        left = std::min(left, boxes_[i].left);
        right = std::max(right, boxes_[i].right);
      }
      widths.push_back(right - left);
    }
    const std::vector<int> across = Cuts(widths, wide_);
    for (size_t c = 0; c < columns.size(); ++c) {
      std::vector<size_t> stack = columns[c];
      std::sort(stack.begin(), stack.end(),
                [this](size_t a, size_t b) { return boxes_[a].top < boxes_[b].top; });
      std::vector<int> heights;
      for (size_t panel : stack) {
        int height = 0;
        for (const auto& band : Bands(static_cast<int>(panel))) height += Height(band);
        heights.push_back(height);
      }
      const std::vector<int> down = Cuts(heights, tall_);
      for (size_t k = 0; k < stack.size(); ++k) {
        Place(stack[k], {across[c], across[c + 1], down[k], down[k + 1]});
        Fill(static_cast<int>(stack[k]));
      }
    }
  }

  // A panel's lists and text boxes: wider by rows, the lists taller by
  // bands, what lies below a band down by as much.
  void Fill(int panel) {
    const Shift frame = ShiftOf(panel);
    const auto rows = Groups(
        In(panel, ControlKind::ListBox, ControlKind::TextBox), [this](size_t i) { return Down(i); },
        grid_);
    const auto bands = Bands(panel);
    std::vector<int> heights;
    for (const auto& band : bands) heights.push_back(Height(band));
    const std::vector<int> down = Cuts(heights, frame.bottom - frame.top);
    for (std::vector<size_t> row : rows) {
      std::sort(row.begin(), row.end(),
                [this](size_t a, size_t b) { return boxes_[a].left < boxes_[b].left; });
      std::vector<int> widths;
      for (size_t i : row) widths.push_back(boxes_[i].Width());
      const std::vector<int> across = Cuts(widths, frame.right - frame.left);
      for (size_t k = 0; k < row.size(); ++k) {
        const size_t i = row[k];
        Shift shift{frame.left + across[k], frame.left + across[k + 1], frame.top, frame.top};
        for (size_t b = 0; b < bands.size(); ++b) {
          const bool inBand = std::find(bands[b].begin(), bands[b].end(), i) != bands[b].end();
          int bottom = 0;
          for (size_t j : bands[b]) bottom = std::max(bottom, boxes_[j].bottom);
          if (inBand) {
            shift.top = frame.top + down[b];
            shift.bottom = frame.top + down[b + 1];
          } else if (bottom <= boxes_[i].top + grid_) {
            shift.top = shift.bottom = frame.top + down[b + 1];
          }
        }
        Place(i, shift);
      }
    }
  }

  // The list or text box a label names: the nearest after it on its line
  // or below it, in its frame; -1 for none.
  int Named(size_t label) const {
    const Box& box = boxes_[label];
    int found = -1, nearest = 0;
    for (size_t i : In(parent_[label], ControlKind::ListBox, ControlKind::TextBox)) {
      const Box& other = boxes_[i];
      const bool line = std::min(box.bottom, other.bottom) - std::max(box.top, other.top) > grid_;
      const bool column = std::min(box.right, other.right) - std::max(box.left, other.left) > grid_;
      int distance;
      if (line && other.left >= box.right - grid_) {
        distance = other.left - box.right;
      } else if (column && other.top >= box.bottom - grid_) {
        distance = other.top - box.bottom;
      } else {
        continue;
      }
      if (found < 0 || distance < nearest) {
        found = static_cast<int>(i);
        nearest = distance;
      }
    }
    return found;
  }

  void Anchor(size_t i) {
    if (!Shown(i)) return;  // never drawn: stays where the table has it
    const int container = parent_[i];
    const Shift frame = ShiftOf(container);
    const Box& outer = BoxOf(container);
    const Box& box = boxes_[i];
    const int vertical =
        outer.bottom - box.bottom <= box.top - outer.top ? frame.bottom : frame.top;
    if (Spec(i).kind == ControlKind::Line) {
      Place(i, {frame.left, frame.right, vertical, vertical});
      return;
    }
    if (Spec(i).kind == ControlKind::Label) {
      const int named = Named(i);
      if (named >= 0 && placed_[static_cast<size_t>(named)]) {
        const Shift with = shift_[static_cast<size_t>(named)];
        Place(i, {with.left, with.left, with.top, with.top});
        return;
      }
    }
    const int horizontal =
        outer.right - box.right <= box.left - outer.left ? frame.right : frame.left;
    Place(i, {horizontal, horizontal, vertical, vertical});
  }

  const FormSpec& form_;
  const std::vector<Box>& boxes_;
  const int grid_;
  const int wide_, tall_;
  const Box area_;
  const std::vector<int> parent_;
  std::vector<Shift> shift_;
  std::vector<bool> placed_;
};

}  // namespace

Arrangement Stretch(const FormSpec& form, const Arrangement& arranged, int dpi, int width,
                    int height) {
  const int wide = std::max(0, width - arranged.width);
  const int tall = std::max(0, height - arranged.height);
  if (!wide && !tall) return arranged;
  Arrangement stretched;
  stretched.boxes = Stretcher(form, arranged, dpi, wide, tall).Run();
  stretched.width = arranged.width + wide;
  stretched.height = arranged.height + tall;
  return stretched;
}

Area AreaAfterDpiChange(const Arrangement& from, int fromDpi, const Arrangement& to, int toDpi,
                        Area area) {
  const auto scaled = [&](int extra) {
    const long long pixels = static_cast<long long>(std::max(0, extra)) * toDpi;
    return static_cast<int>((pixels + fromDpi / 2) / std::max(1, fromDpi));
  };
  return {to.width + scaled(area.width - from.width),
          to.height + scaled(area.height - from.height)};
}

bool Overlap(const Box& a, const Box& b, int dpi) {
  const int grid = Grid(dpi);
  return std::min(a.right, b.right) - std::max(a.left, b.left) > grid &&
         std::min(a.bottom, b.bottom) - std::max(a.top, b.top) > grid;
}

}  // namespace brv
