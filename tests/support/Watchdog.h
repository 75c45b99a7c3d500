// Ends the test program when a scenario outlives its time: a thread that
// waits for itself, or for a wake-up that never comes, would otherwise hang
// the whole run.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "platform/Threads.h"

namespace support {

class TWatchdog {
 public:
  explicit TWatchdog(const char* what)
      : FWhat(what), FThread([this] {
          platform::TLock lock(FLock);
          if (FWake.WaitFor(lock, 20000, [this] { return FDone; })) return;
          std::fprintf(stderr, "%s: no end after 20 s; a thread waits for ever\n", FWhat);
          std::_Exit(1);
        }) {}
  ~TWatchdog() {
    {
      platform::TLock lock(FLock);
      FDone = true;
      FWake.NotifyAll();
    }
    FThread.Join();
  }
  TWatchdog(const TWatchdog&) = delete;
  TWatchdog& operator=(const TWatchdog&) = delete;

 private:
  const char* FWhat;
  platform::TCriticalSection FLock;
  platform::TCondition FWake;
  bool FDone = false;
  platform::TThread FThread;
};

}  // namespace support
