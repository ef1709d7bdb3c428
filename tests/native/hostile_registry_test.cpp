// Every panel on registry content nobody would write by hand: names of any
// characters and length, values of every type and size. Looking never
// changes anything; Cancel never changes anything; OK deletes only inside
// the panel's own keys.
#include <gtest/gtest.h>

#include <random>

#include "app/events.h"
#include "app/links.h"
#include "catalogue/bhos.h"
#include "catalogue/context_menus.h"
#include "catalogue/toolbar_buttons.h"
#include "catalogue/toolbars.h"
#include "commands/options.h"
#include "base/text.h"
#include "support/memory_form.h"

namespace brv {
namespace {

// The keys no panel owns, one after the other.
std::vector<std::string> Neighbours(Registry& registry) {
  std::vector<std::string> lines;
  const std::pair<RootKey, const char*> keys[] = {
      {kCurrentUser, "Software\\Neighbour"},
      {kLocalMachine, "Software\\Microsoft\\Internet Explorer\\Other"},
      {kClassesRoot, "CLSID\\{AAAAAAAA-0000-0000-0000-000000000001}x"}};
  for (const auto& key : keys) {
    const std::vector<std::string> dump = DumpKey(registry, key.first, key.second);
    lines.insert(lines.end(), dump.begin(), dump.end());
  }
  return lines;
}

class HostileRegistry : public ::testing::Test {
 protected:
  // A name from pieces that matter to the handlers: braces, spaces at either
  // end, identifiers in both cases, characters outside any code page, NULs,
  // and now and then a very long run.
  std::string Name(bool forValue) {
    static const char* const pieces[] = {"{",
                                         "}",
                                         " ",
                                         "  ",
                                         "{AAAAAAAA-0000-0000-0000-000000000001}",
                                         "{aaaaaaaa-0000-0000-0000-000000000001}",
                                         "\xC3\xA9",
                                         "\xE4\xB8\xAD",
                                         "\xF0\x9F\x98\x80",
                                         "x",
                                         "Error",
                                         "-",
                                         ".",
                                         "\\"};
    std::string name;
    const int count = 1 + static_cast<int>(random_() % 4);
    for (int i = 0; i < count; ++i) {
      const size_t pick = random_() % (forValue ? 14 : 13);  // key names hold no separator
      name += pieces[pick];
    }
    if (random_() % 8 == 0) name += std::string(1, '\0') + "tail";
    if (random_() % 16 == 0) name += std::string(forValue ? 16000 : 60, 'L');
    return name;
  }

  RegData Data() {
    switch (random_() % 6) {
      case 0:
        return {kRegSz, Utf8ToUtf16LeBytes("C:\\some \xC3\xA9 file.dll", true)};
      case 1:
        return {kRegSz, std::string("odd", 3)};  // no NUL, odd length
      case 2:
        return {kRegDword, std::string("\x01\x02\x03\x04", 4)};
      case 3:
        return {kRegMultiSz, Utf8ToUtf16LeBytes("a", true) + std::string(2, '\0')};
      case 4:
        return {kRegSz, Utf8ToUtf16LeBytes(std::string(100000, 'v'), true)};
      default:
        return {kRegBinary, std::string()};
    }
  }

  void SeedKeys(RootKey root, const std::string& parent, int count) {
    for (int i = 0; i < count; ++i) {
      const std::string key = parent + "\\" + Name(false);
      m.CreateKey(root, key);
      for (const char* value : {"", "ButtonText", "Exec", "Script", "MenuText", "ClsidExtension"}) {
        if (random_() % 2) m.SetData(root, key, value, Data());
      }
      // Its class registration, when its name could be one.
      const std::string id = TrimSpaces(key.substr(key.rfind('\\') + 1));
      if (!id.empty() && random_() % 2) {
        m.SetData(kClassesRoot, "CLSID\\" + id, "", Data());
        m.SetData(kClassesRoot, "CLSID\\" + id + "\\InprocServer32", "", Data());
      }
    }
  }

  void SeedValues(RootKey root, const std::string& key, int count) {
    for (int i = 0; i < count; ++i) {
      const std::string name = Name(true);
      m.SetData(root, key, name, Data());
      if (random_() % 2) m.SetData(kClassesRoot, "CLSID\\" + name, "", Data());
    }
  }

  void SeedEverything() {
    SeedKeys(kCurrentUser, kExtensionsPath, 25);
    SeedKeys(kLocalMachine, kExtensionsPath, 25);
    SeedValues(kCurrentUser, kUserToolbarsPath, 25);
    SeedValues(kLocalMachine, kMachineToolbarsPath, 25);
    SeedKeys(kCurrentUser, kMenuExtPath, 25);
    SeedKeys(kLocalMachine, kBhoPath, 40);
    // Neighbours that no panel owns.
    m.SetString(kCurrentUser, "Software\\Neighbour", "keep", "me");
    m.SetString(kLocalMachine, "Software\\Microsoft\\Internet Explorer\\Other", "keep", "me");
    m.SetString(kClassesRoot, "CLSID\\{AAAAAAAA-0000-0000-0000-000000000001}x", "", "not a class");
  }

  // Every item of every list clicked, double-clicked and pointed at.
  void LookAtEverything() {
    struct Handlers {
      int list;
      void (*click)(Form1&);
      void (*doubleClick)(Form1&);
    };
    const Handlers lists[] = {
        {1, List1_Click, List1_DblClick}, {2, List2_Click, List2_DblClick},
        {3, List3_Click, List3_DblClick}, {4, List4_Click, List4_DblClick},
        {5, List5_Click, nullptr},        {6, List6_Click, List6_DblClick},
        {7, List7_Click, List7_DblClick},
    };
    for (const Handlers& h : lists) {
      for (int i = 0; i < m.lists[h.list].ListCount(); ++i) {
        m.lists[h.list].index = i;
        h.click(form);
        if (h.doubleClick) h.doubleClick(form);
        List6_MouseMove(form);
        List7_MouseMove(form);
      }
    }
  }

  std::mt19937 random_{20261208};
  MemoryForm m;
  Form1& form = m.form;
};

TEST_F(HostileRegistry, LookingAndCancellingChangeNothing) {
  SeedEverything();
  Refresh_Click(form);
  for (int list = 1; list <= 7; ++list) {
    EXPECT_GT(m.lists[list].ListCount(), 0) << "List" << list;
  }
  const std::vector<std::string> before = DumpRegistry(m.registry);
  LookAtEverything();
  // Every command that asks, answered with Cancel (the default answer).
  for (int list = 1; list <= 7; ++list) {
    m.lists[list].index = m.lists[list].ListCount() - 1;
  }
  Command1_Click(form);
  Command4_Click(form);
  Command10_Click(form);
  Command6_Click(form);
  Security_Click(form);
  EXPECT_TRUE(DumpRegistry(m.registry) == before);
  EXPECT_TRUE(m.desktop.opened.empty());
}

TEST_F(HostileRegistry, DeletingEverythingListedTouchesNothingElse) {
  SeedEverything();
  Refresh_Click(form);
  const std::vector<std::string> untouched = Neighbours(m.registry);
  ASSERT_EQ(6u, untouched.size());

  // Select the first item of a list and answer OK, as long as the list
  // shrinks; what stays (protected bands, names the delete refuses) is left.
  const auto deleteAll = [&](int list, void (*command)(Form1&)) {
    for (int guard = 0; guard < 200 && m.lists[list].ListCount() > 0; ++guard) {
      const int before = m.lists[list].ListCount();
      for (int skip = 0; skip < before; ++skip) {
        m.lists[list].index = skip;
        m.desktop.answers = {MsgAnswer::Ok, MsgAnswer::Ok};
        command(form);
        if (m.lists[list].ListCount() < before) break;
        Refresh_Click(form);
      }
      if (m.lists[list].ListCount() >= before) break;
    }
  };
  deleteAll(1, Command1_Click);
  deleteAll(2, Command1_Click);
  deleteAll(3, Command4_Click);
  deleteAll(4, Command4_Click);
  deleteAll(5, Command10_Click);
  deleteAll(6, Command6_Click);
  deleteAll(7, Command6_Click);
  Refresh_Click(form);

  // Every context-menu entry can go; objects stay only when their name is
  // not an identifier's.
  EXPECT_TRUE(m.lists[5].items.empty());
  for (const std::string& item : m.lists[6].items) EXPECT_NE('{', TrimSpaces(item)[0]) << item;
  for (const std::string& item : m.lists[7].items) EXPECT_NE('{', TrimSpaces(item)[0]) << item;
  EXPECT_TRUE(Neighbours(m.registry) == untouched);
}

}  // namespace
}  // namespace brv
