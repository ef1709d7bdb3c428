// The main window's state as the handlers see it, and its handlers for
// start-up, Refresh, Exit and the About window, Help and Pro buttons.
#pragma once

#include <string>
#include <vector>

#include "app/controls.h"
#include "app/desktop.h"
#include "registry/registry.h"

namespace brv {

struct Form1 {
  Registry* registry = nullptr;
  Desktop* desktop = nullptr;
  Windows* windows = nullptr;

  ListBox *List1 = nullptr, *List2 = nullptr, *List3 = nullptr, *List4 = nullptr, *List5 = nullptr,
          *List6 = nullptr, *List7 = nullptr;
  TextBox *Text1 = nullptr, *Text2 = nullptr, *Text3 = nullptr, *Text4 = nullptr, *Text5 = nullptr,
          *Text6 = nullptr, *Text7 = nullptr, *Text8 = nullptr, *Text9 = nullptr;
  Button *Command1 = nullptr, *Command2 = nullptr, *Command3 = nullptr, *Command4 = nullptr,
         *Command5 = nullptr, *Command6 = nullptr, *Command7 = nullptr, *Command8 = nullptr,
         *Command9 = nullptr, *Command10 = nullptr, *Command11 = nullptr;

  // The toolbar identifiers of the last selection in the toolbar panel.
  std::string currentUserToolbar;
  std::string allUsersToolbar;
};

inline constexpr const char* kStartupTitle = "IMPORTANT NOTE";
extern const char* const kStartupNote;

// Window load: the start-up note, then the window shows and the four panels
// fill.
void Form_Load(Form1& form);
void Refresh_Click(Form1& form);
void Exit_Click(Form1& form);

// Events of the main window's controls and menu items, by control name.
enum class Event { Click, DblClick, MouseMove };
struct EventBinding {
  const char* control;
  Event event;
  void (*handler)(Form1&);
};
const std::vector<EventBinding>& Form1Events();
// The handler bound to a control's event, or nullptr.
void (*FindHandler(const char* control, Event event))(Form1&);

}  // namespace brv
