#include <gtest/gtest.h>

#include <chrono>

#include "platform/Threads.h"
#include "support/Watchdog.h"

// The thread layer: natively over the standard library, in the Windows
// build over the program's own condition made of events.

namespace {

// Two threads hand a turn back and forth: a wake-up lost between a waiter's
// check and its wait leaves both waiting for ever.
TEST(Threads, AConditionLosesNoWakeUpBetweenTwoThreads) {
  support::TWatchdog watchdog("handing a turn between two threads");
  constexpr int kRounds = 1000;
  platform::TCriticalSection section;
  platform::TCondition turn;
  int ball = 0;
  {
    platform::TThread other([&] {
      platform::TLock lock(section);
      for (int i = 0; i < kRounds; ++i) {
        turn.Wait(lock, [&] { return ball % 2 == 1; });
        ++ball;
        turn.NotifyAll();
      }
    });
    ASSERT_TRUE(other.Started());
    platform::TLock lock(section);
    for (int i = 0; i < kRounds; ++i) {
      ++ball;
      turn.NotifyAll();
      turn.Wait(lock, [&] { return ball % 2 == 0; });
    }
  }  // the thread is joined here
  EXPECT_EQ(ball, 2 * kRounds);
}

TEST(Threads, AWaitForSomethingThatDoesNotComeEndsWithItsTime) {
  platform::TCriticalSection section;
  platform::TCondition never;
  platform::TLock lock(section);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(never.WaitFor(lock, 60, [] { return false; }));
  // The Windows tick moves in steps of up to 16 ms.
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(60 - 16));
  EXPECT_TRUE(lock.Held());
}

}  // namespace
