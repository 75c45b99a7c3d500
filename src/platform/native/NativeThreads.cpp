// The threads, locks and waits of the native build, over the standard
// library, where the sanitizers see them.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/Threads.h"

namespace platform {

struct TCriticalSection::TImpl {
  std::mutex Mutex;
};

TCriticalSection::TCriticalSection() : FImpl(std::make_unique<TImpl>()) {}
TCriticalSection::~TCriticalSection() = default;
void TCriticalSection::Enter() { FImpl->Mutex.lock(); }
void TCriticalSection::Leave() { FImpl->Mutex.unlock(); }

struct TCondition::TImpl {
  std::condition_variable Wake;
};

TCondition::TCondition() : FImpl(std::make_unique<TImpl>()) {}
TCondition::~TCondition() = default;

void TCondition::WaitOnce(TLock& lock, unsigned ms) {
  // The caller's lock is lent to the standard wait and taken back.
  std::unique_lock<std::mutex> held(lock.Section().FImpl->Mutex, std::adopt_lock);
  if (ms == kInfinite)
    FImpl->Wake.wait(held);
  else
    FImpl->Wake.wait_for(held, std::chrono::milliseconds(ms));
  held.release();
}

void TCondition::NotifyAll() { FImpl->Wake.notify_all(); }

struct TThread::TImpl {
  std::thread Thread;
};

TThread::TThread(std::function<void()> run) : FImpl(std::make_unique<TImpl>()) {
  FImpl->Thread = std::thread(std::move(run));
}

TThread::~TThread() { Join(); }

bool TThread::Started() const { return true; }

void TThread::Join() {
  if (FImpl->Thread.joinable()) FImpl->Thread.join();
}

std::uint32_t TickCount() {
  using namespace std::chrono;
  return static_cast<std::uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace platform
