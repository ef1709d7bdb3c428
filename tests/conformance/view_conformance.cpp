// The two registry views, on both registries: what is redirected for 32-bit
// programs, what is shared, and that each operation stays in its own view.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "catalogue/common.h"
#include "conformance/registry_conformance.h"
#include "registry/key_move.h"
#include "registry/module1.h"
#include "base/text.h"

namespace brv {
namespace {

const char kMachine[] = "Software\\BrovantineConformance";
const char kUser[] = "Software\\BrovantineConformance";
const char kClass[] = "{B0B0B0B0-0000-4000-8000-00000000C0DE}";

RegAddress At(RootKey root, View view, const std::string& path) {
  return RegAddress{root, view, path};
}

class ViewConformance : public ::testing::Test {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  void Clean() {
    for (View view : {View::k64, View::k32}) {
      reg.DeleteTree(At(kLocalMachine, view, kMachine));
      reg.DeleteTree(ClassKey(view, kClass));
    }
    reg.DeleteTree(At(kCurrentUser, View::k64, kUser));
  }

  std::string Name(const RegAddress& at) { return KeyName(reg, at); }

  Registry& reg = ConformanceRegistry();
};

TEST_F(ViewConformance, MachineSoftwareIsTwoKeysWithTheirOwnContents) {
  const std::string entry = std::string(kMachine) + "\\Entry";
  SetString(reg, At(kLocalMachine, View::k64, entry), "v", "sixty-four");
  EXPECT_FALSE(KeyExists(reg, At(kLocalMachine, View::k32, entry)));
  SetString(reg, At(kLocalMachine, View::k32, entry), "v", "thirty-two");
  EXPECT_EQ("sixty-four", CutAtNul(GetRegString(reg, At(kLocalMachine, View::k64, entry), "v")));
  EXPECT_EQ("thirty-two", CutAtNul(GetRegString(reg, At(kLocalMachine, View::k32, entry), "v")));
  // The 32-bit view's key is, for 64-bit programs, the one under Wow6432Node.
  const RegAddress under =
      At(kLocalMachine, View::k64, "Software\\Wow6432Node\\BrovantineConformance\\Entry");
  EXPECT_EQ("thirty-two", CutAtNul(GetRegString(reg, under, "v")));
  EXPECT_EQ(Name(under), Name(At(kLocalMachine, View::k32, entry)));
  EXPECT_NE(Name(At(kLocalMachine, View::k64, entry)), Name(At(kLocalMachine, View::k32, entry)));
  // The text path reads in the view asked for.
  EXPECT_EQ("thirty-two",
            CutAtNul(GetRegString(reg, "HKEY_LOCAL_MACHINE\\" + entry, "v", View::k32)));
}

TEST_F(ViewConformance, ClassKeysAreTwoAndTheCurrentUsersSoftwareIsOne) {
  SetString(reg, ClassKey(View::k32, kClass), "", "class of the 32-bit view");
  EXPECT_FALSE(KeyExists(reg, ClassKey(View::k64, kClass)));
  EXPECT_TRUE(
      KeyExists(reg, At(kClassesRoot, View::k64, std::string("Wow6432Node\\CLSID\\") + kClass)));
  EXPECT_EQ(View::k32, ClassView(reg, kClass));
  SetString(reg, ClassKey(View::k64, kClass), "", "class of the 64-bit view");
  EXPECT_EQ(View::k64, ClassView(reg, kClass));
  EXPECT_NE(Name(ClassKey(View::k64, kClass)), Name(ClassKey(View::k32, kClass)));

  SetString(reg, At(kCurrentUser, View::k64, kUser), "shared", "one");
  EXPECT_EQ("one", CutAtNul(GetRegString(reg, At(kCurrentUser, View::k32, kUser), "shared")));
  EXPECT_EQ(Name(At(kCurrentUser, View::k64, kUser)), Name(At(kCurrentUser, View::k32, kUser)));
}

TEST_F(ViewConformance, DeletesAndMovesStayInTheirView) {
  for (View view : {View::k64, View::k32}) {
    SetString(reg, At(kLocalMachine, view, std::string(kMachine) + "\\E\\Deep\\Er"), "v", "x");
    SetString(reg, At(kLocalMachine, view, std::string(kMachine) + "\\E"), "keep", "k");
  }
  const RegAddress e32 = At(kLocalMachine, View::k32, std::string(kMachine) + "\\E");
  const RegAddress e64 = At(kLocalMachine, View::k64, std::string(kMachine) + "\\E");

  EXPECT_EQ(kErrorSuccess, reg.DeleteValue(e32, "keep"));
  EXPECT_EQ("k", CutAtNul(GetRegString(reg, e64, "keep")));
  EXPECT_EQ(kErrorFileNotFound, reg.DeleteValue(e32, "keep"));

  EXPECT_EQ(kErrorSuccess, MoveKey(reg, e32, std::string(kMachine) + "\\ E"));
  EXPECT_TRUE(
      KeyExists(reg, At(kLocalMachine, View::k32, std::string(kMachine) + "\\ E\\Deep\\Er")));
  EXPECT_FALSE(KeyExists(reg, e32));
  EXPECT_FALSE(KeyExists(reg, At(kLocalMachine, View::k64, std::string(kMachine) + "\\ E")));
  EXPECT_TRUE(
      KeyExists(reg, At(kLocalMachine, View::k64, std::string(kMachine) + "\\E\\Deep\\Er")));

  EXPECT_EQ(kErrorSuccess,
            reg.DeleteTree(At(kLocalMachine, View::k32, std::string(kMachine) + "\\ E")));
  EXPECT_EQ(std::vector<std::string>{}, SubKeyNames(reg, At(kLocalMachine, View::k32, kMachine)));
  EXPECT_EQ(std::vector<std::string>{"E"},
            SubKeyNames(reg, At(kLocalMachine, View::k64, kMachine)));
  EXPECT_EQ("k", CutAtNul(GetRegString(reg, e64, "keep")));
  EXPECT_EQ(kErrorFileNotFound, reg.DeleteTree(e32));

  SetString(reg, ClassKey(View::k64, kClass), "", "64");
  SetString(reg, ClassKey(View::k32, kClass), "", "32");
  EXPECT_EQ(kErrorSuccess, reg.DeleteTree(ClassKey(View::k32, kClass)));
  EXPECT_FALSE(KeyExists(reg, ClassKey(View::k32, kClass)));
  EXPECT_EQ("64", CutAtNul(GetRegString(reg, ClassKey(View::k64, kClass), "")));
}

TEST_F(ViewConformance, BothViewsAreListedOnlyWhereTheyAreTwoKeys) {
  SetString(reg, At(kLocalMachine, View::k64, std::string(kMachine) + "\\a"), "", "");
  SetString(reg, At(kLocalMachine, View::k32, std::string(kMachine) + "\\b"), "", "");
  std::vector<std::string> listed;
  for (const ViewedName& found : SubKeyNamesInViews(reg, kLocalMachine, kMachine)) {
    listed.push_back(found.name + (found.view == View::k32 ? "/32" : "/64"));
  }
  EXPECT_EQ((std::vector<std::string>{"a/64", "b/32"}), listed);

  SetString(reg, At(kCurrentUser, View::k64, std::string(kUser) + "\\c"), "", "");
  listed.clear();
  for (const ViewedName& found : SubKeyNamesInViews(reg, kCurrentUser, kUser)) {
    listed.push_back(found.name + (found.view == View::k32 ? "/32" : "/64"));
  }
  EXPECT_EQ((std::vector<std::string>{"c/64"}), listed);
}

}  // namespace
}  // namespace brv
