// Work too slow for the window's thread (checking a file's signature): run
// elsewhere where the platform can, its result handed back on the window's
// thread. Only the latest job counts: a newer one, or Cancel, drops an older
// one's result, and an older one not yet started is not run at all.
#pragma once

#include <functional>

namespace brv {

// A job runs anywhere and touches nothing of the window; it returns what to
// do with its result on the window's thread.
using Job = std::function<std::function<void()>()>;

class Runner {
 public:
  virtual ~Runner() = default;
  virtual void Run(Job job) = 0;
  virtual void Cancel() = 0;
};

// Runs each job at once, on the caller's thread.
class ImmediateRunner : public Runner {
 public:
  void Run(Job job) override { job()(); }
  void Cancel() override {}
};

}  // namespace brv
