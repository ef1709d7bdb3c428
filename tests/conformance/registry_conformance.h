// The same cases on both registries: natively on the one in memory, under
// Wine on the real one. Each build defines ConformanceRegistry().
#pragma once

#include "registry/registry.h"

namespace brv {

// The registry under test; its current user's "Software\BrovantineConformance"
// key is the cases' scratch space.
Registry& ConformanceRegistry();

}  // namespace brv
