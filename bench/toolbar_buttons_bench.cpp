// The toolbar-button fill on Extensions keys of growing size.
#include "bench/bench.h"
#include "catalogue/toolbar_buttons.h"

namespace brv::bench {

BRV_BENCH(CODINGS_fill) {
  for (size_t size : env.sizes) {
    env.reset();
    SeedKeys(*env.registry, kCurrentUser, kExtensionsPath, size, Identifier);
    const Timings t = Compare([&] { CODINGS(*env.form); },
                              [&] {
                                env.enumerateKeys({kCurrentUser, View::k64, kExtensionsPath});
                              });
    Report("CODINGS (Extensions sub-keys)", size, t.work, t.floor);
  }
}

}  // namespace brv::bench
