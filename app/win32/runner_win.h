// Runs slow work on a thread of its own and hands each result back on the
// window's thread, through a message-only window: one job at a time, only
// the latest one counting.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "form/runner.h"

namespace brv {

class Win32Runner : public Runner {
 public:
  // Made on the window's thread; nullptr when its window could not be made.
  static std::unique_ptr<Win32Runner> Create(HINSTANCE instance);
  Win32Runner(const Win32Runner&) = delete;
  Win32Runner& operator=(const Win32Runner&) = delete;
  // Waits for a job under way to end; its result is dropped.
  ~Win32Runner() override;

  void Run(Job job) override;
  void Cancel() override;

 private:
  Win32Runner() = default;
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Work();
  void Deliver();

  HWND window_ = nullptr;
  std::mutex mutex_;
  std::condition_variable wake_;
  uint64_t latest_ = 0;  // the number of the latest Run or Cancel
  Job next_;             // the latest job, not yet started
  uint64_t nextNumber_ = 0;
  std::function<void()> result_;  // the last job's result, not yet handed back
  uint64_t resultNumber_ = 0;
  bool stop_ = false;
  std::thread thread_;
};

}  // namespace brv
