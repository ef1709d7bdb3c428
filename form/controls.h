// The few operations the handlers use on the window's controls. In the
// program they act on real child windows (app/win32); in tests on memory.
#pragma once

#include <string>
#include <vector>

namespace brv {

class ListBox {
 public:
  virtual ~ListBox() = default;
  virtual void Clear() = 0;
  // Appends the items in order, with one repaint for the lot.
  virtual void AddItems(const std::vector<std::string>& items) = 0;
  virtual int ListCount() const = 0;
  virtual std::string List(int index) const = 0;
  // The selected index, or -1 with no selection.
  virtual int ListIndex() const = 0;
  virtual void SetListIndex(int index) = 0;
  virtual void SetToolTipText(const std::string& text) = 0;
  virtual std::string ToolTipText() const = 0;

  // The selected item's text, or empty text with no selection.
  std::string Text() const {
    const int index = ListIndex();
    return index < 0 ? std::string() : List(index);
  }
};

// A read-only text box: it keeps its text up to the first NUL.
class TextBox {
 public:
  virtual ~TextBox() = default;
  virtual void SetText(const std::string& text) = 0;
  virtual std::string Text() const = 0;
};

class Button {
 public:
  virtual ~Button() = default;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Enabled() const = 0;
};

}  // namespace brv
