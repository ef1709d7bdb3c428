#include "app/events.h"

#include <cstring>

#include "app/links.h"
#include "catalogue/bhos.h"
#include "catalogue/context_menus.h"
#include "catalogue/toolbar_buttons.h"
#include "catalogue/toolbars.h"
#include "commands/options.h"

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

}  // namespace brv
