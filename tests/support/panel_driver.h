// One panel scenario, two windows: each build drives its own main window
// through this interface (natively the handlers on memory, under Wine the
// real window on the real registry), so a scenario is written once and runs
// on both. Seeding and checking go through the registry it reads.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "form/desktop.h"
#include "registry/registry.h"

namespace brv {

// A message box as the user saw it.
struct ShownMessage {
  std::string text;
  std::string title;
  MsgButtons buttons;
  MsgIcon icon;
};
bool operator==(const ShownMessage& a, const ShownMessage& b);
std::ostream& operator<<(std::ostream& out, const ShownMessage& message);

// The box every delete shows before it deletes anything; OK goes ahead.
ShownMessage DeleteConfirmationBox();
// A box with the program's title, an OK button and no icon.
ShownMessage Told(const std::string& text, const std::string& title = "Brovantine");

class PanelDriver {
 public:
  virtual ~PanelDriver() = default;

  // The registry the window reads: seed it before Open, check it any time.
  virtual Registry& registry() = 0;
  // Opens the main window: the start-up note is answered and the panels
  // fill.
  virtual void Open() = 0;
  // Selects the item a list ("List6") shows as `text`, as a click does (a
  // double-click after it when asked); false, and nothing done, when the
  // list does not show it.
  virtual bool Select(const std::string& list, const std::string& text,
                      bool doubleClick = false) = 0;
  // Clicks a button ("Command6") or chooses a menu item ("Security").
  virtual void Click(const std::string& control) = 0;
  // Answers for the next message boxes, in order. A box with no answer left
  // is closed: Cancel, No or OK.
  virtual void Answer(std::vector<MsgAnswer> answers) = 0;
  // The boxes shown since Open, the start-up note not counted.
  virtual std::vector<ShownMessage> Boxes() = 0;

  virtual std::vector<std::string> Items(const std::string& list) = 0;
  virtual int ListIndex(const std::string& list) = 0;
  virtual std::string Text(const std::string& box) = 0;
  virtual bool Enabled(const std::string& button) = 0;
  virtual std::string Clipboard() = 0;
  // The system's text for an error number, as the window shows it.
  virtual std::string ErrorText(long code) = 0;
  // The path of the program the window belongs to.
  virtual std::string ProgramPath() = 0;

  // Makes an existing key refuse changes (opening it for writing, deleting it
  // or its values) with kErrorAccessDenied, as a key without write access
  // does. (Whether keys can still be made in it differs between the two.)
  virtual void Refuse(RootKey root, const std::string& path) = 0;
  // Where a 32-bit program finds the class key of an identifier, for seeding
  // and checking it through registry().
  virtual RegAddress Class32(const std::string& id) = 0;
  // The whole registry the window reads, as DumpRegistry writes it, the
  // 32-bit class keys of Class32 included (as "[HKCR\Wow6432Node\CLSID\..."):
  // for comparing before and after.
  virtual std::vector<std::string> Dump() = 0;
  // Makes a new key a registry link to the existing key `target`.
  virtual void Link(const RegAddress& at, const RegAddress& target) = 0;
};

// The build's driver, on an empty registry, its window not yet open.
std::unique_ptr<PanelDriver> MakePanelDriver();

}  // namespace brv
