// The same cases on both registries: natively on the one in memory, under
// Wine on the real one. Each build defines ConformanceRegistry().
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "registry/registry.h"
#include "support/registry_fixture.h"

namespace brv {

// The registry under test; its current user's "Software\BrovantineConformance"
// key is the cases' scratch space.
Registry& ConformanceRegistry();

// Stores a value's bytes exactly as given, under the current user. (Wine's
// RegSetValueExW adds a NUL to string data that lacks one; Windows and the
// registry in memory store what they are given.)
void WriteRawValue(const std::string& path, const std::string& name, const RegData& data);

// Makes a new key at `path` a registry link to the key at `targetPath` (both
// under the current user, in its 64-bit view); the target need not exist.
// True when the link was made.
bool MakeRawLink(const std::string& path, const std::string& targetPath);

// The system's name of the key at an address, "(not opened)" when it does
// not open; a key that opens but cannot be named fails the test.
inline std::string KeyName(Registry& registry, const RegAddress& at) {
  std::unique_ptr<RegKey> key;
  if (registry.OpenKey(at, Registry::Access::Read, &key) != kErrorSuccess) return "(not opened)";
  std::string name;
  EXPECT_EQ(kErrorSuccess, key->FullName(&name)) << at.path;
  return name;
}

// The current user's key the cases work under, and a path below it.
inline constexpr char kConformanceBase[] = "Software\\BrovantineConformance";
inline std::string Under(const std::string& name) {
  return std::string(kConformanceBase) + "\\" + name;
}

// A case on the registry under test, its scratch key made empty before it
// and removed after it.
class ConformanceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reg.DeleteTree(kCurrentUser, kConformanceBase);
    ASSERT_EQ(kErrorSuccess, reg.CreateKey(kCurrentUser, kConformanceBase, &base));
  }
  void TearDown() override {
    base.reset();
    reg.DeleteTree(kCurrentUser, kConformanceBase);
  }
  // Creates (or opens) a key below the scratch key.
  std::unique_ptr<RegKey> Create(const std::string& name) {
    std::unique_ptr<RegKey> key;
    EXPECT_EQ(kErrorSuccess, reg.CreateKey(kCurrentUser, Under(name), &key));
    return key;
  }

  Registry& reg = ConformanceRegistry();
  std::unique_ptr<RegKey> base;
};

}  // namespace brv
