// The toolbar fill (values) and the context-menu fill (sub-keys) on keys of
// growing size.
#include <string>

#include "bench/bench.h"
#include "catalogue/context_menus.h"
#include "catalogue/toolbars.h"

namespace brv::bench {

BRV_BENCH(codings1_fill) {
  for (size_t size : env.sizes) {
    env.reset();
    SeedValues(*env.registry, kCurrentUser, kUserToolbarsPath, size, Identifier);
    const Timings t = Compare([&] { codings1(*env.form); },
                              [&] {
                                env.enumerateValues({kCurrentUser, View::k64, kUserToolbarsPath});
                              });
    Report("codings1 (Toolbar\\WebBrowser values)", size, t.work, t.floor);
  }
}

BRV_BENCH(codings3_fill) {
  for (size_t size : env.sizes) {
    env.reset();
    SeedKeys(*env.registry, kCurrentUser, kMenuExtPath, size,
             [](size_t i) { return "Menu entry " + std::to_string(i); });
    const Timings t = Compare([&] { codings3(*env.form); },
                              [&] {
                                env.enumerateKeys({kCurrentUser, View::k64, kMenuExtPath});
                              });
    Report("codings3 (MenuExt sub-keys)", size, t.work, t.floor);
  }
}

}  // namespace brv::bench
