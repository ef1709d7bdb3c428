#include "conformance/registry_conformance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/common.h"
#include "registry/key_move.h"
#include "registry/module1.h"
#include "base/text.h"

namespace brv {
namespace {

const char* const kBase = kConformanceBase;

class RegistryConformance : public ConformanceTest {
 protected:
  long Open(const std::string& path, std::unique_ptr<RegKey>* key,
            Registry::Access access = Registry::Access::Read) {
    return reg.OpenKey(kCurrentUser, std::string(kBase) + "\\" + path, access, key);
  }
  std::string Full(const std::string& path) {
    return std::string("HKEY_CURRENT_USER\\") + kBase + "\\" + path;
  }
};

TEST_F(RegistryConformance, SubKeysEnumerateSortedWithoutRegardToCaseKeptAsWritten) {
  for (const char* name :
       {"zeta", "Alpha", "mid", "beta", "Z", "\xC3\xA9t\xC3\xA9", "\xD0\x96uk"}) {
    Create(name);
  }
  EXPECT_EQ((std::vector<std::string>{"Alpha", "beta", "mid", "Z", "zeta", "\xC3\xA9t\xC3\xA9",
                                      "\xD0\x96uk"}),
            SubKeyNames(reg, kCurrentUser, kBase));
  std::string name;
  EXPECT_EQ(kErrorNoMoreItems, base->EnumKey(7, &name));
}

TEST_F(RegistryConformance, NamesAreFoundWhateverTheirCase) {
  Create("Mixed\\\xC3\xA9t\xC3\xA9\\\xD0\xB6uk");
  std::unique_ptr<RegKey> key;
  EXPECT_EQ(kErrorSuccess,
            Open("MIXED\\\xC3\x89T\xC3\x89\\\xD0\x96UK", &key, Registry::Access::ReadWrite));
  EXPECT_EQ(kErrorSuccess, key->SetValue("Name", {kRegSz, Utf8ToUtf16LeBytes("x", true)}));
  std::unique_ptr<RegKey> again;
  // Creating the same key in another case opens it; no twin appears.
  EXPECT_EQ(kErrorSuccess, reg.CreateKey(kCurrentUser, std::string(kBase) + "\\mixed", &again));
  EXPECT_EQ(std::vector<std::string>{"Mixed"}, SubKeyNames(reg, kCurrentUser, kBase));
  RegData data;
  EXPECT_EQ(kErrorSuccess, key->QueryValue("NAME", &data));
}

TEST_F(RegistryConformance, NamesOutsideAnyCodePageRoundTrip) {
  // Chinese, an emoji (a surrogate pair) and a lone surrogate.
  const std::string names[] = {"\xE4\xB8\xAD\xE6\x96\x87", "\xF0\x9F\x98\x80x", "a\xED\xA0\x80z"};
  for (const std::string& name : names) {
    auto key = Create(name);
    ASSERT_TRUE(key);
    EXPECT_EQ(kErrorSuccess, key->SetValue(name, {kRegSz, Utf8ToUtf16LeBytes(name, true)}));
  }
  std::vector<std::string> listed = SubKeyNames(reg, kCurrentUser, kBase);
  for (const std::string& name : names) {
    EXPECT_NE(listed.end(), std::find(listed.begin(), listed.end(), name));
    EXPECT_EQ(std::vector<std::string>{name},
              ValueNames(reg, kCurrentUser, std::string(kBase) + "\\" + name));
    EXPECT_EQ(name + '\0', GetRegString(reg, Full(name), name));
    EXPECT_EQ(kErrorSuccess, reg.DeleteTree(kCurrentUser, std::string(kBase) + "\\" + name));
  }
  EXPECT_TRUE(SubKeyNames(reg, kCurrentUser, kBase).empty());
}

TEST_F(RegistryConformance, ValuesKeepTheirTypeAndBytes) {
  const RegData cases[] = {
      {kRegSz, Utf8ToUtf16LeBytes("text", true)},
      {kRegSz, ""},
      {kRegExpandSz, Utf8ToUtf16LeBytes("%SystemRoot%\\x.dll", true)},
      {kRegDword, std::string("\x01\x00\x00\x00", 4)},
      {kRegBinary, std::string("\x00\x00\x01\x00", 4)},
      {kRegBinary, std::string(10000, '\x5A')},
  };
  int n = 0;
  for (const RegData& data : cases) {
    const std::string name = "v" + std::to_string(n++);
    ASSERT_EQ(kErrorSuccess, base->SetValue(name, data));
    RegData read;
    ASSERT_EQ(kErrorSuccess, base->QueryValue(name, &read));
    EXPECT_EQ(data.type, read.type) << name;
    EXPECT_EQ(data.bytes, read.bytes) << name;
  }
  RegData read;
  EXPECT_EQ(kErrorFileNotFound, base->QueryValue("absent", &read));
  // String data stored without its NUL reads as stored.
  const RegData bare{kRegSz, Utf8ToUtf16LeBytes("unterminated", false)};
  WriteRawValue(kBase, "bare", bare);
  ASSERT_EQ(kErrorSuccess, base->QueryValue("bare", &read));
  EXPECT_EQ(bare.bytes, read.bytes);
}

TEST_F(RegistryConformance, ValueNamesAreCaseInsensitiveAndMayHoldBackslashes) {
  ASSERT_EQ(kErrorSuccess, base->SetValue("Name", {kRegSz, Utf8ToUtf16LeBytes("one", true)}));
  ASSERT_EQ(kErrorSuccess, base->SetValue("NAME", {kRegSz, Utf8ToUtf16LeBytes("two", true)}));
  ASSERT_EQ(kErrorSuccess, base->SetValue("a\\b", {kRegSz, Utf8ToUtf16LeBytes("3", true)}));
  ASSERT_EQ(kErrorSuccess, base->SetValue("", {kRegSz, Utf8ToUtf16LeBytes("default", true)}));
  std::vector<std::string> names = ValueNames(reg, kCurrentUser, kBase);
  std::sort(names.begin(), names.end());
  EXPECT_EQ((std::vector<std::string>{"", "Name", "a\\b"}), names);
  EXPECT_EQ(std::string("two") + '\0',
            GetRegString(reg, std::string("HKEY_CURRENT_USER\\") + kBase, "name"));
  EXPECT_EQ(std::string("default") + '\0',
            GetRegString(reg, std::string("HKEY_CURRENT_USER\\") + kBase, ""));
  EXPECT_EQ(kErrorSuccess, reg.DeleteValue(kCurrentUser, kBase, "A\\B"));
  EXPECT_EQ(kErrorFileNotFound, reg.DeleteValue(kCurrentUser, kBase, "a\\b"));
  EXPECT_EQ(kErrorFileNotFound, reg.DeleteValue(kCurrentUser, std::string(kBase) + "\\no", "x"));
}

TEST_F(RegistryConformance, UpperCasedNamesAddressTheSameKey) {
  // Every unit the program upper-cases: a key listed in upper case must be
  // the key that is read and deleted through that text.
  std::vector<std::string> names;
  for (char32_t c = 0x20; c < 0xFFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const char16_t unit = static_cast<char16_t>(c);
    if (UpperUnit(unit) != unit) names.push_back("k" + Utf16ToUtf8(std::u16string(1, unit)));
  }
  ASSERT_GT(names.size(), 150u);
  for (const std::string& name : names) Create(name);
  for (const std::string& name : names) {
    std::unique_ptr<RegKey> key;
    EXPECT_EQ(kErrorSuccess, Open(UpperCase(name), &key)) << name;
  }
  for (const std::string& name : names) {
    EXPECT_EQ(kErrorSuccess,
              reg.DeleteTree(kCurrentUser, std::string(kBase) + "\\" + UpperCase(name)))
        << name;
  }
  EXPECT_TRUE(SubKeyNames(reg, kCurrentUser, kBase).empty());
}

TEST_F(RegistryConformance, DeletingAValueNeverReadsItsNameAsAPath) {
  auto sub = Create("v");
  ASSERT_EQ(kErrorSuccess, sub->SetValue("x", {kRegSz, ""}));
  for (const char* name : {"v\\", "v\\x", "\\v"}) {
    ASSERT_EQ(kErrorSuccess, base->SetValue(name, {kRegSz, ""}));
  }
  EXPECT_EQ(kErrorSuccess, reg.DeleteValue(kCurrentUser, kBase, "v\\x"));
  EXPECT_EQ(kErrorSuccess, reg.DeleteValue(kCurrentUser, kBase, "v\\"));
  EXPECT_EQ(kErrorFileNotFound, reg.DeleteValue(kCurrentUser, kBase, "v"));
  EXPECT_EQ(std::vector<std::string>{"\\v"}, ValueNames(reg, kCurrentUser, kBase));
  EXPECT_EQ(std::vector<std::string>{"x"},
            ValueNames(reg, kCurrentUser, std::string(kBase) + "\\v"));
}

TEST_F(RegistryConformance, LongValueNamesDoNotEndTheEnumeration) {
  const std::string names[] = {"a" + std::string(1999, 'x'), "b" + std::string(2000, 'y'),
                               "c" + std::string(16382, 'z'), "d"};
  for (const std::string& name : names) {
    ASSERT_EQ(kErrorSuccess, base->SetValue(name, {kRegDword, std::string(4, '\0')}));
  }
  EXPECT_EQ(kErrorInvalidParameter,
            base->SetValue(std::string(16384, 'e'), {kRegDword, std::string(4, '\0')}));
  std::vector<std::string> listed = ValueNames(reg, kCurrentUser, kBase);
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(std::vector<std::string>(std::begin(names), std::end(names)), listed);
}

TEST_F(RegistryConformance, PathsAndAccess) {
  Create("one\\two");
  std::unique_ptr<RegKey> key;
  EXPECT_EQ(kErrorFileNotFound, Open("one\\three", &key));
  EXPECT_EQ(kErrorSuccess, Open("one\\two\\", &key));  // a trailing separator is ignored
  EXPECT_EQ(kErrorBadPathname,
            reg.OpenKey(kCurrentUser, std::string("\\") + kBase, Registry::Access::Read, &key));
  ASSERT_EQ(kErrorSuccess, Open("one", &key));
  EXPECT_EQ(kErrorAccessDenied, key->SetValue("x", {kRegSz, ""}));
  ASSERT_EQ(kErrorSuccess, Open("one", &key, Registry::Access::ReadWrite));
  EXPECT_EQ(kErrorSuccess, key->SetValue("x", {kRegSz, ""}));
  EXPECT_EQ(kErrorSuccess, key->DeleteValue("x"));
  EXPECT_EQ(kErrorFileNotFound, key->DeleteValue("x"));
}

TEST_F(RegistryConformance, DeleteTreeTakesEverythingBelowAndOnlyThat) {
  auto deep = Create("gone\\a\\b");
  ASSERT_EQ(kErrorSuccess, deep->SetValue("v", {kRegSz, ""}));
  Create("gone2\\kept");
  Create("gon");
  EXPECT_EQ(kErrorSuccess, reg.DeleteTree(kCurrentUser, std::string(kBase) + "\\GONE"));
  EXPECT_EQ((std::vector<std::string>{"gon", "gone2"}), SubKeyNames(reg, kCurrentUser, kBase));
  EXPECT_EQ(kErrorFileNotFound, reg.DeleteTree(kCurrentUser, std::string(kBase) + "\\gone"));
  EXPECT_EQ(kErrorInvalidParameter, reg.DeleteTree(kCurrentUser, ""));
  // A key deleted while open refuses what is asked of it afterwards.
  std::string name;
  RegData data;
  EXPECT_EQ(kErrorKeyDeleted, deep->EnumKey(0, &name));
  EXPECT_EQ(kErrorKeyDeleted, deep->QueryValue("v", &data));
}

TEST_F(RegistryConformance, GetRegStringReadsStringsWholeAndOnlyStrings) {
  auto key = Create("values");
  const std::string s254(254, 'a'), s255(255, 'b'), s300(300, 'c'), s10000(10000, 'd');
  key->SetValue("254", {kRegSz, Utf8ToUtf16LeBytes(s254, true)});
  key->SetValue("255", {kRegSz, Utf8ToUtf16LeBytes(s255, true)});
  key->SetValue("300", {kRegSz, Utf8ToUtf16LeBytes(s300, true)});
  key->SetValue("10000", {kRegSz, Utf8ToUtf16LeBytes(s10000, true)});
  WriteRawValue(std::string(kBase) + "\\values", "bare",
                {kRegSz, Utf8ToUtf16LeBytes("  no nul  ", false)});
  key->SetValue("padded", {kRegSz, Utf8ToUtf16LeBytes("  spaced  ", true)});
  key->SetValue("expand", {kRegExpandSz, Utf8ToUtf16LeBytes("%TEMP%\\x", true)});
  key->SetValue("dword", {kRegDword, std::string("\x31\x00\x00\x00", 4)});
  key->SetValue("binary", {kRegBinary, Utf8ToUtf16LeBytes("text", true)});
  key->SetValue("empty", {kRegSz, ""});
  WriteRawValue(std::string(kBase) + "\\values", "odd", {kRegSz, std::string("A\0B", 3)});
  const std::string path = Full("values");
  EXPECT_EQ(s254 + '\0', GetRegString(reg, path, "254"));
  EXPECT_EQ(s255 + '\0', GetRegString(reg, path, "255"));
  EXPECT_EQ(s300 + '\0', GetRegString(reg, path, "300"));
  EXPECT_EQ(s10000 + '\0', GetRegString(reg, path, "10000"));
  EXPECT_EQ("no nul", GetRegString(reg, path, "bare"));
  EXPECT_EQ(std::string("spaced  ") + '\0', GetRegString(reg, path, "padded"));
  EXPECT_EQ(std::string("%TEMP%\\x") + '\0', GetRegString(reg, path, "expand"));
  EXPECT_EQ("Error", GetRegString(reg, path, "dword"));
  EXPECT_EQ("Error", GetRegString(reg, path, "binary"));
  EXPECT_EQ("", GetRegString(reg, path, "empty"));
  EXPECT_EQ("A", GetRegString(reg, path, "odd"));
  EXPECT_EQ("Error", GetRegString(reg, path, "absent"));
  EXPECT_EQ("Error", GetRegString(reg, Full("nokey"), ""));
  EXPECT_EQ("Error", GetRegString(reg, path + "\\", "254"));
}

TEST_F(RegistryConformance, MoveKeyTakesEverythingAlongAndJoinsAnExistingTarget) {
  auto src = Create("src");
  const RegData desc{kRegSz, Utf8ToUtf16LeBytes("described", true)};
  const RegData one{kRegSz, Utf8ToUtf16LeBytes("1", true)};
  const RegData dword{kRegDword, std::string("\x07\x00\x00\x01", 4)};
  const RegData binary{kRegBinary, std::string("\0\xff\0", 3)};
  ASSERT_EQ(kErrorSuccess, src->SetValue("", desc));
  ASSERT_EQ(kErrorSuccess, src->SetValue("NoExplorer", one));
  ASSERT_EQ(kErrorSuccess, src->SetValue("d", dword));
  ASSERT_EQ(kErrorSuccess, src->SetValue("with\\slash \xD0\x96", binary));
  ASSERT_EQ(kErrorSuccess, Create("src\\Sub\\Deep")->SetValue("deep", one));
  Create("src\\\xE4\xB8\xAD");
  auto dst = Create("dst");
  ASSERT_EQ(kErrorSuccess, dst->SetValue("noexplorer", desc));
  ASSERT_EQ(kErrorSuccess, dst->SetValue("kept", dword));
  ASSERT_EQ(kErrorSuccess, Create("dst\\sub")->SetValue("other", one));
  src.reset();
  dst.reset();

  const std::string from = std::string(kBase) + "\\src", to = std::string(kBase) + "\\dst";
  EXPECT_EQ(kErrorInvalidParameter,
            MoveKey(reg, {kCurrentUser, View::k64, from}, from + "\\SUB\\x"));
  EXPECT_EQ(kErrorSuccess, MoveKey(reg, {kCurrentUser, View::k64, from}, to));
  EXPECT_EQ((std::vector<std::string>{"dst"}), SubKeyNames(reg, kCurrentUser, kBase));
  // Value order differs between registries: compare the names as a set.
  std::vector<std::string> names = ValueNames(reg, kCurrentUser, to);
  std::sort(names.begin(), names.end());
  EXPECT_EQ((std::vector<std::string>{"", "d", "kept", "noexplorer", "with\\slash \xD0\x96"}),
            names);
  std::unique_ptr<RegKey> key;
  ASSERT_EQ(kErrorSuccess, Open("dst", &key));
  RegData data;
  ASSERT_EQ(kErrorSuccess, key->QueryValue("NoExplorer", &data));
  EXPECT_EQ(one.bytes, data.bytes);
  ASSERT_EQ(kErrorSuccess, key->QueryValue("", &data));
  EXPECT_EQ(desc.bytes, data.bytes);
  ASSERT_EQ(kErrorSuccess, key->QueryValue("d", &data));
  EXPECT_EQ(kRegDword, data.type);
  EXPECT_EQ(dword.bytes, data.bytes);
  ASSERT_EQ(kErrorSuccess, key->QueryValue("with\\slash \xD0\x96", &data));
  EXPECT_EQ(kRegBinary, data.type);
  EXPECT_EQ(binary.bytes, data.bytes);
  EXPECT_EQ((std::vector<std::string>{"sub", "\xE4\xB8\xAD"}), SubKeyNames(reg, kCurrentUser, to));
  EXPECT_EQ((std::vector<std::string>{"other"}), ValueNames(reg, kCurrentUser, to + "\\sub"));
  EXPECT_EQ((std::vector<std::string>{"deep"}), ValueNames(reg, kCurrentUser, to + "\\sub\\Deep"));

  EXPECT_EQ(kErrorFileNotFound,
            MoveKey(reg, {kCurrentUser, View::k64, from}, std::string(kBase) + "\\new"));
  EXPECT_EQ((std::vector<std::string>{"dst"}), SubKeyNames(reg, kCurrentUser, kBase));
}

}  // namespace
}  // namespace brv
