// Native benchmarks: the registry and the controls in memory.
//   brovantine_bench [FILTER] [SIZES...]
#include <sys/resource.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "bench/bench.h"
#include "catalogue/common.h"
#include "support/memory_form.h"

int main(int argc, char** argv) {
  using namespace brv;
  std::unique_ptr<MemoryForm> m;
  bench::Env env;
  env.reset = [&] {
    m = std::make_unique<MemoryForm>();
    env.registry = &m->registry;
    env.form = &m->form;
  };
  env.reset();
  auto bare = [&](bool keys) {
    return [&env, keys](const RegAddress& at) {
      std::unique_ptr<RegKey> key;
      if (env.registry->OpenKey(at, Registry::Access::Read, &key)) return;
      std::string name;
      for (uint32_t i = 0; (keys ? key->EnumKey(i, &name) : key->EnumValue(i, &name)) == 0; ++i) {
      }
    };
  };
  env.enumerateKeys = bare(true);
  env.enumerateValues = bare(false);
  env.sizes = {1000, 10000, 100000};
  env.peakMemory = [] {
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<size_t>(usage.ru_maxrss) * 1024;  // kilobytes here
  };
  if (argc > 2) {
    env.sizes.clear();
    for (int i = 2; i < argc; ++i) env.sizes.push_back(std::strtoul(argv[i], nullptr, 10));
  }
  return bench::RunAll(env, argc > 1 ? argv[1] : "");
}
