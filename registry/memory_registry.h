// A registry held in memory that behaves as the real one does where the
// program relies on it: names compared without regard to case and kept as
// written, sub-keys enumerated sorted, values in creation order, data kept as
// bytes with its type, operations on a deleted key failing with
// kErrorKeyDeleted, and the two views of 64-bit Windows for the keys the
// program reads (HKEY_LOCAL_MACHINE\Software and HKEY_CLASSES_ROOT\CLSID seen
// by 32-bit programs under their Wow6432Node keys). Used by the native tests
// and benchmarks.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "registry/registry.h"

namespace brv {

class MemoryRegistry : public Registry {
 public:
  // With one view (as on 32-bit Windows) the 32-bit view is the 64-bit one.
  enum class Views { Two, One };
  explicit MemoryRegistry(Views views = Views::Two);
  ~MemoryRegistry() override;

  using Registry::CreateKey;
  using Registry::DeleteTree;
  using Registry::DeleteValue;
  using Registry::OpenKey;
  long OpenKey(const RegAddress& at, Access access, std::unique_ptr<RegKey>* key) override;
  long OpenLink(const RegAddress& at, std::unique_ptr<RegKey>* key) override;
  long CreateKey(const RegAddress& at, std::unique_ptr<RegKey>* key) override;
  long DeleteTree(const RegAddress& at) override;
  long DeleteValue(const RegAddress& at, const std::string& name) override;

  // Makes a key refuse changes (as a key without write access does): opening
  // it for writing, creating keys in it, deleting it or its values fail with
  // kErrorAccessDenied. The key must exist; the path is as stored (no view).
  void Protect(RootKey root, const std::string& path);
  // Makes a key refuse to be opened at all (kErrorAccessDenied), as a key
  // without read access does. The key must exist.
  void Deny(RootKey root, const std::string& path);

  // Makes a new key a registry link to `target` (a key in any root, as
  // stored): opening the link leads to the target, which need not exist.
  long CreateLink(const RegAddress& at, const RegAddress& target);

  // The time keys are written at from now on (LastWriteTime's units).
  int64_t clock = 133000000000000000;

  struct Node;

 private:
  std::map<RootKey, std::shared_ptr<Node>> roots_;
  Views views_;
  long Find(const RegAddress& at, bool create, std::shared_ptr<Node>* node, bool openLink = false,
            int depth = 0);
  long DeleteNode(const std::shared_ptr<Node>& node);
};

}  // namespace brv
