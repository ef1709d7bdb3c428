#include "app/win32/runner_win.h"

namespace brv {

namespace {

const wchar_t kClassName[] = L"BrovantineRunner";
constexpr UINT kDoneMessage = WM_APP + 1;

}  // namespace

std::unique_ptr<Win32Runner> Win32Runner::Create(HINSTANCE instance) {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = Proc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    return nullptr;
  }
  std::unique_ptr<Win32Runner> self(new Win32Runner());
  self->window_ =
      CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
  if (!self->window_) return nullptr;
  SetWindowLongPtrW(self->window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self.get()));
  return self;
}

Win32Runner::~Win32Runner() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
    next_ = nullptr;
  }
  wake_.notify_one();
  if (thread_.joinable()) thread_.join();
  if (window_) DestroyWindow(window_);
}

void Win32Runner::Run(Job job) {
  // The thread starts with the first job, so that nothing waits for it at
  // start-up; where it cannot be made, the job runs here.
  if (!thread_.joinable()) {
    try {
      thread_ = std::thread([this] { Work(); });
    } catch (...) {
      try {
        if (std::function<void()> done = job()) done();
      } catch (...) {
        // As on the thread: a job that failed shows nothing.
      }
      return;
    }
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    next_ = std::move(job);
    nextNumber_ = ++latest_;
    result_ = nullptr;
  }
  wake_.notify_one();
}

void Win32Runner::Cancel() {
  std::lock_guard<std::mutex> lock(mutex_);
  ++latest_;
  next_ = nullptr;
  result_ = nullptr;
}

void Win32Runner::Work() {
  for (;;) {
    Job job;
    uint64_t number = 0;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return stop_ || next_; });
      if (stop_) return;
      job = std::move(next_);
      next_ = nullptr;
      number = nextNumber_;
    }
    std::function<void()> done;
    try {
      done = job();
    } catch (...) {
      // A job that failed (memory ran out) hands back nothing.
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (number != latest_ || !done) continue;
      result_ = std::move(done);
      resultNumber_ = number;
    }
    PostMessageW(window_, kDoneMessage, 0, 0);
  }
}

void Win32Runner::Deliver() {
  std::function<void()> done;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (resultNumber_ == latest_) done = std::move(result_);
    result_ = nullptr;
  }
  if (done) done();
}

LRESULT CALLBACK Win32Runner::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kDoneMessage) {
    auto* self = reinterpret_cast<Win32Runner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    // No exception leaves the procedure: the result is then not shown.
    try {
      if (self) self->Deliver();
    } catch (...) {
    }
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace brv
