// The threads, locks and waits of the Windows build, over calls that every
// Windows since 95 and NT 4 exports.
#include <windows.h>
#include <process.h>

#include <algorithm>
#include <vector>

#include "platform/Threads.h"
#include "platform/win32/Handles.h"

namespace platform {

using win32::TKernelHandle;

static_assert(kInfinite == INFINITE);

namespace {

// Holds a critical section of this file for its scope.
class TGuard {
 public:
  explicit TGuard(CRITICAL_SECTION& section) : FSection(section) {
    ::EnterCriticalSection(&FSection);
  }
  ~TGuard() { ::LeaveCriticalSection(&FSection); }
  TGuard(const TGuard&) = delete;
  TGuard& operator=(const TGuard&) = delete;

 private:
  CRITICAL_SECTION& FSection;
};

unsigned __stdcall ThreadStart(void* parameter) {
  const std::unique_ptr<std::function<void()>> run(static_cast<std::function<void()>*>(parameter));
  (*run)();
  return 0;
}

}  // namespace

// ---- TCriticalSection ----

// A Windows critical section lets its owner enter again; the native lock
// does not. The program never does, and the native tests would catch it.
struct TCriticalSection::TImpl {
  CRITICAL_SECTION Section;
  TImpl() { ::InitializeCriticalSection(&Section); }
  ~TImpl() { ::DeleteCriticalSection(&Section); }
};

TCriticalSection::TCriticalSection() : FImpl(std::make_unique<TImpl>()) {}
TCriticalSection::~TCriticalSection() = default;
void TCriticalSection::Enter() { ::EnterCriticalSection(&FImpl->Section); }
void TCriticalSection::Leave() { ::LeaveCriticalSection(&FImpl->Section); }

// ---- TCondition ----

// Condition variables of the system itself exist only since Vista. Here each
// wait has an event of its own, listed before the waiter lets go of its
// lock: a NotifyAll made after the change the waiter checked always finds
// it, so no wake-up is lost between the check and the wait.
struct TCondition::TImpl {
  CRITICAL_SECTION Guard;
  std::vector<HANDLE> Waiters;
  TImpl() { ::InitializeCriticalSection(&Guard); }
  ~TImpl() { ::DeleteCriticalSection(&Guard); }
};

TCondition::TCondition() : FImpl(std::make_unique<TImpl>()) {}
TCondition::~TCondition() = default;

void TCondition::WaitOnce(TLock& lock, unsigned ms) {
  TKernelHandle event(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!event) {
    // No event to wait on: a short sleep, and the caller checks again.
    lock.Unlock();
    ::Sleep(std::min(ms, 10u));
    lock.Lock();
    return;
  }
  {
    TGuard guard(FImpl->Guard);
    FImpl->Waiters.push_back(event.get());
  }
  lock.Unlock();
  ::WaitForSingleObject(event.get(), ms);
  {
    TGuard guard(FImpl->Guard);
    auto& waiters = FImpl->Waiters;
    waiters.erase(std::remove(waiters.begin(), waiters.end(), event.get()), waiters.end());
  }
  lock.Lock();
}

void TCondition::NotifyAll() {
  TGuard guard(FImpl->Guard);
  for (HANDLE event : FImpl->Waiters) ::SetEvent(event);
  FImpl->Waiters.clear();
}

// ---- TThread ----

struct TThread::TImpl {
  TKernelHandle Thread;
};

TThread::TThread(std::function<void()> run) : FImpl(std::make_unique<TImpl>()) {
  auto start = std::make_unique<std::function<void()>>(std::move(run));
  // Through the runtime library rather than CreateThread, so that what it
  // keeps for each thread is set up and freed with the thread.
  const std::uintptr_t thread = ::_beginthreadex(nullptr, 0, ThreadStart, start.get(), 0, nullptr);
  if (thread == 0) return;
  start.release();  // the thread owns it now
  FImpl->Thread.reset(reinterpret_cast<HANDLE>(thread));
}

TThread::~TThread() { Join(); }

bool TThread::Started() const { return static_cast<bool>(FImpl->Thread); }

void TThread::Join() {
  if (!FImpl->Thread) return;
  ::WaitForSingleObject(FImpl->Thread.get(), INFINITE);
  FImpl->Thread.reset();
}

std::uint32_t TickCount() { return ::GetTickCount(); }

}  // namespace platform
