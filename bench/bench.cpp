#include "bench/bench.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>

namespace brv::bench {

Registrar::Registrar(const char* name, Case run) {
  Cases().emplace_back(name, run);
}

std::vector<std::pair<std::string, Case>>& Cases() {
  static std::vector<std::pair<std::string, Case>> cases;
  return cases;
}

double Time(const std::function<void()>& work, int runs) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (took.count() < best) best = took.count();
  }
  return best;
}

Timings Compare(const std::function<void()>& work, const std::function<void()>& floor, int runs) {
  Timings best{1e300, 1e300};
  for (int i = 0; i < runs; ++i) {
    best.floor = std::min(best.floor, Time(floor, 1));
    best.work = std::min(best.work, Time(work, 1));
  }
  return best;
}

void Report(const std::string& what, size_t entries, double seconds, double floorSeconds) {
  std::printf("%-38s %7zu entries  %9.2f ms  floor %9.2f ms  ratio %5.2f  %7.3f us/entry\n",
              what.c_str(), entries, seconds * 1e3, floorSeconds * 1e3,
              floorSeconds > 0 ? seconds / floorSeconds : 0.0,
              entries ? seconds * 1e6 / static_cast<double>(entries) : 0.0);
  std::fflush(stdout);
}

std::string Identifier(size_t number) {
  char text[40];
  std::snprintf(text, sizeof(text), "{%08zX-0000-4000-8000-%012zX}", number, number);
  return text;
}

void SeedKeys(Registry& registry, RootKey root, const std::string& path, size_t count,
              const std::function<std::string(size_t)>& name) {
  for (size_t i = 0; i < count; ++i) {
    std::unique_ptr<RegKey> key;
    registry.CreateKey(root, path + "\\" + name(i), &key);
  }
}

void SeedValues(Registry& registry, RootKey root, const std::string& path, size_t count,
                const std::function<std::string(size_t)>& name) {
  std::unique_ptr<RegKey> key;
  if (registry.CreateKey(root, path, &key) != kErrorSuccess) return;
  for (size_t i = 0; i < count; ++i) key->SetValue(name(i), RegData{kRegSz, std::string(2, '\0')});
}

int RunAll(Env& env, const std::string& filter) {
  for (auto& entry : Cases()) {
    if (!filter.empty() && entry.first.find(filter) == std::string::npos) continue;
    env.reset();
    entry.second(env);
  }
  return 0;
}

}  // namespace brv::bench
