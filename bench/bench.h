// Fill benchmarks: each case seeds the registry, times a fill beside the bare
// enumeration of the same key (the floor) and reports both. The same cases
// run natively (registry in memory, controls in memory) and under Wine (the
// real registry behind scratch keys, the real window's list boxes).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/events.h"
#include "registry/registry.h"

namespace brv::bench {

struct Env {
  Registry* registry;
  Form1* form;
  // The bare enumeration of a key's sub-keys or values in a view (the floor).
  std::function<void(const RegAddress&)> enumerateKeys;
  std::function<void(const RegAddress&)> enumerateValues;
  // Empties the registry the cases write to.
  std::function<void()> reset;
  std::vector<size_t> sizes;  // entries per key, e.g. 1000, 10000, 100000
  // The most memory the process has held so far, in bytes.
  std::function<size_t()> peakMemory;
};

using Case = void (*)(Env&);
struct Registrar {
  Registrar(const char* name, Case run);
};
std::vector<std::pair<std::string, Case>>& Cases();

// Seconds taken by `work`, the best of `runs`.
double Time(const std::function<void()>& work, int runs = 3);

// Seconds taken by `work` and by `floor`, each the best of `runs`, the two
// run in turn so that both meet the same state of the machine (under Wine a
// server round trip costs from a few to fifty microseconds as the load on
// the other core comes and goes).
struct Timings {
  double work;
  double floor;
};
Timings Compare(const std::function<void()>& work, const std::function<void()>& floor,
                int runs = 5);

// One line: what, how many, time, floor, ratio, time per entry.
void Report(const std::string& what, size_t entries, double seconds, double floorSeconds);

// A class identifier made from a number: {NNNNNNNN-0000-4000-8000-00000000NNNN}.
std::string Identifier(size_t number);

// Creates `count` sub-keys under a key, named by `name(i)`.
void SeedKeys(Registry& registry, RootKey root, const std::string& path, size_t count,
              const std::function<std::string(size_t)>& name);
// Creates `count` values (REG_SZ, empty) in a key, named by `name(i)`.
void SeedValues(Registry& registry, RootKey root, const std::string& path, size_t count,
                const std::function<std::string(size_t)>& name);

// Runs the cases whose names contain `filter` (all when empty).
int RunAll(Env& env, const std::string& filter);

}  // namespace brv::bench

#define BRV_BENCH(fn)                                     \
  static void fn(::brv::bench::Env&);                     \
  static ::brv::bench::Registrar fn##_registrar(#fn, fn); \
  static void fn(::brv::bench::Env& env)
