// The conformance cases on the registry in memory.
#include "conformance/registry_conformance.h"
#include "registry/memory_registry.h"

namespace brv {

Registry& ConformanceRegistry() {
  static MemoryRegistry registry;
  return registry;
}

}  // namespace brv
