// The main window's composition: start-up, Refresh, Exit and the table that
// binds each control's events to the panels' handlers.
#pragma once

#include <string>
#include <vector>

#include "form/form1.h"

namespace brv {

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
