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
    const double floor = env.floorValues(kCurrentUser, kUserToolbarsPath);
    const double fill = Time([&] { codings1(*env.form); });
    Report("codings1 (Toolbar\\WebBrowser values)", size, fill, floor);
  }
}

BRV_BENCH(codings3_fill) {
  for (size_t size : env.sizes) {
    env.reset();
    SeedKeys(*env.registry, kCurrentUser, kMenuExtPath, size,
             [](size_t i) { return "Menu entry " + std::to_string(i); });
    const double floor = env.floorKeys(kCurrentUser, kMenuExtPath);
    const double fill = Time([&] { codings3(*env.form); });
    Report("codings3 (MenuExt sub-keys)", size, fill, floor);
  }
}

}  // namespace brv::bench
