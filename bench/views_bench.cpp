// The machine-wide fills with their entries split across the two views, half
// in each, beside the bare enumeration of both views' keys.
#include <string>

#include "bench/bench.h"
#include "catalogue/bhos.h"
#include "catalogue/toolbar_buttons.h"
#include "catalogue/toolbars.h"

namespace brv::bench {

namespace {

// Where a 64-bit program finds the 32-bit view's copy of a machine key.
std::string Wow(const std::string& softwarePath) {
  const size_t slash = softwarePath.find('\\');
  return softwarePath.substr(0, slash) + "\\Wow6432Node" + softwarePath.substr(slash);
}

void BothViews(const std::function<void(const RegAddress&)>& enumerate, const char* path) {
  enumerate({kLocalMachine, View::k64, path});
  enumerate({kLocalMachine, View::k32, path});
}

}  // namespace

BRV_BENCH(views_CODINGS_fill) {
  for (size_t size : env.sizes) {
    env.reset();
    SeedKeys(*env.registry, kLocalMachine, kExtensionsPath, size / 2, Identifier);
    SeedKeys(*env.registry, kLocalMachine, Wow(kExtensionsPath), size - size / 2, Identifier);
    const Timings t = Compare([&] { CODINGS(*env.form); },
                              [&] {
                                env.enumerateKeys({kCurrentUser, View::k64, kExtensionsPath});
                                BothViews(env.enumerateKeys, kExtensionsPath);
                              });
    Report("CODINGS (Extensions, both views)", size, t.work, t.floor);
  }
}

BRV_BENCH(views_codings1_fill) {
  for (size_t size : env.sizes) {
    env.reset();
    SeedValues(*env.registry, kLocalMachine, kMachineToolbarsPath, size / 2, Identifier);
    SeedValues(*env.registry, kLocalMachine, Wow(kMachineToolbarsPath), size - size / 2,
               Identifier);
    const Timings t = Compare([&] { codings1(*env.form); },
                              [&] {
                                env.enumerateValues({kCurrentUser, View::k64, kUserToolbarsPath});
                                BothViews(env.enumerateValues, kMachineToolbarsPath);
                              });
    Report("codings1 (Toolbar values, both views)", size, t.work, t.floor);
  }
}

BRV_BENCH(views_CODINGS4_fill) {
  for (size_t size : env.sizes) {
    env.reset();
    auto name = [](size_t i) { return (i % 2 ? " " : "") + Identifier(i); };
    SeedKeys(*env.registry, kLocalMachine, kBhoPath, size / 2, name);
    SeedKeys(*env.registry, kLocalMachine, Wow(kBhoPath), size - size / 2, name);
    const Timings t =
        Compare([&] { CODINGS4(*env.form); }, [&] { BothViews(env.enumerateKeys, kBhoPath); });
    Report("CODINGS4 (BHOs, both views)", size, t.work, t.floor);
  }
}

}  // namespace brv::bench
