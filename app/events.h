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
// Options > "Save a report...", and Ctrl+S: starts a report, or cancels the
// one being written.
void report_Click(Form1& form);

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

// The keys of the main window. Each stands for an event of a control or
// menu item, and does exactly what that event does.
enum class Key { Delete, Copy, Refresh, Report };  // Delete, Ctrl+C, F5, Ctrl+S
struct KeyBinding {
  const char* focused;  // the control with the focus; nullptr: anywhere
  Key key;
  const char* control;  // whose event the key stands for
  Event event;
};
const std::vector<KeyBinding>& Form1Keys();
// Runs what a key stands for with `focused` (a control's name, or nullptr)
// having the focus. As with the mouse, a disabled button does nothing.
// False when the key stands for nothing there.
bool PressKey(Form1& form, const char* focused, Key key);

// The controls of the form by name; nullptr for another name.
ListBox* FindList(const Form1& form, const char* name);
Button* FindButton(const Form1& form, const char* name);

// The list whose selection a command is about to act on (deletes, disable,
// enable), or nullptr when none of its lists has one.
const char* ListActedOn(const Form1& form, const char* command);

}  // namespace brv
