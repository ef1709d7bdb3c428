// Both registry views on memory, beyond the scenarios both windows run
// (ViewsPanel): one view, a view that cannot be read, where per-user entries
// find their class.
#include <gtest/gtest.h>

#include "app/links.h"
#include "base/text.h"
#include "catalogue/bhos.h"
#include "catalogue/toolbar_buttons.h"
#include "catalogue/toolbars.h"
#include "support/memory_form.h"

namespace brv {
namespace {

class Views : public ::testing::Test {
 protected:
  void Click(int list, const std::string& text, void (*handler)(Form1&)) {
    ASSERT_TRUE(m.lists[list].Select(text)) << text;
    handler(m.form);
  }

  // The same object in both views, each with its own class.
  void SeedObjects() {
    m.SetString(kLocalMachine, Bho(kA), "", "");
    m.SetString(kLocalMachine, Wow(Bho(kA)), "", "");
    m.CreateKey(kLocalMachine, Wow(Bho(kB)) + "\\Sub");
    m.CreateKey(kLocalMachine, Wow(Bho(std::string(" ") + kC)));
    RegisterClass(m.registry, kA, "Alpha 64", "C:\\a64.dll");
    RegisterClass(m.registry, {kClassesRoot, View::k64, Clsid32(kA)}, "Alpha 32", "C:\\a32.dll");
    m.SetString(kClassesRoot, Clsid32(kB), "", "Beta 32");
    m.SetString(kClassesRoot, Clsid32(kC), "", "Gamma 32");
  }

  MemoryForm m;
  Form1& form = m.form;
};

TEST_F(Views, EachItemKeepsItsNameAndViewApartFromItsText) {
  SeedObjects();
  CODINGS4(form);
  ASSERT_EQ((std::vector<std::string>{std::string(" ") + kC + " (32-bit)"}), m.lists[7].items);
  EXPECT_EQ(std::string(" ") + kC, m.lists[7].Item(0)->name);
  EXPECT_EQ(View::k32, m.lists[7].Item(0)->view);
}

TEST_F(Views, OneViewOrOneKeyListsEachEntryOnceUnmarked) {
  MemoryRegistry oneView(MemoryRegistry::Views::One);
  form.registry = &oneView;
  std::unique_ptr<RegKey> key;
  ASSERT_EQ(kErrorSuccess, oneView.CreateKey(kLocalMachine, Bho(kA), &key));
  ASSERT_EQ(kErrorSuccess, oneView.CreateKey(kLocalMachine, Button(kB), &key));
  CODINGS4(form);
  CODINGS(form);
  EXPECT_EQ((std::vector<std::string>{kA}), m.lists[6].items);
  EXPECT_EQ((std::vector<std::string>{kB}), m.lists[2].items);
}

TEST_F(Views, A32BitKeyThatCannotBeOpenedHidesNothingOfThe64BitOne) {
  SeedObjects();
  m.registry.Deny(kLocalMachine, Wow(kBhoPath));
  CODINGS4(form);
  EXPECT_EQ((std::vector<std::string>{kA}), m.lists[6].items);
  EXPECT_TRUE(m.lists[7].items.empty());
}

TEST_F(Views, DetailsComeFromTheEntrysOwnView) {
  SeedObjects();
  CODINGS4(form);
  Click(7, std::string(" ") + kC + " (32-bit)", List7_Click);
  EXPECT_EQ("Gamma 32", m.texts[5].text);

  // A machine-wide button without Exec takes its file from its view's class.
  m.SetString(kLocalMachine, Wow(Button(kB)), "ClsidExtension", kB);
  m.SetString(kClassesRoot, Clsid32(kB) + "\\InProcServer32", "", "C:\\b32.dll");
  m.SetString(kClassesRoot, Clsid(kB) + "\\InProcServer32", "", "C:\\b64.dll");
  CODINGS(form);
  Click(2, std::string(kB) + " (32-bit)", List2_Click);
  EXPECT_EQ("C:\\b32.dll", m.texts[2].text);
}

TEST_F(Views, PerUserEntriesTakeTheirClassFromThe64BitViewElseThe32BitOne) {
  m.SetString(kCurrentUser, Button(kA), "ClsidExtension", kC);
  m.SetString(kClassesRoot, Clsid32(kC) + "\\InProcServer32", "", "C:\\c32.dll");
  m.SetString(kCurrentUser, kUserToolbarsPath, kC, "");
  m.SetString(kClassesRoot, Clsid32(kC), "", "Gamma 32");
  CODINGS(form);
  codings1(form);
  Click(1, kA, List1_Click);
  EXPECT_EQ("C:\\c32.dll", m.texts[2].text);
  Click(3, kC, List3_Click);
  EXPECT_EQ("Gamma 32", m.texts[3].text);
  EXPECT_EQ("C:\\c32.dll", m.texts[4].text);

  // Registered in both: the 64-bit view's.
  RegisterClass(m.registry, kC, "Gamma 64", "C:\\c64.dll", "InProcServer32");
  Click(1, kA, List1_Click);
  EXPECT_EQ("C:\\c64.dll", m.texts[2].text);
  Click(3, kC, List3_Click);
  EXPECT_EQ("Gamma 64", m.texts[3].text);
}

TEST_F(Views, APerUserToolbarTakesItsClassKeyInEachViewThatHoldsOne) {
  m.SetString(kCurrentUser, kUserToolbarsPath, kC, "");
  m.SetString(kClassesRoot, Clsid(kC), "", "64");
  m.SetString(kClassesRoot, Clsid32(kC), "", "32");
  m.SetString(kCurrentUser, kUserToolbarsPath, kB, "");
  m.SetString(kClassesRoot, Clsid32(kB), "", "32 only");
  codings1(form);
  for (const char* id : {kC, kB}) {
    m.desktop.answers = {MsgAnswer::Ok};
    Click(3, id, List3_Click);
    Command4_Click(form);
    EXPECT_FALSE(m.KeyExists(kClassesRoot, Clsid(id))) << id;
    EXPECT_FALSE(m.KeyExists(kClassesRoot, Clsid32(id))) << id;
    EXPECT_FALSE(m.ValueExists(kCurrentUser, kUserToolbarsPath, id)) << id;
  }
  EXPECT_TRUE(m.KeyExists(kClassesRoot, "Wow6432Node\\CLSID"));
}

}  // namespace
}  // namespace brv
