#include <algorithm>

#include "fakes/Fakes.h"

using namespace platform;

namespace fakes {

// ---- notification area ----

bool TFakeNotifyArea::NotifyIcon(unsigned message, const TNotifyIconData& data) {
  std::lock_guard<std::mutex> guard(FLock);
  TNotifyIconData copy = data;
  // The record holds no more, whatever the caller passed.
  if (copy.Tip.size() > kNotifyTipChars) copy.Tip.resize(kNotifyTipChars);
  FCalls.push_back({message, copy});
  switch (message) {
    case kNimAdd:
      if (RefuseAdd || FRegistered.count(data.Window)) return false;
      FRegistered[data.Window] = copy;
      return true;
    case kNimModify: {
      auto it = FRegistered.find(data.Window);
      if (it == FRegistered.end()) return false;
      it->second = copy;
      return true;
    }
    case kNimDelete:
      return FRegistered.erase(data.Window) != 0;
    default:
      return false;
  }
}

THandle TFakeNotifyArea::CreateUtilityWindow(TWindowMessageHandler handler) {
  std::lock_guard<std::mutex> guard(FLock);
  const THandle window = FNextWindow++;
  FWindows[window] = std::move(handler);
  return window;
}

void TFakeNotifyArea::DestroyUtilityWindow(THandle window) {
  std::lock_guard<std::mutex> guard(FLock);
  FWindows.erase(window);
  FSteps.push_back("Destroy " + std::to_string(window));
}

bool TFakeNotifyArea::GetCursorPos(int& x, int& y) {
  x = CursorX;
  y = CursorY;
  return true;
}

void TFakeNotifyArea::SetForegroundWindow(THandle window) {
  std::lock_guard<std::mutex> guard(FLock);
  FSteps.push_back("Foreground " + std::to_string(window));
}

void TFakeNotifyArea::ProcessMessages() {
  std::lock_guard<std::mutex> guard(FLock);
  FSteps.push_back("ProcessMessages");
}

void TFakeNotifyArea::CancelMouseCapture() {
  std::lock_guard<std::mutex> guard(FLock);
  FSteps.push_back("CancelMouseCapture");
}

TLResult TFakeNotifyArea::Send(THandle window, std::uint32_t message, TWParam wParam,
                               TLParam lParam) {
  TWindowMessageHandler handler;
  {
    std::lock_guard<std::mutex> guard(FLock);
    auto it = FWindows.find(window);
    if (it == FWindows.end()) return 0;
    handler = it->second;
  }
  TLResult result = 0;
  handler(message, wParam, lParam, result);
  return result;
}

void TFakeNotifyArea::BroadcastTaskbarCreated() {
  std::vector<THandle> windows;
  {
    std::lock_guard<std::mutex> guard(FLock);
    for (const auto& [window, handler] : FWindows) windows.push_back(window);
  }
  for (THandle window : windows) Send(window, kTaskbarCreated, 0, 0);
}

std::vector<TNotifyCall> TFakeNotifyArea::Calls() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FCalls;
}

std::size_t TFakeNotifyArea::CallCount() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FCalls.size();
}

void TFakeNotifyArea::ClearCalls() {
  std::lock_guard<std::mutex> guard(FLock);
  FCalls.clear();
  FSteps.clear();
}

std::vector<std::string> TFakeNotifyArea::Requests(THandle window) const {
  static const char* const kNames[] = {"Add", "Modify", "Delete"};
  std::lock_guard<std::mutex> guard(FLock);
  std::vector<std::string> names;
  for (const TNotifyCall& call : FCalls)
    if (call.Data.Window == window) names.push_back(call.Message < 3 ? kNames[call.Message] : "?");
  return names;
}

bool TFakeNotifyArea::Registered(THandle window) const {
  std::lock_guard<std::mutex> guard(FLock);
  return FRegistered.count(window) != 0;
}

TNotifyIconData TFakeNotifyArea::Shown(THandle window) const {
  std::lock_guard<std::mutex> guard(FLock);
  auto it = FRegistered.find(window);
  return it == FRegistered.end() ? TNotifyIconData{} : it->second;
}

std::size_t TFakeNotifyArea::WindowCount() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FWindows.size();
}

std::vector<std::string> TFakeNotifyArea::Steps() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FSteps;
}

// ---- icons ----

THandle TFakeIcons::LoadIconFile(const std::string& path) {
  std::lock_guard<std::mutex> guard(FLock);
  if (!Readable.count(path)) return 0;
  const THandle icon = FNext++;
  FLive[icon] = path;
  return icon;
}

THandle TFakeIcons::CopyIcon(THandle icon) {
  std::lock_guard<std::mutex> guard(FLock);
  auto it = FLive.find(icon);
  if (it == FLive.end()) return 0;
  const THandle copy = FNext++;
  FLive[copy] = it->second;
  return copy;
}

void TFakeIcons::DestroyIcon(THandle icon) {
  std::lock_guard<std::mutex> guard(FLock);
  if (!FLive.erase(icon)) ++FUnknown;
}

std::string TFakeIcons::FileOf(THandle icon) const {
  std::lock_guard<std::mutex> guard(FLock);
  auto it = FLive.find(icon);
  return it == FLive.end() ? std::string() : it->second;
}

std::size_t TFakeIcons::LiveCount() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FLive.size();
}

bool TFakeIcons::Live(THandle icon) const {
  std::lock_guard<std::mutex> guard(FLock);
  return FLive.count(icon) != 0;
}

int TFakeIcons::DestroyedUnknown() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FUnknown;
}

// ---- clock ----

void TFakeClock::WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& wake,
                         unsigned ms, const std::function<bool()>& done) {
  const unsigned long long until = FNow.load() + ms;
  // The waiter never holds its own lock and the list's together; Advance
  // holds the list's while it takes each waiter's, so a waiter cannot leave
  // (and its lock go away) while it is being woken.
  lock.unlock();
  {
    std::lock_guard<std::mutex> guard(FWaitersLock);
    FWaiters.push_back({lock.mutex(), &wake});
  }
  lock.lock();
  wake.wait(lock, [&] { return done() || FNow.load() >= until; });
  lock.unlock();
  {
    std::lock_guard<std::mutex> guard(FWaitersLock);
    auto it = std::find_if(FWaiters.begin(), FWaiters.end(),
                           [&](const TWaiter& w) { return w.Wake == &wake; });
    if (it != FWaiters.end()) FWaiters.erase(it);
  }
  lock.lock();
}

void TFakeClock::Advance(unsigned ms) {
  FNow += ms;
  std::lock_guard<std::mutex> guard(FWaitersLock);
  // Notified under each waiter's own lock, so that a waiter between its
  // check and its sleep cannot miss the change.
  for (const TWaiter& w : FWaiters) {
    std::lock_guard<std::mutex> waiter(*w.Lock);
    w.Wake->notify_all();
  }
}

int TFakeClock::Waiting() const {
  std::lock_guard<std::mutex> guard(FWaitersLock);
  return static_cast<int>(FWaiters.size());
}

}  // namespace fakes
