// Waiting for work that another thread or process does: the condition is
// polled, never a fixed sleep, so a fast run makes a fast test.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace fakes {

// Calls done every step until it is true or the time is up; answers done's
// last result.
inline bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout,
                      std::chrono::milliseconds step) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return done();
    std::this_thread::sleep_for(step);
  }
}

// For the animation threads of the unit tests: they answer within
// milliseconds, unless something is wrong.
inline bool Eventually(const std::function<bool()>& done) {
  using namespace std::chrono_literals;
  return WaitUntil(done, 5s, 10ms);
}

}  // namespace fakes
