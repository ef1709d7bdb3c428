// Names holding a NUL, on both registries: "{X}" and "{X}" followed by a NUL
// and more are two keys (and "Data" and "Data" followed by a NUL two values),
// each listed whole and each reached, changed and deleted exactly.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/text.h"
#include "catalogue/common.h"
#include "conformance/registry_conformance.h"
#include "registry/module1.h"

namespace brv {
namespace {

const char* const kBase = kConformanceBase;
const std::string kShort = "{X}";
const std::string kLong("{X}\0more", 8);
const std::string kData = "Data";
const std::string kDataLong("Data\0more", 9);

class NulConformance : public ::testing::Test {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  void Clean() {
    reg.DeleteTree(At(kBase));
    for (View view : {View::k64, View::k32}) reg.DeleteTree(RegAddress{kLocalMachine, view, kBase});
  }

  static RegAddress At(const std::string& path, RootKey root = kCurrentUser,
                       View view = View::k64) {
    return RegAddress{root, view, path};
  }

  // A key with both values, each holding its own text.
  void MakePair(const RegAddress& at, const std::string& label) {
    std::unique_ptr<RegKey> key;
    ASSERT_EQ(kErrorSuccess, reg.CreateKey(at, &key));
    ASSERT_EQ(kErrorSuccess, key->SetValue(kData, Sz(label + " short")));
    ASSERT_EQ(kErrorSuccess, key->SetValue(kDataLong, Sz(label + " long")));
  }
  std::string Read(const RegAddress& at, const std::string& name) {
    return CutAtNul(GetRegString(reg, at, name));
  }
  std::string Name(const RegAddress& at) { return KeyName(reg, at); }

  Registry& reg = ConformanceRegistry();
};

TEST_F(NulConformance, KeysAndValuesThatGoOnAfterANulAreTheirOwn) {
  MakePair(At(Under(kShort)), "short key");
  MakePair(At(Under(kLong)), "long key");
  // Listed whole, the shorter name first.
  EXPECT_EQ((std::vector<std::string>{kShort, kLong}), SubKeyNames(reg, At(kBase)));
  EXPECT_EQ(Sorted({kData, kDataLong}), Sorted(ValueNames(reg, At(Under(kLong)))));
  EXPECT_EQ(Sorted({kData, kDataLong}), Sorted(ValueNames(reg, At(Under(kShort)))));
  EXPECT_NE(Name(At(Under(kShort))), Name(At(Under(kLong))));
  // Each read reaches exactly the stored name, by address and by text path.
  EXPECT_EQ("short key short", Read(At(Under(kShort)), kData));
  EXPECT_EQ("short key long", Read(At(Under(kShort)), kDataLong));
  EXPECT_EQ("long key short", Read(At(Under(kLong)), kData));
  EXPECT_EQ("long key long", Read(At(Under(kLong)), kDataLong));
  EXPECT_EQ("long key long",
            CutAtNul(GetRegString(reg, "HKEY_CURRENT_USER\\" + Under(kLong), kDataLong)));
  // Case does not matter after the NUL either.
  EXPECT_EQ("long key long",
            Read(At(Under(std::string("{x}\0MORE", 8))), std::string("DATA\0More", 9)));
  EXPECT_EQ(kErrorFileNotFound, reg.DeleteTree(At(Under(std::string("{X}\0mor", 7)))));
  RegData data;
  std::unique_ptr<RegKey> key;
  ASSERT_EQ(kErrorSuccess, reg.OpenKey(At(Under(kLong)), Registry::Access::Read, &key));
  EXPECT_EQ(kErrorFileNotFound, key->QueryValue(std::string("Data\0mor", 8), &data));

  // Writing one leaves the other.
  ASSERT_EQ(kErrorSuccess, reg.OpenKey(At(Under(kLong)), Registry::Access::ReadWrite, &key));
  const RegData bytes{kRegBinary, std::string("\x00\x01\x00", 3)};
  ASSERT_EQ(kErrorSuccess, key->SetValue(kDataLong, bytes));
  ASSERT_EQ(kErrorSuccess, key->QueryValue(kDataLong, &data));
  EXPECT_EQ(kRegBinary, data.type);
  EXPECT_EQ(bytes.bytes, data.bytes);
  EXPECT_EQ("long key short", Read(At(Under(kLong)), kData));
  EXPECT_EQ("short key long", Read(At(Under(kShort)), kDataLong));

  // Deleting a value takes exactly that one, through the key and by address.
  EXPECT_EQ(kErrorSuccess, key->DeleteValue(kDataLong));
  EXPECT_EQ(kErrorFileNotFound, key->DeleteValue(kDataLong));
  EXPECT_EQ(std::vector<std::string>{kData}, ValueNames(reg, At(Under(kLong))));
  EXPECT_EQ(kErrorSuccess, reg.DeleteValue(At(Under(kShort)), kDataLong));
  EXPECT_EQ(kErrorFileNotFound, reg.DeleteValue(At(Under(kShort)), kDataLong));
  EXPECT_EQ(std::vector<std::string>{kData}, ValueNames(reg, At(Under(kShort))));
  EXPECT_EQ(kErrorSuccess, reg.DeleteValue(At(Under(kLong)), kData));
  EXPECT_EQ("short key short", Read(At(Under(kShort)), kData));
  key.reset();

  // Deleting a key takes exactly that one.
  EXPECT_EQ(kErrorSuccess, reg.DeleteTree(At(Under(kLong))));
  EXPECT_EQ(kErrorFileNotFound, reg.DeleteTree(At(Under(kLong))));
  EXPECT_EQ(std::vector<std::string>{kShort}, SubKeyNames(reg, At(kBase)));
  EXPECT_EQ("short key short", Read(At(Under(kShort)), kData));
  MakePair(At(Under(kLong)), "again");
  EXPECT_EQ(kErrorSuccess, reg.DeleteTree(At(Under(kShort))));
  EXPECT_EQ(std::vector<std::string>{kLong}, SubKeyNames(reg, At(kBase)));
  EXPECT_EQ("again long", Read(At(Under(kLong)), kDataLong));
}

TEST_F(NulConformance, PathsGoThroughNulNamesAndDeletesTakeTheWholeTree) {
  // A NUL name in the middle of a path, with plain names after it.
  const std::string deep = Under(kLong + "\\inner\\" + kLong + "\\plain");
  MakePair(At(deep), "deep");
  MakePair(At(Under(kShort + "\\inner")), "beside");
  EXPECT_EQ("deep long", Read(At(deep), kDataLong));
  EXPECT_EQ((std::vector<std::string>{"inner"}), SubKeyNames(reg, At(Under(kLong))));
  EXPECT_EQ((std::vector<std::string>{kLong}), SubKeyNames(reg, At(Under(kLong + "\\inner"))));
  std::unique_ptr<RegKey> key;
  EXPECT_EQ(kErrorFileNotFound,
            reg.OpenKey(At(Under(kShort + "\\inner\\" + kLong)), Registry::Access::Read, &key));
  // A key that is no link opens as itself either way.
  ASSERT_EQ(kErrorSuccess, reg.OpenLink(At(Under(kLong + "\\inner")), &key));
  std::string linkName;
  ASSERT_EQ(kErrorSuccess, key->FullName(&linkName));
  EXPECT_EQ(Name(At(Under(kLong + "\\inner"))), linkName);
  key.reset();

  // A tree with NUL names among its sub-keys goes whole, nothing beside it.
  const std::string entry = Under("entry");
  MakePair(At(entry + "\\a"), "a");
  MakePair(At(entry + "\\" + kLong + "\\sub\\" + kLong), "hidden");
  MakePair(At(entry + "\\" + kShort), "plain");
  MakePair(At(entry + "\\zz"), "z");
  EXPECT_EQ((std::vector<std::string>{"a", "zz", kShort, kLong}), SubKeyNames(reg, At(entry)));
  EXPECT_EQ(kErrorSuccess, reg.DeleteTree(At(entry)));
  EXPECT_EQ((std::vector<std::string>{kShort, kLong}), SubKeyNames(reg, At(kBase)));
  EXPECT_EQ("deep long", Read(At(deep), kDataLong));
  // So does a tree whose own name holds a NUL.
  EXPECT_EQ(kErrorSuccess, reg.DeleteTree(At(Under(kLong))));
  EXPECT_EQ((std::vector<std::string>{kShort}), SubKeyNames(reg, At(kBase)));
  EXPECT_EQ("beside long", Read(At(Under(kShort + "\\inner")), kDataLong));
}

TEST_F(NulConformance, TheThirtyTwoBitViewKeepsNulNamesApartInItsOwnKeys) {
  const RegAddress short32 = At(Under(kShort), kLocalMachine, View::k32);
  const RegAddress long32 = At(Under(kLong), kLocalMachine, View::k32);
  const RegAddress long64 = At(Under(kLong), kLocalMachine, View::k64);
  MakePair(short32, "32 short");
  MakePair(long32, "32 long");
  MakePair(long64, "64 long");
  EXPECT_EQ((std::vector<std::string>{kShort, kLong}),
            SubKeyNames(reg, At(kBase, kLocalMachine, View::k32)));
  EXPECT_EQ((std::vector<std::string>{kLong}),
            SubKeyNames(reg, At(kBase, kLocalMachine, View::k64)));
  // The 32-bit view's key is the one under Wow6432Node.
  const RegAddress under =
      At("Software\\Wow6432Node\\BrovantineConformance\\" + kLong, kLocalMachine, View::k64);
  EXPECT_EQ(Name(under), Name(long32));
  EXPECT_NE(Name(long64), Name(long32));
  EXPECT_EQ("32 long long", Read(long32, kDataLong));
  EXPECT_EQ("64 long long", Read(long64, kDataLong));

  EXPECT_EQ(kErrorSuccess, reg.DeleteValue(long32, kDataLong));
  EXPECT_EQ(std::vector<std::string>{kData}, ValueNames(reg, long32));
  EXPECT_EQ("64 long long", Read(long64, kDataLong));
  EXPECT_EQ(kErrorSuccess, reg.DeleteTree(long32));
  EXPECT_EQ((std::vector<std::string>{kShort}),
            SubKeyNames(reg, At(kBase, kLocalMachine, View::k32)));
  EXPECT_EQ("32 short long", Read(short32, kDataLong));
  EXPECT_EQ("64 long short", Read(long64, kData));
}

}  // namespace
}  // namespace brv
