#include "platform/Clock.h"

#include <chrono>

namespace platform {

namespace {
class TSteadyClock final : public TWaitClock {
 public:
  void WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& wake, unsigned ms,
               const std::function<bool()>& done) override {
    wake.wait_for(lock, std::chrono::milliseconds(ms), done);
  }
};
}  // namespace

TWaitClock& SteadyClock() {
  static TSteadyClock clock;
  return clock;
}

}  // namespace platform
