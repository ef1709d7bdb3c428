// The toolbar-button fill on Extensions keys of growing size.
#include "bench/bench.h"
#include "catalogue/toolbar_buttons.h"

namespace brv::bench {

BRV_BENCH(CODINGS_fill) {
  for (size_t size : env.sizes) {
    env.reset();
    SeedKeys(*env.registry, kCurrentUser, kExtensionsPath, size, Identifier);
    const double floor = env.floorKeys(kCurrentUser, kExtensionsPath);
    const double fill = Time([&] { CODINGS(*env.form); });
    Report("CODINGS (Extensions sub-keys)", size, fill, floor);
  }
}

}  // namespace brv::bench
