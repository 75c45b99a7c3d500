#include <algorithm>
#include <optional>
#include <utility>

#include "fakes/Fakes.h"

using namespace platform;

namespace fakes {

// ---- notification area ----

bool TFakeNotifyArea::NotifyIcon(unsigned message, const TNotifyIconData& data) {
  std::function<void()> during, every;
  {
    platform::TLock guard(FLock);
    during = std::exchange(FDuringNextRequest, nullptr);
    every = FDuringEveryRequest;
  }
  if (during) during();
  if (every) every();
  platform::TLock guard(FLock);
  TNotifyIconData copy = data;
  // The record holds no more, whatever the caller passed.
  if (copy.Tip.size() > kNotifyTipChars) copy.Tip.resize(kNotifyTipChars);
  FCalls.push_back({message, copy});
  switch (message) {
    case kNimAdd:
      if (RefuseAdd || FRegistered.count(data.Id)) return false;
      FRegistered[data.Id] = copy;
      return true;
    case kNimModify: {
      auto it = FRegistered.find(data.Id);
      if (it == FRegistered.end()) return false;
      it->second = copy;
      return true;
    }
    case kNimDelete:
      return FRegistered.erase(data.Id) != 0;
    default:
      return false;
  }
}

void TFakeNotifyArea::RunDuringNextRequest(std::function<void()> run) {
  platform::TLock guard(FLock);
  FDuringNextRequest = std::move(run);
}

void TFakeNotifyArea::RunDuringEveryRequest(std::function<void()> run) {
  platform::TLock guard(FLock);
  FDuringEveryRequest = std::move(run);
}

unsigned TFakeNotifyArea::StartListening(TWindowMessageHandler handler) {
  platform::TLock guard(FLock);
  const unsigned id = ++FLastListener;
  FListeners[id] = std::move(handler);
  return id;
}

void TFakeNotifyArea::StopListening(unsigned listener) {
  platform::TLock guard(FLock);
  FListeners.erase(listener);
}

THandle TFakeNotifyArea::ListeningWindow() {
  platform::TLock guard(FLock);
  return FListeners.empty() ? 0 : kListeningWindow;
}

bool TFakeNotifyArea::GetCursorPos(int& x, int& y) {
  x = CursorX;
  y = CursorY;
  return true;
}

void TFakeNotifyArea::SetForegroundWindow(THandle window) {
  platform::TLock guard(FLock);
  FSteps.push_back("Foreground " + std::to_string(window));
}

void TFakeNotifyArea::ProcessMessages() {
  platform::TLock guard(FLock);
  FSteps.push_back("ProcessMessages");
}

void TFakeNotifyArea::CancelMouseCapture() {
  platform::TLock guard(FLock);
  FSteps.push_back("CancelMouseCapture");
}

TLResult TFakeNotifyArea::Send(THandle window, std::uint32_t message, TWParam wParam,
                               TLParam lParam) {
  // Every listener hears it, but one that an earlier one stopped; the first
  // that handles it answers.
  std::optional<TLResult> answer;
  for (unsigned last = 0; window == kListeningWindow;) {
    platform::TLock guard(FLock);
    const auto next = FListeners.upper_bound(last);
    if (next == FListeners.end()) break;
    last = next->first;
    const TWindowMessageHandler handler = next->second;
    guard.Unlock();
    TLResult result = 0;
    if (handler(message, wParam, lParam, result) && !answer) answer = result;
  }
  return answer.value_or(0);
}

void TFakeNotifyArea::BroadcastTaskbarCreated() { Send(kListeningWindow, kTaskbarCreated, 0, 0); }

std::vector<TNotifyCall> TFakeNotifyArea::Calls() const {
  platform::TLock guard(FLock);
  return FCalls;
}

std::size_t TFakeNotifyArea::CallCount() const {
  platform::TLock guard(FLock);
  return FCalls.size();
}

void TFakeNotifyArea::ClearCalls() {
  platform::TLock guard(FLock);
  FCalls.clear();
  FSteps.clear();
}

std::vector<std::string> TFakeNotifyArea::Requests(unsigned icon) const {
  static const char* const kNames[] = {"Add", "Modify", "Delete"};
  platform::TLock guard(FLock);
  std::vector<std::string> names;
  for (const TNotifyCall& call : FCalls)
    if (call.Data.Id == icon) names.push_back(call.Message < 3 ? kNames[call.Message] : "?");
  return names;
}

bool TFakeNotifyArea::Registered(unsigned icon) const {
  platform::TLock guard(FLock);
  return FRegistered.count(icon) != 0;
}

TNotifyIconData TFakeNotifyArea::Shown(unsigned icon) const {
  platform::TLock guard(FLock);
  auto it = FRegistered.find(icon);
  return it == FRegistered.end() ? TNotifyIconData{} : it->second;
}

std::size_t TFakeNotifyArea::ListenerCount() const {
  platform::TLock guard(FLock);
  return FListeners.size();
}

std::vector<std::string> TFakeNotifyArea::Steps() const {
  platform::TLock guard(FLock);
  return FSteps;
}

// ---- icons ----

THandle TFakeIcons::LoadIconFile(const std::string& path) {
  platform::TLock guard(FLock);
  if (!Readable.count(path)) return 0;
  const THandle icon = FNext++;
  FLive[icon] = path;
  return icon;
}

THandle TFakeIcons::CopyIcon(THandle icon) {
  platform::TLock guard(FLock);
  auto it = FLive.find(icon);
  if (it == FLive.end()) return 0;
  const THandle copy = FNext++;
  FLive[copy] = it->second;
  return copy;
}

THandle TFakeIcons::ExtractIcon(const std::string& path, int index) {
  platform::TLock guard(FLock);
  const std::string name = path + "," + std::to_string(index);
  Extracted.push_back(name);
  auto it = Programs.find(path);
  if (it == Programs.end() || index < 0 || index >= it->second) return 0;
  const THandle icon = FNext++;
  FLive[icon] = name;
  return icon;
}

void TFakeIcons::DestroyIcon(THandle icon) {
  platform::TLock guard(FLock);
  if (!FLive.erase(icon)) ++FUnknown;
}

std::string TFakeIcons::FileOf(THandle icon) const {
  platform::TLock guard(FLock);
  auto it = FLive.find(icon);
  return it == FLive.end() ? std::string() : it->second;
}

std::size_t TFakeIcons::LiveCount() const {
  platform::TLock guard(FLock);
  return FLive.size();
}

bool TFakeIcons::Live(THandle icon) const {
  platform::TLock guard(FLock);
  return FLive.count(icon) != 0;
}

int TFakeIcons::DestroyedUnknown() const {
  platform::TLock guard(FLock);
  return FUnknown;
}

// ---- clock ----

void TFakeClock::WaitFor(platform::TLock& lock, platform::TCondition& wake, unsigned ms,
                         const std::function<bool()>& done) {
  const unsigned long long until = FNow.load() + ms;
  // The waiter never holds its own lock and the list's together; Advance
  // holds the list's while it takes each waiter's, so a waiter cannot leave
  // (and its lock go away) while it is being woken.
  lock.Unlock();
  {
    platform::TLock guard(FWaitersLock);
    FWaiters.push_back({&lock.Section(), &wake});
  }
  lock.Lock();
  wake.Wait(lock, [&] { return done() || FNow.load() >= until; });
  lock.Unlock();
  {
    platform::TLock guard(FWaitersLock);
    auto it = std::find_if(FWaiters.begin(), FWaiters.end(),
                           [&](const TWaiter& w) { return w.Wake == &wake; });
    if (it != FWaiters.end()) FWaiters.erase(it);
  }
  lock.Lock();
}

void TFakeClock::Advance(unsigned ms) {
  FNow += ms;
  platform::TLock guard(FWaitersLock);
  // Notified under each waiter's own lock, so that a waiter between its
  // check and its sleep cannot miss the change.
  for (const TWaiter& w : FWaiters) {
    platform::TLock waiter(*w.Lock);
    w.Wake->NotifyAll();
  }
}

int TFakeClock::Waiting() const {
  platform::TLock guard(FWaitersLock);
  return static_cast<int>(FWaiters.size());
}

}  // namespace fakes
