// Path splitting, root names, text conversion and the registry in memory's
// own test facilities.
#include <gtest/gtest.h>

#include "registry/memory_registry.h"
#include "registry/module1.h"
#include "base/text.h"

namespace brv {
namespace {

TEST(RootKeyFromName, KnowsTheSevenRootsExactly) {
  EXPECT_EQ(0x80000000u, RootKeyFromName("HKEY_CLASSES_ROOT"));
  EXPECT_EQ(0x80000001u, RootKeyFromName("HKEY_CURRENT_USER"));
  EXPECT_EQ(0x80000002u, RootKeyFromName("HKEY_LOCAL_MACHINE"));
  EXPECT_EQ(0x80000003u, RootKeyFromName("HKEY_USERS"));
  EXPECT_EQ(0x80000004u, RootKeyFromName("HKEY_PERFORMANCE_DATA"));
  EXPECT_EQ(0x80000005u, RootKeyFromName("HKEY_CURRENT_CONFIG"));
  EXPECT_EQ(0x80000006u, RootKeyFromName("HKEY_DYN_DATA"));
  EXPECT_EQ(0u, RootKeyFromName("hkey_current_user"));
  EXPECT_EQ(0u, RootKeyFromName("HKCU"));
  EXPECT_EQ(0u, RootKeyFromName(""));
}

TEST(SplitRegPath, SplitsAtTheFirstBackslash) {
  std::string path = "HKEY_LOCAL_MACHINE\\Software\\A\\B";
  RootKey root = 0;
  EXPECT_TRUE(SplitRegPath(path, root));
  EXPECT_EQ(kLocalMachine, root);
  EXPECT_EQ("Software\\A\\B", path);

  path = "HKEY_CURRENT_USER";
  EXPECT_TRUE(SplitRegPath(path, root));
  EXPECT_EQ(kCurrentUser, root);
  EXPECT_EQ("", path);

  path = "HKEY_NOWHERE\\x";
  EXPECT_TRUE(SplitRegPath(path, root));
  EXPECT_EQ(0u, root);
}

TEST(SplitRegPath, RejectsWithoutChangingEitherOutput) {
  for (std::string bad : {"hkey_current_user\\Software", "HKEY_CURRENT_USER\\Software\\",
                          "Software\\HKEY_", "HKEY"}) {
    std::string path = bad;
    RootKey root = 12345;
    EXPECT_FALSE(SplitRegPath(path, root)) << bad;
    EXPECT_EQ(bad, path);
    EXPECT_EQ(12345u, root);
  }
}

TEST(GetRegString, RootsAndRejectedPaths) {
  MemoryRegistry registry;
  std::unique_ptr<RegKey> key;
  ASSERT_EQ(kErrorSuccess, registry.CreateKey(kCurrentUser, "", &key));
  key->SetValue("", {kRegSz, Utf8ToUtf16LeBytes("root default", true)});
  ASSERT_EQ(kErrorSuccess, registry.CreateKey(kCurrentUser, "Software", &key));
  key->SetValue("v", {kRegSz, Utf8ToUtf16LeBytes("value", true)});

  EXPECT_EQ(std::string("root default") + '\0', GetRegString(registry, "HKEY_CURRENT_USER", ""));
  EXPECT_EQ("", GetRegString(registry, "HKEY_NOWHERE\\Software", "v"));
  // A rejected path is never read under the root of an earlier call.
  EXPECT_EQ(std::string("value") + '\0',
            GetRegString(registry, "HKEY_CURRENT_USER\\Software", "v"));
  EXPECT_EQ("Error", GetRegString(registry, "Software", "v"));
  EXPECT_EQ("Error", GetRegString(registry, "hkey_current_user\\Software", "v"));
  EXPECT_EQ("Error", GetRegString(registry, "HKEY_CURRENT_USER\\Software\\", "v"));
  EXPECT_EQ("Error", GetRegString(registry, "HKEY_PERFORMANCE_DATA\\Software", "v"));
}

TEST(Text, Utf16RoundTripsEverything) {
  const std::string samples[] = {"plain",
                                 "\xC3\xA9t\xC3\xA9",
                                 "\xE4\xB8\xAD",
                                 "\xF0\x9F\x98\x80",
                                 "lone \xED\xA0\x80 high",
                                 std::string("nul\0in", 6)};
  for (const std::string& sample : samples) {
    EXPECT_EQ(sample, Utf16ToUtf8(Utf8ToUtf16(sample)));
    EXPECT_EQ(sample, Utf16LeBytesToUtf8(Utf8ToUtf16LeBytes(sample, false)));
  }
  EXPECT_EQ(
      u"\xFFFD"
      u"a",
      Utf8ToUtf16("\xFF"
                  "a"));  // not UTF-8
  EXPECT_EQ(
      u"\xFFFD"
      u"b",
      Utf8ToUtf16("\xC3"
                  "b"));  // cut short
  EXPECT_EQ(
      u"\xFFFD"
      u"\xFFFD",
      Utf8ToUtf16("\xC0\xAF"));  // over-long
  EXPECT_EQ(std::string("a\0\0\0", 4), Utf8ToUtf16LeBytes("a", true));
}

TEST(Text, UpperCaseAndTrim) {
  EXPECT_EQ("{ABC-DEF}", UpperCase("{abc-def}"));
  EXPECT_EQ("\xC3\x89T\xC3\x89 \xD0\x96 \xC5\xB8",
            UpperCase("\xC3\xA9t\xC3\xA9 \xD0\xB6 \xC3\xBF"));
  EXPECT_EQ("\xC3\x9F", UpperCase("\xC3\x9F"));  // no single upper case
  EXPECT_EQ("a b", TrimSpaces("  a b  "));
  EXPECT_EQ("\ta\t", TrimSpaces(" \ta\t "));
  EXPECT_EQ("a  ", TrimLeft("  a  "));
  EXPECT_EQ("ab", CutAtNul(std::string("ab\0cd", 5)));
}

TEST(Text, ClassIdentifiers) {
  EXPECT_TRUE(IsClassIdentifier("{01E04581-4EEE-11D0-BFE9-00AA005B4383}"));
  EXPECT_TRUE(IsClassIdentifier("{01e04581-4eee-11d0-bfe9-00aa005b4383}"));
  EXPECT_FALSE(IsClassIdentifier("{01E04581-4EEE-11D0-BFE9-00AA005B438}"));
  EXPECT_FALSE(IsClassIdentifier("{01E04581-4EEE-11D0-BFE9-00AA005B4383}\\"));
  EXPECT_FALSE(IsClassIdentifier("{01E04581\\4EEE-11D0-BFE9-00AA005B4383}"));
  EXPECT_FALSE(IsClassIdentifier("{01E04581-4EEE-11D0-BFE9-00AA005B438G}"));
  EXPECT_FALSE(IsClassIdentifier("(01E04581-4EEE-11D0-BFE9-00AA005B4383)"));
}

TEST(MemoryRegistry, ProtectedKeysRefuseChanges) {
  MemoryRegistry registry;
  std::unique_ptr<RegKey> key;
  ASSERT_EQ(kErrorSuccess, registry.CreateKey(kLocalMachine, "Locked\\Inner", &key));
  key->SetValue("v", {kRegSz, ""});
  key.reset();
  registry.Protect(kLocalMachine, "Locked\\Inner");
  EXPECT_EQ(kErrorAccessDenied,
            registry.OpenKey(kLocalMachine, "Locked\\Inner", Registry::Access::ReadWrite, &key));
  EXPECT_EQ(kErrorAccessDenied, registry.CreateKey(kLocalMachine, "Locked\\Inner\\New", &key));
  EXPECT_EQ(kErrorAccessDenied, registry.DeleteValue(kLocalMachine, "Locked\\Inner", "v"));
  EXPECT_EQ(kErrorAccessDenied, registry.DeleteTree(kLocalMachine, "Locked"));
  EXPECT_EQ(kErrorSuccess,
            registry.OpenKey(kLocalMachine, "Locked\\Inner", Registry::Access::Read, &key));
  EXPECT_EQ(kErrorInvalidHandle,
            registry.OpenKey(kPerformanceData, "", Registry::Access::Read, &key));
}

}  // namespace
}  // namespace brv
