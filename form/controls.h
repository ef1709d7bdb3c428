// The few operations the handlers use on the window's controls. In the
// program they act on real child windows (app/win32); in tests on memory.
#pragma once

#include <string>
#include <vector>

#include "registry/registry.h"

namespace brv {

// A list entry: the registry name it stands for, exactly as stored, the view
// it was found in, the text the list shows for it and the identifier a copy
// takes. Handlers act on the name and view; the text serves only the eye.
struct ListItem {
  std::string name;
  View view = View::k64;
  std::string text;
  std::string identifier;
};

class ListBox {
 public:
  virtual ~ListBox() = default;
  virtual void Clear() = 0;
  // Appends the items in order, with one repaint for the lot; the list keeps them.
  virtual void AddItems(std::vector<ListItem> items) = 0;
  virtual int ListCount() const = 0;
  // The shown text of an item; empty text past the end.
  virtual std::string List(int index) const = 0;
  // The item at an index, or nullptr past the end.
  virtual const ListItem* Item(int index) const = 0;
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
  // The selected item, or nullptr with no selection.
  const ListItem* Selected() const { return Item(ListIndex()); }
};

// A read-only text box: it keeps its text up to the first NUL.
class TextBox {
 public:
  virtual ~TextBox() = default;
  virtual void SetText(const std::string& text) = 0;
  virtual std::string Text() const = 0;
};

// The status bar along the bottom of the main window: one line of text.
class StatusBar {
 public:
  virtual ~StatusBar() = default;
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
