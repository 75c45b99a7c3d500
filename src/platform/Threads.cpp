#include "platform/Threads.h"

namespace platform {

// The waits with a condition are the same on every system; each build
// brings its own WaitOnce and TickCount.

void TCondition::Wait(TLock& lock, const std::function<bool()>& done) {
  while (!done()) WaitOnce(lock, kInfinite);
}

bool TCondition::WaitFor(TLock& lock, unsigned ms, const std::function<bool()>& done) {
  const std::uint32_t start = TickCount();
  for (;;) {
    if (done()) return true;
    const std::uint32_t passed = TickCount() - start;
    if (passed >= ms) return false;
    WaitOnce(lock, ms - passed);
  }
}

}  // namespace platform
