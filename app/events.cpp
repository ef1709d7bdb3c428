#include "app/events.h"

#include <cstring>

#include "app/config.h"
#include "app/links.h"
#include "catalogue/bhos.h"
#include "catalogue/context_menus.h"
#include "catalogue/toolbar_buttons.h"
#include "catalogue/toolbars.h"
#include "commands/options.h"
#include "report/save.h"

namespace brv {

const char* const kStartupNote =
    "Brovantine does not backup the registry nor create UNDO files for the deleted keys. You may "
    "read the online Help page if you want to know how to use this utility. Click Help-Usage "
    "button in the main screen\n\n"
    "For Windows ME and XP, create a System Restore point in case you want to undo the changes "
    "made by this utility\n\n"
    "Brovantine Pro version can create registry backups for each entry you delete. The Pro "
    "version is available for Registered users";

void Form_Load(Form1& form) {
  form.desktop->MsgBox(kStartupNote, kStartupTitle, MsgButtons::Ok, MsgIcon::None);
  form.windows->ShowMain();
  Refresh_Click(form);
}

void Refresh_Click(Form1& form) {
  CODINGS(form);
  codings1(form);
  codings3(form);
  CODINGS4(form);
}

void Exit_Click(Form1& form) {
  form.windows->CloseAbout();
  form.windows->CloseMain();
}

void report_Click(Form1& form) {
  SaveReport(form, BRV_VERSION);
}

const std::vector<EventBinding>& Form1Events() {
  using E = Event;
  static const std::vector<EventBinding> events = {
      {"List1", E::Click, List1_Click},
      {"List2", E::Click, List2_Click},
      {"Command1", E::Click, Command1_Click},
      {"List3", E::Click, List3_Click},
      {"List4", E::Click, List4_Click},
      {"Command4", E::Click, Command4_Click},
      {"List5", E::Click, List5_Click},
      {"Command10", E::Click, Command10_Click},
      {"List6", E::Click, List6_Click},
      {"List7", E::Click, List7_Click},
      {"Command2", E::Click, Command2_Click},
      {"Command3", E::Click, Command3_Click},
      {"Command5", E::Click, Command5_Click},
      {"Command9", E::Click, Command9_Click},
      {"Command6", E::Click, Command6_Click},
      {"Command7", E::Click, Command7_Click},
      {"Command8", E::Click, Command8_Click},
      {"Command11", E::Click, Command11_Click},
      {"List1", E::DblClick, List1_DblClick},
      {"List2", E::DblClick, List2_DblClick},
      {"List3", E::DblClick, List3_DblClick},
      {"List4", E::DblClick, List4_DblClick},
      {"List6", E::DblClick, List6_DblClick},
      {"List7", E::DblClick, List7_DblClick},
      {"List6", E::MouseMove, List6_MouseMove},
      {"List7", E::MouseMove, List7_MouseMove},
      {"About", E::Click, About_Click},
      {"Refresh", E::Click, Refresh_Click},
      {"tbutton", E::Click, tbutton_Click},
      {"Security", E::Click, Security_Click},
      {"resettoolbar", E::Click, resettoolbar_Click},
      {"report", E::Click, report_Click},
      {"Exit", E::Click, Exit_Click},
  };
  return events;
}

void (*FindHandler(const char* control, Event event))(Form1&) {
  for (const EventBinding& binding : Form1Events()) {
    if (binding.event == event && std::strcmp(binding.control, control) == 0) {
      return binding.handler;
    }
  }
  return nullptr;
}

const std::vector<KeyBinding>& Form1Keys() {
  using E = Event;
  using K = Key;
  // Delete is the panel's delete button; Ctrl+C the list's double-click
  // (none in List5, as there); F5 is Refresh, Ctrl+S the report.
  static const std::vector<KeyBinding> keys = {
      {"List1", K::Delete, "Command1", E::Click},  {"List2", K::Delete, "Command1", E::Click},
      {"List3", K::Delete, "Command4", E::Click},  {"List4", K::Delete, "Command4", E::Click},
      {"List5", K::Delete, "Command10", E::Click}, {"List6", K::Delete, "Command6", E::Click},
      {"List7", K::Delete, "Command6", E::Click},  {"List1", K::Copy, "List1", E::DblClick},
      {"List2", K::Copy, "List2", E::DblClick},    {"List3", K::Copy, "List3", E::DblClick},
      {"List4", K::Copy, "List4", E::DblClick},    {"List6", K::Copy, "List6", E::DblClick},
      {"List7", K::Copy, "List7", E::DblClick},    {nullptr, K::Refresh, "Refresh", E::Click},
      {nullptr, K::Report, "report", E::Click},
  };
  return keys;
}

bool PressKey(Form1& form, const char* focused, Key key) {
  for (const KeyBinding& binding : Form1Keys()) {
    if (binding.key != key) continue;
    if (binding.focused && (!focused || std::strcmp(binding.focused, focused) != 0)) continue;
    const Button* button = FindButton(form, binding.control);
    if (button && !button->Enabled()) return true;
    if (auto handler = FindHandler(binding.control, binding.event)) handler(form);
    return true;
  }
  return false;
}

namespace {

template <typename Control>
struct Named {
  const char* name;
  Control* Form1::*member;
};

template <typename Control, size_t N>
Control* FindNamed(const Form1& form, const Named<Control> (&table)[N], const char* name) {
  for (const Named<Control>& entry : table) {
    if (name && std::strcmp(entry.name, name) == 0) return form.*entry.member;
  }
  return nullptr;
}

}  // namespace

ListBox* FindList(const Form1& form, const char* name) {
  static const Named<ListBox> lists[] = {
      {"List1", &Form1::List1}, {"List2", &Form1::List2}, {"List3", &Form1::List3},
      {"List4", &Form1::List4}, {"List5", &Form1::List5}, {"List6", &Form1::List6},
      {"List7", &Form1::List7},
  };
  return FindNamed(form, lists, name);
}

Button* FindButton(const Form1& form, const char* name) {
  static const Named<Button> buttons[] = {
      {"Command1", &Form1::Command1},   {"Command2", &Form1::Command2},
      {"Command3", &Form1::Command3},   {"Command4", &Form1::Command4},
      {"Command5", &Form1::Command5},   {"Command6", &Form1::Command6},
      {"Command7", &Form1::Command7},   {"Command8", &Form1::Command8},
      {"Command9", &Form1::Command9},   {"Command10", &Form1::Command10},
      {"Command11", &Form1::Command11},
  };
  return FindNamed(form, buttons, name);
}

const char* ListActedOn(const Form1& form, const char* command) {
  static const struct {
    const char* command;
    const char* lists[2];
  } kActsOn[] = {
      {"Command1", {"List1", "List2"}},  {"Command4", {"List3", "List4"}},
      {"Command10", {"List5", nullptr}}, {"Command6", {"List6", "List7"}},
      {"Command2", {"List6", nullptr}},  {"Command3", {"List7", nullptr}},
  };
  for (const auto& entry : kActsOn) {
    if (std::strcmp(entry.command, command) != 0) continue;
    for (const char* name : entry.lists) {
      const ListBox* list = FindList(form, name);
      if (list && list->ListIndex() >= 0) return name;
    }
  }
  return nullptr;
}

}  // namespace brv
