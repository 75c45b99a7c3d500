#include "platform/Clock.h"

namespace platform {

namespace {
class TSteadyClock final : public TWaitClock {
 public:
  void WaitFor(TLock& lock, TCondition& wake, unsigned ms,
               const std::function<bool()>& done) override {
    wake.WaitFor(lock, ms, done);
  }
};
}  // namespace

TWaitClock& SteadyClock() {
  static TSteadyClock clock;
  return clock;
}

}  // namespace platform
