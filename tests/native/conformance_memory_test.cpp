// The conformance cases on the registry in memory.
#include "conformance/registry_conformance.h"
#include "registry/memory_registry.h"

namespace brv {

Registry& ConformanceRegistry() {
  static MemoryRegistry registry;
  return registry;
}

void WriteRawValue(const std::string& path, const std::string& name, const RegData& data) {
  std::unique_ptr<RegKey> key;
  if (ConformanceRegistry().CreateKey(kCurrentUser, path, &key) == kErrorSuccess) {
    key->SetValue(name, data);
  }
}

}  // namespace brv
