// The Browser Helper Objects fill (half the objects disabled) and a disable
// of an object whose key holds many values.
#include <string>

#include "bench/bench.h"
#include "catalogue/bhos.h"

namespace brv::bench {

namespace {

std::string Bho(const std::string& name) {
  return std::string(kBhoPath) + "\\" + name;
}

}  // namespace

BRV_BENCH(CODINGS4_fill) {
  for (size_t size : env.sizes) {
    env.reset();
    SeedKeys(*env.registry, kLocalMachine, kBhoPath, size,
             [](size_t i) { return (i % 2 ? " " : "") + Identifier(i); });
    const Timings t = Compare([&] { CODINGS4(*env.form); },
                              [&] {
                                env.enumerateKeys({kLocalMachine, View::k64, kBhoPath});
                              });
    Report("CODINGS4 (BHOs, half disabled)", size, t.work, t.floor);
  }
}

// Disable (a key move and the refill) of an object holding 1,000 values and a
// sub-key; the floor is the bare enumeration of those values.
BRV_BENCH(CODINGS4_disable) {
  const size_t values = 1000;
  env.reset();
  const std::string id = Identifier(1);
  SeedValues(*env.registry, kLocalMachine, Bho(id), values,
             [](size_t i) { return "value " + std::to_string(i); });
  SeedKeys(*env.registry, kLocalMachine, Bho(id), 1, [](size_t) { return "Settings"; });
  const double floor = Time([&] { env.enumerateValues({kLocalMachine, View::k64, Bho(id)}); });
  Form1& form = *env.form;
  CODINGS4(form);
  double best = 1e300;
  for (int run = 0; run < 3; ++run) {
    form.List6->SetListIndex(0);
    const double took = Time([&] { Command2_Click(form); }, 1);
    if (took < best) best = took;
    if (form.List7->ListCount() != 1 || form.List6->ListCount() != 0) {
      Report("Command2 disable FAILED", values, took, floor);
      return;
    }
    form.List7->SetListIndex(0);
    Command3_Click(form);
  }
  Report("Command2 disable (values in key)", values, best, floor);
}

}  // namespace brv::bench
