// The time source of waits on threads other than the user interface's. The
// real one waits on the condition variable with a time-out; a test's clock
// moves only when the test says so.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>

namespace platform {

class TWaitClock {
 public:
  virtual ~TWaitClock() = default;
  // Waits on `wake` (with `lock` held on entry and on return) until `done`
  // answers true or `ms` milliseconds have passed. The waiter's owner
  // notifies `wake` under `lock` whenever `done` may have changed.
  virtual void WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& wake,
                       unsigned ms, const std::function<bool()>& done) = 0;
};

// The steady clock; used when no other one is installed.
TWaitClock& SteadyClock();

}  // namespace platform
