// The registry of the running system, through the Unicode Win32 functions,
// in either view (KEY_WOW64_32KEY for the 32-bit one).
#pragma once

#include "registry/registry.h"

namespace brv {

class Win32Registry : public Registry {
 public:
  using Registry::CreateKey;
  using Registry::DeleteTree;
  using Registry::DeleteValue;
  using Registry::OpenKey;
  long OpenKey(const RegAddress& at, Access access, std::unique_ptr<RegKey>* key) override;
  long OpenLink(const RegAddress& at, std::unique_ptr<RegKey>* key) override;
  long CreateKey(const RegAddress& at, std::unique_ptr<RegKey>* key) override;
  long DeleteTree(const RegAddress& at) override;
  long DeleteValue(const RegAddress& at, const std::string& name) override;
};

}  // namespace brv
