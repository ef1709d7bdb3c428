// A registry held in memory that behaves as the real one does where the
// program relies on it: names compared without regard to case and kept as
// written, sub-keys enumerated sorted, values in creation order, data kept as
// bytes with its type, operations on a deleted key failing with
// kErrorKeyDeleted. Used by the native tests and benchmarks.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "registry/registry.h"

namespace brv {

class MemoryRegistry : public Registry {
 public:
  MemoryRegistry();
  ~MemoryRegistry() override;

  long OpenKey(RootKey root, const std::string& path, Access access,
               std::unique_ptr<RegKey>* key) override;
  long CreateKey(RootKey root, const std::string& path, std::unique_ptr<RegKey>* key) override;
  long DeleteTree(RootKey root, const std::string& path) override;
  long DeleteValue(RootKey root, const std::string& path, const std::string& name) override;

  // Makes a key refuse changes (as a key without write access does): opening
  // it for writing, creating keys in it, deleting it or its values fail with
  // kErrorAccessDenied. The key must exist.
  void Protect(RootKey root, const std::string& path);

  struct Node;

 private:
  std::map<RootKey, std::shared_ptr<Node>> roots_;
  long Find(RootKey root, const std::string& path, bool create, std::shared_ptr<Node>* node);
};

}  // namespace brv
