// Start-up, Refresh, Exit, the event table and the layout table.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>

#include "app/arrange.h"
#include "app/events.h"
#include "app/layout.h"
#include "catalogue/toolbar_buttons.h"
#include "support/memory_form.h"
#include "support/registry_fixture.h"

namespace brv {
namespace {

const char kExt[] = "Software\\Microsoft\\Internet Explorer\\Extensions\\";

TEST(Form1, LoadShowsTheNoteBeforeFillingAnything) {
  MemoryForm m;
  m.CreateKey(kCurrentUser, std::string(kExt) + kA);
  // The note is answered while the lists are still empty.
  struct Watch : ScriptedDesktop {
    MemListBox* list = nullptr;
    int countWhenShown = -1;
    MsgAnswer MsgBox(const std::string& t, const std::string& ti, MsgButtons b,
                     MsgIcon i) override {
      countWhenShown = list->ListCount();
      return ScriptedDesktop::MsgBox(t, ti, b, i);
    }
  } desktop;
  desktop.list = &m.lists[1];
  m.form.desktop = &desktop;
  Form_Load(m.form);
  EXPECT_EQ(0, desktop.countWhenShown);
  ASSERT_EQ(1u, desktop.messages.size());
  EXPECT_EQ("IMPORTANT NOTE", desktop.messages[0].title);
  EXPECT_EQ(MsgButtons::Ok, desktop.messages[0].buttons);
  EXPECT_EQ(MsgIcon::None, desktop.messages[0].icon);
  const std::string& note = desktop.messages[0].text;
  EXPECT_EQ(0u, note.find("Brovantine does not backup the registry"));
  EXPECT_NE(std::string::npos,
            note.find("Click Help-Usage button in the main screen\n\nFor Windows ME and XP"));
  EXPECT_NE(std::string::npos, note.find("made by this utility\n\nBrovantine Pro version"));
  EXPECT_EQ(std::string::npos, note.find('\r'));
  EXPECT_EQ(std::vector<std::string>{kA}, m.lists[1].items);
  EXPECT_EQ(std::vector<std::string>{"ShowMain"}, m.windows.calls);
}

TEST(Form1, RefreshShowsOutsideChangesAndNothingElse) {
  MemoryForm m;
  m.CreateKey(kCurrentUser, std::string(kExt) + kA);
  Refresh_Click(m.form);
  EXPECT_EQ(std::vector<std::string>{kA}, m.lists[1].items);
  m.registry.DeleteTree(kCurrentUser, std::string(kExt) + kA);
  m.CreateKey(kLocalMachine, std::string(kExt) + kA);
  Refresh_Click(m.form);
  EXPECT_TRUE(m.lists[1].items.empty());
  EXPECT_EQ(std::vector<std::string>{kA}, m.lists[2].items);
  EXPECT_TRUE(m.desktop.messages.empty());
}

TEST(Form1, ExitClosesTheAboutWindowFirst) {
  MemoryForm m;
  Exit_Click(m.form);
  EXPECT_EQ((std::vector<std::string>{"CloseAbout", "CloseMain"}), m.windows.calls);
}

TEST(Form1, EveryEventNamesAControlOrMenuOfTheLayout) {
  const FormSpec& layout = Form1Layout();
  std::set<std::string> menus;
  for (const MenuSpec& menu : layout.menus) menus.insert(menu.name);
  for (const EventBinding& binding : Form1Events()) {
    const ControlSpec* control = FindControl(layout, binding.control);
    EXPECT_TRUE(control || menus.count(binding.control)) << binding.control;
    if (control && binding.event == Event::Click) {
      EXPECT_TRUE(control->kind == ControlKind::Button || control->kind == ControlKind::ListBox)
          << binding.control;
    }
    EXPECT_EQ(binding.handler, FindHandler(binding.control, binding.event));
  }
  EXPECT_EQ(nullptr, FindHandler("List5", Event::DblClick));  // no copy from the menu list
  // Every button and menu item (but the submenu) has a click handler.
  for (const ControlSpec& control : layout.controls) {
    if (control.kind == ControlKind::Button) {
      EXPECT_NE(nullptr, FindHandler(control.name, Event::Click)) << control.name;
    }
  }
  for (const MenuSpec& menu : layout.menus) {
    if (menu.caption && std::strcmp(menu.name, "options") != 0) {
      EXPECT_NE(nullptr, FindHandler(menu.name, Event::Click)) << menu.name;
    }
  }
}

TEST(Form1, KeysRunWhatTheMouseRunsWhereTheFocusIs) {
  const ShownMessage confirm = DeleteConfirmation();
  const ShownMessage copied{"CLSID copied to clipboard", "Brovantine", MsgButtons::Ok,
                            MsgIcon::Information};
  const struct {
    const char* focused;
    Key key;
    bool bound;
    std::vector<ShownMessage> shown;  // with an entry selected in the list
  } cases[] = {
      {"List1", Key::Delete, true, {}},  // Command1 is disabled at start
      {"List3", Key::Delete, true, {confirm}}, {"List4", Key::Delete, true, {confirm}},
      {"List5", Key::Delete, true, {confirm}}, {"List6", Key::Delete, true, {confirm}},
      {"List7", Key::Delete, true, {confirm}}, {"List2", Key::Copy, true, {copied}},
      {"List6", Key::Copy, true, {copied}},    {"List5", Key::Copy, false, {}},
      {"Text1", Key::Delete, false, {}},       {nullptr, Key::Copy, false, {}},
  };
  for (const auto& c : cases) {
    MemoryForm m;
    if (ListBox* list = FindList(m.form, c.focused)) {
      static_cast<MemListBox*>(list)->Put({kA});
      list->SetListIndex(0);
    }
    EXPECT_EQ(c.bound, PressKey(m.form, c.focused, c.key)) << (c.focused ? c.focused : "none");
    EXPECT_EQ(c.shown, m.desktop.messages) << (c.focused ? c.focused : "none");
  }
  // Once enabled, Delete in either list of the first panel asks, as the button does.
  MemoryForm m;
  m.buttons[1].enabled = true;
  PressKey(m.form, "List2", Key::Delete);
  EXPECT_EQ(std::vector<ShownMessage>{confirm}, m.desktop.messages);
  // F5 refreshes wherever the focus is.
  m.CreateKey(kCurrentUser, std::string(kExt) + kA);
  EXPECT_TRUE(PressKey(m.form, "Text1", Key::Refresh));
  EXPECT_EQ(std::vector<std::string>{kA}, m.lists[1].items);
  for (const KeyBinding& binding : Form1Keys()) {
    EXPECT_NE(nullptr, FindHandler(binding.control, binding.event)) << binding.control;
  }
}

TEST(Form1, ACommandActsOnTheListOfItsPanelThatHasTheSelection) {
  MemoryForm m;
  EXPECT_EQ(nullptr, ListActedOn(m.form, "Command1"));
  m.lists[2].Put({kA});
  m.lists[2].index = 0;
  m.lists[7].Put({kA});
  m.lists[7].index = 0;
  EXPECT_STREQ("List2", ListActedOn(m.form, "Command1"));
  EXPECT_STREQ("List7", ListActedOn(m.form, "Command6"));
  EXPECT_STREQ("List7", ListActedOn(m.form, "Command3"));
  EXPECT_EQ(nullptr, ListActedOn(m.form, "Command2"));  // disable acts on List6 only
  EXPECT_EQ(nullptr, ListActedOn(m.form, "Command8"));
}

// A font of `charWidth` pixels a character and `lineHeight` a line, wrapped
// at spaces as the controls wrap.
MeasureText FakeFont(int charWidth, int lineHeight) {
  return [=](const ControlSpec& spec, int width) {
    const std::string text = spec.caption;
    if (width <= 0) return TextSize{static_cast<int>(text.size()) * charWidth, lineHeight};
    TextSize size{0, lineHeight};
    int line = 0;
    size_t start = 0;
    while (start <= text.size()) {
      size_t end = text.find(' ', start);
      if (end == std::string::npos) end = text.size();
      const int word = static_cast<int>(end - start) * charWidth;
      const int wanted = line == 0 ? word : line + charWidth + word;
      if (line > 0 && wanted > width) {
        size.height += lineHeight;
        line = word;
      } else {
        line = wanted;
      }
      size.width = std::max(size.width, line);
      start = end + 1;
    }
    return size;
  };
}

Box TableBox(const FormSpec& form, const ControlSpec& spec, int dpi) {
  const ControlSpec* container = spec.container ? FindControl(form, spec.container) : nullptr;
  const int left = spec.left + (container ? container->left : 0);
  const int top = spec.top + (container ? container->top : 0);
  return {Pixels(left, dpi), Pixels(top, dpi), Pixels(left + spec.width, dpi),
          Pixels(top + spec.height, dpi)};
}

TEST(Layout, BoxesAreTheTableWhereTheTextFits) {
  for (const FormSpec* form : {&Form1Layout(), &SplashLayout()}) {
    for (int dpi : {96, 144}) {
      const Arrangement arranged = Arrange(*form, dpi, FakeFont(1, 1));
      EXPECT_EQ(Pixels(form->clientWidth, dpi), arranged.width);
      EXPECT_EQ(Pixels(form->clientHeight, dpi), arranged.height);
      for (size_t i = 0; i < form->controls.size(); ++i) {
        const ControlSpec& spec = form->controls[i];
        const Box table = TableBox(*form, spec, dpi), box = arranged.boxes[i];
        if (spec.kind == ControlKind::Line) continue;
        // A label's box ends where the box below or beside it begins.
        if (spec.kind == ControlKind::Label) {
          EXPECT_TRUE(box.left == table.left && box.top == table.top && box.right <= table.right &&
                      box.bottom <= table.bottom)
              << spec.name << " at " << dpi;
        } else {
          EXPECT_EQ(table, box) << spec.name << " at " << dpi;
        }
      }
    }
  }
}

// With about the dialog font's width, and with one 40% wider:
// every caption fits its box, no box moves left or up or overlaps another
// (beyond the edge two neighbours share).
TEST(Layout, BoxesGrowIntoFreeSpaceAndMoveWhatLiesBelowThem) {
  for (const FormSpec* form : {&Form1Layout(), &SplashLayout()}) {
    for (int dpi : {96, 144}) {
      for (int wide : {5, 7}) {
        const int charWidth = wide * dpi / 96, lineHeight = 14 * dpi / 96;
        const MeasureText measure = FakeFont(charWidth, lineHeight);
        const Arrangement arranged = Arrange(*form, dpi, measure);
        const auto& boxes = arranged.boxes;
        for (size_t i = 0; i < form->controls.size(); ++i) {
          const ControlSpec& spec = form->controls[i];
          const Box table = TableBox(*form, spec, dpi);
          const std::string where = std::string(spec.name) + " at " + std::to_string(dpi);
          EXPECT_EQ(table.left, boxes[i].left) << where;
          EXPECT_GE(boxes[i].top, table.top) << where;
          if (spec.flags & kHidden || !spec.caption[0] || spec.kind == ControlKind::Picture) {
            continue;
          }
          const TextInset inset = InsetOf(spec.kind, dpi);
          const TextSize text = spec.kind == ControlKind::Frame
                                    ? measure(spec, 0)
                                    : measure(spec, boxes[i].Width() - 2 * inset.x);
          EXPECT_LE(text.width + 2 * inset.x, boxes[i].Width()) << where;
          if (spec.kind != ControlKind::Frame) {
            EXPECT_LE(text.height + 2 * inset.y, boxes[i].Height()) << where;
            EXPECT_LE(boxes[i].top + text.height, arranged.height) << where;
          }
          for (size_t j = 0; j < i; ++j) {
            const ControlSpec& other = form->controls[j];
            if (spec.kind == ControlKind::Frame || other.kind == ControlKind::Frame ||
                (other.flags & kHidden)) {
              continue;
            }
            EXPECT_FALSE(Overlap(boxes[i], boxes[j], dpi)) << where << " and " << other.name;
          }
        }
      }
    }
  }
}

TEST(Layout, AButtonPairGrowsTogetherAndMovesTheButtonBelowWithinItsFrame) {
  const FormSpec& form = Form1Layout();
  const auto index = [&](const char* name) {
    return static_cast<size_t>(FindControl(form, name) - form.controls.data());
  };
  const Arrangement table = Arrange(form, 96, FakeFont(1, 1));
  const Arrangement wide = Arrange(form, 96, FakeFont(7, 14));
  const Box& prevent = wide.boxes[index("Command5")];
  const int taller = prevent.Height() - table.boxes[index("Command5")].Height();
  EXPECT_GT(taller, 0);
  EXPECT_EQ(prevent.top, wide.boxes[index("Command9")].top);
  EXPECT_EQ(prevent.bottom, wide.boxes[index("Command9")].bottom);
  EXPECT_EQ(table.boxes[index("Command6")].top + taller, wide.boxes[index("Command6")].top);
  EXPECT_GE(wide.boxes[index("Frame4")].bottom, wide.boxes[index("Command6")].bottom);
  // The disable pair above them stays where it was; a label grows sideways.
  EXPECT_EQ(table.boxes[index("Command2")], wide.boxes[index("Command2")]);
  EXPECT_EQ(table.boxes[index("Label2")].bottom, wide.boxes[index("Label2")].bottom);
  EXPECT_GT(wide.boxes[index("Label2")].right, table.boxes[index("Label2")].right);
}

// How far a box runs past the frame (or area) that held it at the default size.
int Outside(const Box& box, const Box& frame) {
  return std::max({0, frame.left - box.left, box.right - frame.right, frame.top - box.top,
                   box.bottom - frame.bottom});
}

// The distance of [lo, hi] to the near or the far end of [from, to].
int Gap(int lo, int hi, int from, int to, bool far) {
  return far ? to - hi : lo - from;
}

// The main window's table in areas of many sizes, at two widths of font:
// the extra room goes where the rules say, nothing covers more of anything
// than at the default size, and the smallest area is the table's.
TEST(Layout, TheTableStretchesToTheWindowsAreaAndBackExactly) {
  const FormSpec& form = Form1Layout();
  const auto at = [&](const char* name) {
    return static_cast<size_t>(FindControl(form, name) - form.controls.data());
  };
  const struct {
    const char* what;
    int dpi, width, height;  // the area; 0 or less: the table's and as much more
  } sizes[] = {{"default", 96, 0, 0},
               {"wider", 96, -301, 0},
               {"taller", 96, 0, -203},
               {"maximised", 144, 1920, 1017},
               {"smallest", 96, 1, 1},
               {"32,000", 192, 32000, 32000},
               {"after a DPI change", 144, 0, 0}};
  for (int wide : {5, 7}) {
    for (const auto& size : sizes) {
      const auto table = [&](int dpi) {
        return Arrange(form, dpi, FakeFont(wide * dpi / 96, 14 * dpi / 96));
      };
      const Arrangement t = table(size.dpi);
      Area area{size.width > 0 ? size.width : t.width - size.width,
                size.height > 0 ? size.height : t.height - size.height};
      if (std::strcmp(size.what, "after a DPI change") == 0) {
        // 300 x 200 more at 96 dpi is 450 x 300 more at 144, and back.
        const Arrangement before = table(96);
        const Area was{before.width + 300, before.height + 200};
        area = AreaAfterDpiChange(before, 96, t, 144, was);
        EXPECT_TRUE(area.width == t.width + 450 && area.height == t.height + 300);
        const Area back = AreaAfterDpiChange(t, 144, before, 96, area);
        EXPECT_TRUE(back.width == was.width && back.height == was.height);
      }
      const Arrangement s = Stretch(form, t, size.dpi, area.width, area.height);
      const std::string where = std::string(size.what) + ", font " + std::to_string(wide) + ": ";
      const int wider = std::max(0, area.width - t.width),
                taller = std::max(0, area.height - t.height);
      EXPECT_TRUE(s.width == t.width + wider && s.height == t.height + taller) << where;
      const auto grew = [&](const char* name, bool across) {
        const Box &a = t.boxes[at(name)], &b = s.boxes[at(name)];
        return across ? b.Width() - a.Width() : b.Height() - a.Height();
      };
      // Shared in proportion to their sizes: the two columns, the lists and
      // boxes side by side (all their frame's share), the panels of a column
      // by their lists' heights, the helper-object lists.
      const struct {
        const char *a, *b, *whole;
        bool across;
      } shares[] = {
          {"Frame1", "Frame4", nullptr, true}, {"List1", "List2", "Frame1", true},
          {"List3", "List4", "Frame2", true},  {"List5", "Text7", "Frame3", true},
          {"Text1", nullptr, "Frame1", true},  {"Text6", nullptr, "Frame4", true},
          {"List1", "List5", nullptr, false},  {"List6", "List7", "Frame4", false},
      };
      for (const auto& share : shares) {
        const int a = grew(share.a, share.across), b = share.b ? grew(share.b, share.across) : 0;
        EXPECT_EQ(share.whole ? grew(share.whole, share.across) : a + b, a + b) << where << share.a;
        if (!share.b) continue;
        const Box &sa = t.boxes[at(share.a)], &sb = t.boxes[at(share.b)];
        const int wa = share.across ? sa.Width() : sa.Height();
        const int wb = share.across ? sb.Width() : sb.Height();
        EXPECT_LE(std::abs(a * wb - b * wa), wa + wb) << where << share.a << " and " << share.b;
      }
      EXPECT_EQ(wider, grew("Frame1", true) + grew("Frame4", true)) << where;
      EXPECT_EQ(taller, grew("Frame4", false)) << where;
      EXPECT_EQ(taller, grew("Frame1", false) + grew("Frame2", false) + grew("Frame3", false));
      // Labels stay with what they name (the screen readers' table says
      // which); buttons and other labels keep their size and their distance
      // to the nearest edge of their frame.
      std::set<size_t> named;
      for (const ControlSpec& box : form.controls) {
        const std::string name = AccessibleName(box.name);
        for (size_t j = 0; j < form.controls.size() && !name.empty(); ++j) {
          if (form.controls[j].kind != ControlKind::Label || name != form.controls[j].caption) {
            continue;
          }
          named.insert(j);
          const size_t i = at(box.name);
          EXPECT_EQ(s.boxes[j].left - s.boxes[i].left, t.boxes[j].left - t.boxes[i].left) << where;
          EXPECT_EQ(s.boxes[j].top - s.boxes[i].top, t.boxes[j].top - t.boxes[i].top) << where;
        }
      }
      const Box tArea{0, 0, t.width, t.height}, sArea{0, 0, s.width, s.height};
      for (size_t i = 0; i < form.controls.size(); ++i) {
        const ControlSpec& spec = form.controls[i];
        const Box &a = t.boxes[i], &b = s.boxes[i];
        if (spec.flags & kHidden) continue;
        int frame = -1;  // the smallest that held it
        for (size_t f = 0; f < form.controls.size(); ++f) {
          if (form.controls[f].kind == ControlKind::Frame && f != i &&
              Outside(a, t.boxes[f]) <= Pixels(15, size.dpi) &&
              (frame < 0 || t.boxes[f].Width() < t.boxes[static_cast<size_t>(frame)].Width()))
            frame = static_cast<int>(f);
        }
        const Box& tf = frame < 0 ? tArea : t.boxes[static_cast<size_t>(frame)];
        const Box& sf = frame < 0 ? sArea : s.boxes[static_cast<size_t>(frame)];
        EXPECT_LE(Outside(b, sf), Outside(a, tf)) << where << spec.name;
        EXPECT_LE(Outside(b, sArea), Outside(a, tArea)) << where << spec.name;
        if (spec.kind == ControlKind::Button ||
            (spec.kind == ControlKind::Label && !named.count(i))) {
          EXPECT_TRUE(a.Width() == b.Width() && a.Height() == b.Height()) << where << spec.name;
          const bool right = tf.right - a.right <= a.left - tf.left;
          const bool down = tf.bottom - a.bottom <= a.top - tf.top;
          EXPECT_EQ(Gap(a.left, a.right, tf.left, tf.right, right),
                    Gap(b.left, b.right, sf.left, sf.right, right))
              << where << spec.name;
          EXPECT_EQ(Gap(a.top, a.bottom, tf.top, tf.bottom, down),
                    Gap(b.top, b.bottom, sf.top, sf.bottom, down))
              << where << spec.name;
        }
        EXPECT_TRUE(spec.kind != ControlKind::TextBox || a.Height() == b.Height()) << where;
        for (size_t j = 0; j < i; ++j) {
          if (spec.kind == ControlKind::Frame || form.controls[j].kind == ControlKind::Frame)
            continue;
          EXPECT_TRUE(!Overlap(b, s.boxes[j], size.dpi) || Overlap(a, t.boxes[j], size.dpi))
              << where << spec.name << " and " << form.controls[j].name;
        }
        EXPECT_TRUE(wider || taller || a == b) << where << spec.name;
      }
    }
  }
}

TEST(Layout, Form1TableHasEveryNamedControlInsideTheWindow) {
  const FormSpec& layout = Form1Layout();
  EXPECT_STREQ("Brovantine", layout.caption);
  std::set<std::string> names;
  for (const ControlSpec& control : layout.controls) {
    EXPECT_TRUE(names.insert(control.name).second) << "twice: " << control.name;
    int left = control.left, top = control.top;
    if (control.container) {
      const ControlSpec* frame = FindControl(layout, control.container);
      ASSERT_NE(nullptr, frame) << control.name;
      EXPECT_EQ(ControlKind::Frame, frame->kind);
      left += frame->left;
      top += frame->top;
    }
    if (!(control.flags & kHidden)) {
      EXPECT_GE(left, 0) << control.name;
      EXPECT_GE(top, 0) << control.name;
      // Two labels' boxes run past the edge; their texts do not.
      if (control.kind == ControlKind::Label) continue;
      EXPECT_LE(left + control.width, layout.clientWidth) << control.name;
      EXPECT_LE(top + control.height, layout.clientHeight) << control.name;
    }
  }
  for (int i = 1; i <= 7; ++i) EXPECT_TRUE(names.count("List" + std::to_string(i)));
  for (int i = 1; i <= 9; ++i) EXPECT_TRUE(names.count("Text" + std::to_string(i)));
  for (int i = 1; i <= 11; ++i) EXPECT_TRUE(names.count("Command" + std::to_string(i)));
  for (int i = 1; i <= 15; ++i) EXPECT_TRUE(names.count("Label" + std::to_string(i)));
  for (int i = 1; i <= 4; ++i) EXPECT_TRUE(names.count("Frame" + std::to_string(i)));
  int disabled = 0;
  for (const ControlSpec& control : layout.controls)
    disabled += (control.flags & kDisabled) ? 1 : 0;
  EXPECT_EQ(5, disabled);
  std::vector<std::string> menuOrder;
  for (const MenuSpec& menu : layout.menus) menuOrder.push_back(menu.caption ? menu.name : "-");
  EXPECT_EQ((std::vector<std::string>{"About", "Refresh", "options", "tbutton", "Security",
                                      "resettoolbar", "-", "report", "Exit"}),
            menuOrder);
}

TEST(Form1, StartStateOfTheMemoryFormMatchesTheLayout) {
  MemoryForm m;
  for (int i = 1; i <= 11; ++i) {
    const ControlSpec* spec = FindControl(Form1Layout(), ("Command" + std::to_string(i)).c_str());
    EXPECT_EQ(!(spec->flags & kDisabled), m.buttons[i].enabled) << i;
  }
}

}  // namespace
}  // namespace brv
