// The value writer on both registries: natively on the one in memory, under
// Wine on the real one.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/common.h"
#include "conformance/registry_conformance.h"
#include "base/text.h"
#include "registry/writer.h"

namespace brv {
namespace {

const char kBase[] = "Software\\BrovantineWriterCases";
const std::string kFull = std::string("HKCU\\") + kBase + "\\";

class WriterConformance : public ::testing::Test {
 protected:
  void SetUp() override {
    reg.DeleteTree(kCurrentUser, kBase);
    std::unique_ptr<RegKey> key;
    ASSERT_EQ(kErrorSuccess, reg.CreateKey(kCurrentUser, kBase, &key));
  }
  void TearDown() override { reg.DeleteTree(kCurrentUser, kBase); }

  // The value as stored, read with the registry's own operations; type
  // kRegNone and the error number as text when it cannot be read.
  RegData Read(const std::string& path, const std::string& name) {
    std::unique_ptr<RegKey> key;
    RegData data;
    long r =
        reg.OpenKey(kCurrentUser, std::string(kBase) + "\\" + path, Registry::Access::Read, &key);
    if (r == kErrorSuccess) r = key->QueryValue(name, &data);
    if (r != kErrorSuccess) return {kRegNone, "error " + std::to_string(r)};
    return data;
  }

  Registry& reg = ConformanceRegistry();
  RegWriter shell{reg};
};

TEST_F(WriterConformance, StoresTheThreeTypesCreatingMissingKeys) {
  EXPECT_EQ(kErrorSuccess, shell.RegWrite(kFull + "a\\b\\c\\Text", "Br\xC3\xB6vantine", "REG_SZ"));
  EXPECT_EQ(kErrorSuccess, shell.RegWrite(kFull + "a\\b\\c\\Three", "3", "REG_DWORD"));
  EXPECT_EQ(kErrorSuccess, shell.RegWrite(kFull + "a\\Max", "4294967295", "REG_DWORD"));
  EXPECT_EQ(kErrorSuccess, shell.RegWrite(kFull + "a\\Zero", "0", "REG_DWORD"));
  EXPECT_EQ(kErrorSuccess, shell.RegWrite(kFull + "a\\Java", 65536u, "REG_BINARY"));
  EXPECT_EQ(kErrorSuccess, shell.RegWrite(kFull + "a\\JavaText", "65536", "REG_BINARY"));
  EXPECT_EQ(kErrorSuccess, shell.RegWrite(kFull + "a\\Number", 258u, "REG_DWORD"));
  EXPECT_EQ(kErrorSuccess, shell.RegWrite(kFull + "a\\NumberText", 258u, "REG_SZ"));
  EXPECT_EQ(kErrorSuccess, shell.RegWrite(kFull + "a\\Empty", "", "REG_SZ"));

  const RegData text = Read("a\\b\\c", "Text");
  EXPECT_EQ(kRegSz, text.type);
  EXPECT_EQ(Utf8ToUtf16LeBytes("Br\xC3\xB6vantine", true), text.bytes);
  const RegData three = Read("a\\b\\c", "Three");
  EXPECT_EQ(kRegDword, three.type);
  EXPECT_EQ(std::string("\x03\x00\x00\x00", 4), three.bytes);
  EXPECT_EQ(std::string("\xFF\xFF\xFF\xFF", 4), Read("a", "Max").bytes);
  EXPECT_EQ(std::string(4, '\0'), Read("a", "Zero").bytes);
  for (const char* name : {"Java", "JavaText"}) {
    const RegData java = Read("a", name);
    EXPECT_EQ(kRegBinary, java.type) << name;
    EXPECT_EQ(std::string("\x00\x00\x01\x00", 4), java.bytes) << name;
  }
  EXPECT_EQ(kRegDword, Read("a", "Number").type);
  EXPECT_EQ(std::string("\x02\x01\x00\x00", 4), Read("a", "Number").bytes);
  EXPECT_EQ(Utf8ToUtf16LeBytes("258", true), Read("a", "NumberText").bytes);
  EXPECT_EQ(Utf8ToUtf16LeBytes("", true), Read("a", "Empty").bytes);
  EXPECT_EQ(std::vector<std::string>{"b"},
            SubKeyNames(reg, kCurrentUser, std::string(kBase) + "\\a"));
}

TEST_F(WriterConformance, RewritingReplacesTheValueWhateverTheCaseOfItsPath) {
  ASSERT_EQ(kErrorSuccess, shell.RegWrite(kFull + "Key\\Value", "old", "REG_SZ"));
  ASSERT_EQ(kErrorSuccess,
            shell.RegWrite("HKEY_CURRENT_USER\\SOFTWARE\\BROVANTINEWRITERCASES\\KEY\\VALUE", "1",
                           "REG_DWORD"));
  ASSERT_EQ(kErrorSuccess,
            shell.RegWrite(std::string("hkcu\\") + kBase + "\\key\\Other", "2", "REG_DWORD"));
  EXPECT_EQ(std::vector<std::string>{"Key"}, SubKeyNames(reg, kCurrentUser, kBase));
  std::vector<std::string> names = ValueNames(reg, kCurrentUser, std::string(kBase) + "\\Key");
  std::sort(names.begin(), names.end());
  EXPECT_EQ((std::vector<std::string>{"Other", "Value"}), names);
  const RegData value = Read("Key", "Value");
  EXPECT_EQ(kRegDword, value.type);
  EXPECT_EQ(std::string("\x01\x00\x00\x00", 4), value.bytes);
}

TEST_F(WriterConformance, DeleteRemovesTheNamedValueOnlyAndReportsOneThatIsAbsent) {
  ASSERT_EQ(kErrorSuccess, shell.RegWrite(kFull + "Key\\Gone", "x", "REG_SZ"));
  ASSERT_EQ(kErrorSuccess, shell.RegWrite(kFull + "Key\\Gone2", "y", "REG_SZ"));
  ASSERT_EQ(kErrorSuccess, shell.RegWrite(kFull + "Key\\Sub\\Gone", "z", "REG_SZ"));
  EXPECT_EQ(kErrorSuccess, shell.RegDelete(kFull + "KEY\\gone"));
  EXPECT_EQ(std::vector<std::string>{"Gone2"},
            ValueNames(reg, kCurrentUser, std::string(kBase) + "\\Key"));
  EXPECT_EQ(std::vector<std::string>{"Sub"},
            SubKeyNames(reg, kCurrentUser, std::string(kBase) + "\\Key"));
  EXPECT_EQ(Utf8ToUtf16LeBytes("z", true), Read("Key\\Sub", "Gone").bytes);

  EXPECT_EQ(kErrorFileNotFound, shell.RegDelete(kFull + "Key\\Gone"));
  EXPECT_EQ(kErrorFileNotFound, shell.RegDelete(kFull + "NoKey\\Gone"));
  EXPECT_EQ(std::vector<std::string>{"Key"}, SubKeyNames(reg, kCurrentUser, kBase));

  RegData data;
  EXPECT_EQ(kErrorFileNotFound, shell.RegRead(kFull + "Key\\Gone", &data));
  EXPECT_EQ(kErrorFileNotFound, shell.RegRead(kFull + "NoKey\\Gone", &data));
  ASSERT_EQ(kErrorSuccess, shell.RegRead(kFull + "Key\\Gone2", &data));
  EXPECT_EQ(kRegSz, data.type);
  EXPECT_EQ(Utf8ToUtf16LeBytes("y", true), data.bytes);
}

TEST_F(WriterConformance, MalformedRequestsAreReportedAndChangeNothing) {
  struct Case {
    std::string name, value, type;
    long expected;
  };
  const Case cases[] = {
      {kFull + "Key\\", "x", "REG_SZ", kErrorBadPathname},
      {kFull + "Key\\Value\\", "1", "REG_DWORD", kErrorBadPathname},
      {std::string("HKXX\\") + kBase + "\\Key\\Value", "x", "REG_SZ", kErrorBadPathname},
      {std::string("HKEY_CURRENT_USERS\\") + kBase + "\\Key\\Value", "x", "REG_SZ",
       kErrorBadPathname},
      {"HKCU", "x", "REG_SZ", kErrorBadPathname},
      {"", "x", "REG_SZ", kErrorBadPathname},
      {kFull + "Key\\\\Sub\\Value", "x", "REG_SZ", kErrorBadPathname},
      {std::string("HKCU\\\\") + kBase + "\\Key\\Value", "x", "REG_SZ", kErrorBadPathname},
      {kFull + "Key\\Value", "x", "REG_DWORD", kErrorInvalidParameter},
      {kFull + "Key\\Value", "", "REG_DWORD", kErrorInvalidParameter},
      {kFull + "Key\\Value", "-1", "REG_DWORD", kErrorInvalidParameter},
      {kFull + "Key\\Value", " 1", "REG_DWORD", kErrorInvalidParameter},
      {kFull + "Key\\Value", "1 ", "REG_BINARY", kErrorInvalidParameter},
      {kFull + "Key\\Value", "0x10", "REG_BINARY", kErrorInvalidParameter},
      {kFull + "Key\\Value", "4294967296", "REG_DWORD", kErrorInvalidParameter},
      {kFull + "Key\\Value", "99999999999999999999", "REG_BINARY", kErrorInvalidParameter},
      {kFull + "Key\\Value", "1", "REG_QWORD", kErrorInvalidParameter},
      {kFull + "Key\\Value", "1", "", kErrorInvalidParameter},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, shell.RegWrite(c.name, c.value, c.type)) << c.name << " " << c.value;
  }
  EXPECT_EQ(kErrorInvalidParameter, shell.RegWrite(kFull + "Key\\Value", 1u, "REG_MULTI_SZ"));
  EXPECT_EQ(kErrorBadPathname, shell.RegDelete(kFull + "Key\\"));
  EXPECT_EQ(kErrorBadPathname, shell.RegDelete("HKXX\\Software\\Value"));
  EXPECT_TRUE(SubKeyNames(reg, kCurrentUser, kBase).empty());
  EXPECT_TRUE(ValueNames(reg, kCurrentUser, kBase).empty());
  // Leading zeros still spell a number.
  EXPECT_EQ(kErrorSuccess, shell.RegWrite(kFull + "Key\\Value", "0000000000007", "REG_DWORD"));
  EXPECT_EQ(std::string("\x07\x00\x00\x00", 4), Read("Key", "Value").bytes);
}

}  // namespace
}  // namespace brv
