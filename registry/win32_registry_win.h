// The registry of the running system, through the Unicode Win32 functions.
#pragma once

#include "registry/registry.h"

namespace brv {

class Win32Registry : public Registry {
 public:
  long OpenKey(RootKey root, const std::string& path, Access access,
               std::unique_ptr<RegKey>* key) override;
  long CreateKey(RootKey root, const std::string& path, std::unique_ptr<RegKey>* key) override;
  long DeleteTree(RootKey root, const std::string& path) override;
  long DeleteValue(RootKey root, const std::string& path, const std::string& name) override;
};

}  // namespace brv
