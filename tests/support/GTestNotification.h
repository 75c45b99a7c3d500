// GoogleTest's start signal for the threads it makes, for the Windows test
// programs. They are built with the same compilers as the program, whose
// thread model has no std::mutex or std::condition_variable, which
// GoogleTest would build it on; this one is built on the program's own
// thread layer. The test build includes it before everything else and
// tells GoogleTest that it exists (GTEST_HAS_NOTIFICATION_).
#pragma once

#include "platform/Threads.h"

namespace testing::internal {

class Notification {
 public:
  Notification() = default;
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() {
    platform::TLock lock(FLock);
    FNotified = true;
    FWake.NotifyAll();
  }
  void WaitForNotification() {
    platform::TLock lock(FLock);
    FWake.Wait(lock, [this] { return FNotified; });
  }

 private:
  platform::TCriticalSection FLock;
  platform::TCondition FWake;
  bool FNotified = false;
};

}  // namespace testing::internal
