// The main window's state as the panels see it: the registry, the files, the
// desktop, the program's windows, the runners of slow work and the controls,
// by their names, and the report being written.
#pragma once

#include <memory>
#include <string>

#include "form/controls.h"
#include "files/files.h"
#include "form/desktop.h"
#include "form/runner.h"
#include "registry/registry.h"

namespace brv {

// A report being written from the window (report/).
struct ReportTask;

struct Form1 {
  Registry* registry = nullptr;
  Desktop* desktop = nullptr;
  Windows* windows = nullptr;
  Files* files = nullptr;
  Runner* runner = nullptr;
  // Writes the reports, apart from the status bar's checks.
  Runner* reportRunner = nullptr;

  ListBox *List1 = nullptr, *List2 = nullptr, *List3 = nullptr, *List4 = nullptr, *List5 = nullptr,
          *List6 = nullptr, *List7 = nullptr;
  TextBox *Text1 = nullptr, *Text2 = nullptr, *Text3 = nullptr, *Text4 = nullptr, *Text5 = nullptr,
          *Text6 = nullptr, *Text7 = nullptr, *Text8 = nullptr, *Text9 = nullptr;
  Button *Command1 = nullptr, *Command2 = nullptr, *Command3 = nullptr, *Command4 = nullptr,
         *Command5 = nullptr, *Command6 = nullptr, *Command7 = nullptr, *Command8 = nullptr,
         *Command9 = nullptr, *Command10 = nullptr, *Command11 = nullptr;
  StatusBar* StatusBar1 = nullptr;

  // The toolbar identifiers of the last selection in the toolbar panel.
  ListItem currentUserToolbar;
  ListItem allUsersToolbar;

  // The report being written, if one is.
  std::shared_ptr<ReportTask> report;
};

}  // namespace brv
