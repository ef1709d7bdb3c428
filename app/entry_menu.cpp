#include "app/entry_menu.h"

#include <memory>

#include "app/config.h"
#include "app/events.h"
#include "app/links.h"
#include "base/text.h"
#include "catalogue/bhos.h"
#include "catalogue/common.h"
#include "catalogue/context_menus.h"
#include "catalogue/toolbar_buttons.h"
#include "catalogue/toolbars.h"
#include "catalogue/verdict.h"
#include "form/report.h"
#include "registry/module1.h"

namespace brv {

namespace {

// Where the Registry Editor keeps the key it opens at: a new instance starts
// there.
const char kEditorSettings[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit";
const char kLastKey[] = "LastKey";
const char kEditorProgram[] = "regedit.exe";
// A new instance even when one is running (which would not read LastKey).
const char kNewInstance[] = "/m";

// What each list's entries are, and where they live.
struct ListedIn {
  const char* list;
  Panel panel;
  RootKey root;
  const char* path;
  bool valueEntries;   // entries are values of the key (toolbars), not sub-keys
  bool hasIdentifier;  // "Copy" applies, and the web is searched for the identifier
};

const ListedIn kLists[] = {
    {"List1", Panel::CurrentUserButtons, kCurrentUser, kExtensionsPath, false, true},
    {"List2", Panel::AllUsersButtons, kLocalMachine, kExtensionsPath, false, true},
    {"List3", Panel::CurrentUserToolbars, kCurrentUser, kUserToolbarsPath, true, true},
    {"List4", Panel::AllUsersToolbars, kLocalMachine, kMachineToolbarsPath, true, true},
    {"List5", Panel::MenuItems, kCurrentUser, kMenuExtPath, false, false},
    {"List6", Panel::EnabledObjects, kLocalMachine, kBhoPath, false, true},
    {"List7", Panel::DisabledObjects, kLocalMachine, kBhoPath, false, true},
};

const ListedIn* FindListed(const std::string& list) {
  for (const ListedIn& listed : kLists) {
    if (list == listed.list) return &listed;
  }
  return nullptr;
}

void OpenInEditor(Form1& form, const EntryMenu& menu) {
  Desktop& desktop = *form.desktop;
  const std::string shown = ShownKeyPath(menu.key);
  std::unique_ptr<RegKey> key;
  if (form.registry->OpenKey(menu.key, Registry::Access::Read, &key) == kErrorFileNotFound) {
    desktop.MsgBox("The key " + shown +
                       " is no longer in the registry: Refresh shows the lists as they are now.",
                   kAppTitle, MsgButtons::Ok, MsgIcon::None);
    return;
  }
  key.reset();
  std::unique_ptr<RegKey> settings;
  long r = form.registry->CreateKey({kCurrentUser, View::k64, kEditorSettings}, &settings);
  if (r == kErrorSuccess) {
    r = settings->SetValue(kLastKey, {kRegSz, Utf8ToUtf16LeBytes("Computer\\" + shown, true)});
  }
  if (r != kErrorSuccess) {
    return ReportFailure(desktop, kAppTitle,
                         "The Registry Editor was not opened: the value HKEY_CURRENT_USER\\" +
                             std::string(kEditorSettings) + "\\" + kLastKey +
                             " (the key it opens at) could not be written:",
                         r, Reason::SameLine);
  }
  const std::string folder = form.files->FolderPath(Folder::Windows);
  const std::string program = folder + (folder.empty() ? "" : "\\") + kEditorProgram;
  r = folder.empty() ? kErrorFileNotFound : desktop.StartProgram(program, {kNewInstance});
  if (r != kErrorSuccess) {
    ReportFailure(desktop, kAppTitle, "The Registry Editor (" + program + ") could not be started.",
                  r);
  }
}

// The two file items act on the file as it was located when the menu
// opened, if it is still there.
void ActOnFile(Form1& form, const EntryMenu& menu, EntryAction action) {
  Desktop& desktop = *form.desktop;
  const std::string& path = menu.file.path;
  if (form.files->Kind(path) != FileKind::File) {
    desktop.MsgBox("The file " + path + " is no longer there.", kAppTitle, MsgButtons::Ok,
                   MsgIcon::None);
    return;
  }
  if (action == EntryAction::OpenLocation) {
    const long r = desktop.ShowFileInFolder(path);
    if (r != kErrorSuccess) {
      ReportFailure(desktop, kAppTitle, "Explorer could not show the file " + path + ".", r);
    }
  } else {
    const long r = desktop.ShowFileProperties(path);
    if (r != kErrorSuccess) {
      ReportFailure(desktop, kAppTitle,
                    "The Properties window of the file " + path + " could not be shown.", r);
    }
  }
}

}  // namespace

std::string SearchAddress(const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string address = BRV_SEARCH_URL;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    const bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                       (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
                       byte == '~';
    if (plain) {
      address += c;
    } else {
      address += '%';
      address += kHex[byte >> 4];
      address += kHex[byte & 15];
    }
  }
  return address;
}

EntryMenu OpenEntryMenu(Form1& form, const std::string& list) {
  EntryMenu menu;
  const ListedIn* listed = FindListed(list);
  const ListBox* box = listed ? FindList(form, listed->list) : nullptr;
  const ListItem* item = box ? box->Selected() : nullptr;
  if (!item) return menu;
  menu.list = list;
  menu.item = *item;
  const View view = listed->root == kLocalMachine ? item->view : View::k64;
  menu.key = {listed->root, view, listed->path};
  if (!listed->valueEntries) menu.key.path += "\\" + item->name;
  // Found where the registry names the file, and where the status bar finds it.
  const RegistryVerdict verdict = ReadVerdict(*form.registry, listed->panel, *item);
  if (!verdict.file.empty()) {
    menu.file = Locate(*form.files, verdict.file, verdict.use, verdict.for32Bit);
  }
  const bool fileThere = !verdict.file.empty() && menu.file.kind == FileKind::File;
  menu.searchFor = listed->hasIdentifier ? item->identifier : CutAtNul(item->name);
  if (listed->hasIdentifier)
    menu.items.push_back({EntryAction::Copy, "&Copy", !item->identifier.empty()});
  // A NUL in a key's name: the editor cannot reach that key.
  const bool reachable = menu.key.path.find('\0') == std::string::npos;
  menu.items.push_back({EntryAction::OpenKey, "Open in &Registry Editor", reachable});
  menu.items.push_back({EntryAction::OpenLocation, "Open file &location", fileThere});
  menu.items.push_back({EntryAction::FileProperties, "File &properties", fileThere});
  menu.items.push_back({EntryAction::SearchWeb, "&Search the web", !menu.searchFor.empty()});
  return menu;
}

void ChooseEntryAction(Form1& form, const EntryMenu& menu, EntryAction action) {
  bool enabled = false;
  for (const EntryMenuItem& item : menu.items) {
    if (item.action == action) enabled = item.enabled;
  }
  if (!enabled) return;
  switch (action) {
    case EntryAction::Copy:
      if (auto handler = FindHandler(menu.list.c_str(), Event::DblClick)) handler(form);
      return;
    case EntryAction::OpenKey:
      return OpenInEditor(form, menu);
    case EntryAction::OpenLocation:
    case EntryAction::FileProperties:
      return ActOnFile(form, menu, action);
    case EntryAction::SearchWeb:
      return AskThenOpen(*form.desktop, kAppTitle, SearchAddress(menu.searchFor));
  }
}

}  // namespace brv
