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
    parent_.assign(count, -1);
    for (size_t i = 0; i < count; ++i) parent_[i] = InnermostFrame(i);
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

  // The smallest frame whose box holds the control's box, or -1.
  int InnermostFrame(size_t i) const {
    int found = -1;
    const Box& box = result_.boxes[i];
    for (size_t f = 0; f < form_.controls.size(); ++f) {
      if (f == i || Spec(f).kind != ControlKind::Frame || !Shown(f)) continue;
      const Box& frame = result_.boxes[f];
      const bool holds = box.left >= frame.left - grid_ && box.right <= frame.right + grid_ &&
                         box.top >= frame.top - grid_ && box.bottom <= frame.bottom + grid_;
      if (holds && (found < 0 || frame.Width() * frame.Height() <
                                     result_.boxes[static_cast<size_t>(found)].Width() *
                                         result_.boxes[static_cast<size_t>(found)].Height())) {
        found = static_cast<int>(f);
      }
    }
    return found;
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
  // control beside it.
  int FreeRight(size_t i) const {
    const Box& box = result_.boxes[i];
    int limit = InnerRight(parent_[i]);
    for (size_t j = 0; j < form_.controls.size(); ++j) {
      if (j == i || !Shown(j) || IsAncestor(static_cast<int>(j), i)) continue;
      const Box& other = result_.boxes[j];
      const bool beside = std::min(box.bottom, other.bottom) - std::max(box.top, other.top) > grid_;
      if (beside && other.right > box.right) limit = std::min(limit, other.left);
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
    // Wider, into free space: up to the width of one line.
    const int oneLine = box.left + Measure(i, 0).width + 2 * inset.x + 1;
    const int right = std::min(oneLine, FreeRight(i));
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

bool Overlap(const Box& a, const Box& b, int dpi) {
  const int grid = Grid(dpi);
  return std::min(a.right, b.right) - std::max(a.left, b.left) > grid &&
         std::min(a.bottom, b.bottom) - std::max(a.top, b.top) > grid;
}

}  // namespace brv
