// Threads, locks and waits, for the few places that need them (the tray
// icons' animation threads and the tests that drive them).
//
// The Windows build implements them over calls that every Windows since 95
// and NT 4 exports (threads, critical sections, events), not over the C++
// thread library: the compilers' thread support that would provide
// std::thread and std::mutex imports functions of much later systems, and a
// program that imports them does not load on the systems it is for. The
// native build implements them over the standard library, so that the
// sanitizers see every lock and wait.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace platform {

// Waits without a time limit.
inline constexpr unsigned kInfinite = 0xFFFFFFFFu;

// A lock between the threads of the program. A thread never enters it
// again while it holds it: the native lock would wait for itself forever,
// and a Windows critical section would let the thread in.
class TCriticalSection {
 public:
  TCriticalSection();
  ~TCriticalSection();
  TCriticalSection(const TCriticalSection&) = delete;
  TCriticalSection& operator=(const TCriticalSection&) = delete;

  void Enter();
  void Leave();

  struct TImpl;

 private:
  friend class TCondition;
  std::unique_ptr<TImpl> FImpl;
};

// Holds a critical section from construction to destruction; may let it go
// and take it again in between.
class TLock {
 public:
  explicit TLock(TCriticalSection& section) : FSection(section) { Lock(); }
  ~TLock() {
    if (FHeld) FSection.Leave();
  }
  TLock(const TLock&) = delete;
  TLock& operator=(const TLock&) = delete;

  void Lock() {
    FSection.Enter();
    FHeld = true;
  }
  void Unlock() {
    FHeld = false;
    FSection.Leave();
  }
  bool Held() const { return FHeld; }
  TCriticalSection& Section() const { return FSection; }

 private:
  TCriticalSection& FSection;
  bool FHeld = false;
};

// Where threads wait for a change that another thread makes. A waiter holds
// a TLock on the section that guards the change; the other thread makes
// the change under the same section and then wakes every waiter.
class TCondition {
 public:
  TCondition();
  ~TCondition();
  TCondition(const TCondition&) = delete;
  TCondition& operator=(const TCondition&) = delete;

  // Lets go of `lock` while it waits and holds it again on return. Returns
  // after NotifyAll, after `ms` milliseconds, or for no reason at all, so
  // callers check what they wait for.
  void WaitOnce(TLock& lock, unsigned ms);
  // Waits until `done` answers true; `done` runs with the lock held.
  void Wait(TLock& lock, const std::function<bool()>& done);
  // The same, for at most `ms` milliseconds; answers what `done` last said.
  bool WaitFor(TLock& lock, unsigned ms, const std::function<bool()>& done);
  void NotifyAll();

  struct TImpl;

 private:
  std::unique_ptr<TImpl> FImpl;
};

// A thread that runs `run`. The destructor waits for it to end, so the
// thread never outlives what it works on.
class TThread {
 public:
  explicit TThread(std::function<void()> run);
  ~TThread();
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  // False when the system could not start it; `run` then never runs.
  bool Started() const;
  // Waits for the thread to end; returns at once when it has already ended.
  void Join();

  struct TImpl;

 private:
  std::unique_ptr<TImpl> FImpl;
};

// Milliseconds from a steady clock that wraps around; the difference of
// two readings is the time between them, up to 49 days.
std::uint32_t TickCount();

}  // namespace platform
