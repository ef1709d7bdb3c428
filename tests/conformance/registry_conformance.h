// The same cases on both registries: natively on the one in memory, under
// Wine on the real one. Each build defines ConformanceRegistry().
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "registry/registry.h"

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

}  // namespace brv
