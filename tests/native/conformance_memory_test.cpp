// The conformance cases on the registry in memory.
#include "conformance/registry_conformance.h"
#include "registry/memory_registry.h"

namespace brv {

namespace {

MemoryRegistry& Memory() {
  static MemoryRegistry registry;
  return registry;
}

}  // namespace

Registry& ConformanceRegistry() {
  return Memory();
}

void WriteRawValue(const std::string& path, const std::string& name, const RegData& data) {
  std::unique_ptr<RegKey> key;
  if (ConformanceRegistry().CreateKey(kCurrentUser, path, &key) == kErrorSuccess) {
    key->SetValue(name, data);
  }
}

bool MakeRawLink(const std::string& path, const std::string& targetPath) {
  return Memory().CreateLink({kCurrentUser, View::k64, path},
                             {kCurrentUser, View::k64, targetPath}) == kErrorSuccess;
}

}  // namespace brv
