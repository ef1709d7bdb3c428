// The value writer where the registry refuses: the platform's error number
// comes back and nothing changes.
#include <gtest/gtest.h>

#include "registry/writer.h"
#include "support/memory_form.h"

namespace brv {
namespace {

TEST(Writer, RefusedWritesAndDeletesReportTheErrorAndChangeNothing) {
  MemoryForm m;
  RegWriter shell(m.registry);
  m.SetString(kCurrentUser, "Software\\Locked", "Kept", "old");
  m.registry.Protect(kCurrentUser, "Software\\Locked");

  EXPECT_EQ(kErrorAccessDenied, shell.RegWrite("HKCU\\Software\\Locked\\Kept", "new", "REG_SZ"));
  EXPECT_EQ(kErrorAccessDenied, shell.RegWrite("HKCU\\Software\\Locked\\New", "1", "REG_DWORD"));
  EXPECT_EQ(kErrorAccessDenied,
            shell.RegWrite("HKCU\\Software\\Locked\\Sub\\Deeper\\New", 1u, "REG_BINARY"));
  EXPECT_EQ(kErrorAccessDenied, shell.RegDelete("HKCU\\Software\\Locked\\Kept"));
  EXPECT_EQ("old", m.ReadString(kCurrentUser, "Software\\Locked", "Kept"));
  EXPECT_EQ(std::vector<std::string>{"Kept"}, m.Values(kCurrentUser, "Software\\Locked"));
  EXPECT_TRUE(m.SubKeys(kCurrentUser, "Software\\Locked").empty());
  // Reading is still allowed.
  RegData data;
  EXPECT_EQ(kErrorSuccess, shell.RegRead("HKCU\\Software\\Locked\\Kept", &data));
}

TEST(Writer, RootsAreNamedShortOrInFull) {
  MemoryForm m;
  RegWriter shell(m.registry);
  const struct {
    const char* name;
    RootKey root;
  } roots[] = {{"HKCU", kCurrentUser},  {"HKEY_CURRENT_USER", kCurrentUser},
               {"HKLM", kLocalMachine}, {"hkey_local_machine", kLocalMachine},
               {"HKCR", kClassesRoot},  {"HKEY_CLASSES_ROOT", kClassesRoot},
               {"HKEY_USERS", kUsers},  {"HKEY_CURRENT_CONFIG", kCurrentConfig}};
  int n = 0;
  for (const auto& root : roots) {
    const std::string value = "v" + std::to_string(n++);
    ASSERT_EQ(kErrorSuccess,
              shell.RegWrite(std::string(root.name) + "\\Test\\" + value, "x", "REG_SZ"))
        << root.name;
    EXPECT_TRUE(m.ValueExists(root.root, "Test", value)) << root.name;
  }
  // A value directly under the root.
  ASSERT_EQ(kErrorSuccess, shell.RegWrite("HKCU\\AtTheRoot", "1", "REG_DWORD"));
  EXPECT_TRUE(m.ValueExists(kCurrentUser, "", "AtTheRoot"));
  EXPECT_EQ(kErrorSuccess, shell.RegDelete("HKCU\\AtTheRoot"));
  EXPECT_FALSE(m.ValueExists(kCurrentUser, "", "AtTheRoot"));
  for (const char* bad : {"HKU\\Test\\v", "HKEY_PERFORMANCE_DATA\\Test\\v", "HKEY_DYN_DATA\\T\\v",
                          "Software\\Test\\v", "\\Test\\v"}) {
    EXPECT_EQ(kErrorBadPathname, shell.RegWrite(bad, "x", "REG_SZ")) << bad;
  }
}

}  // namespace
}  // namespace brv
