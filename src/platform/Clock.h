// The time source of waits on threads other than the user interface's. The
// real one waits on the condition with a time-out; a test's clock moves
// only when the test says so.
#pragma once

#include <functional>

#include "platform/Threads.h"

namespace platform {

class TWaitClock {
 public:
  virtual ~TWaitClock() = default;
  // Waits on `wake` (with `lock` held on entry and on return) until `done`
  // answers true or `ms` milliseconds have passed. The waiter's owner
  // notifies `wake` under `lock` whenever `done` may have changed.
  virtual void WaitFor(TLock& lock, TCondition& wake, unsigned ms,
                       const std::function<bool()>& done) = 0;
};

// The steady clock; used when no other one is installed.
TWaitClock& SteadyClock();

}  // namespace platform
