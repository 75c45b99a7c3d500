#include "drives/RXShell.h"

#include <algorithm>

#include "platform/Application.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/Messages.h"
#include "platform/Services.h"

using namespace platform;

namespace drives {

namespace {

// A handler's failure goes to the standard error report, never back into
// the window procedure.
template <class F>
void Guarded(F&& run) {
  try {
    run();
  } catch (const std::exception& e) {
    if (Application) Application->HandleException(e);
  }
}

}  // namespace

// ---- TIconList ----

void TIconList::Insert(int index, const TIcon& icon) {
  if (index < 0) index = 0;
  if (index > Count()) index = Count();
  FIcons.insert(FIcons.begin() + index, icon);
}

// ---- TTimerThread ----

TTimerThread::TTimerThread(TRxTrayIcon& icon, bool suspended)
    : FIcon(icon), FSuspended(suspended), FThread([this] { Execute(); }) {}

TTimerThread::~TTimerThread() {
  {
    std::lock_guard<std::mutex> guard(FLock);
    FTerminated = true;
  }
  FWake.notify_all();
  if (FThread.joinable()) FThread.join();
}

void TTimerThread::Suspend() {
  std::lock_guard<std::mutex> guard(FLock);
  FSuspended = true;
}

void TTimerThread::Resume() {
  {
    std::lock_guard<std::mutex> guard(FLock);
    FSuspended = false;
  }
  FWake.notify_all();
}

bool TTimerThread::Suspended() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FSuspended;
}

void TTimerThread::Execute() {
  // The services were installed before the icon was made; the clock is read
  // once, here, and never changes for this thread.
  TWaitClock& clock = Services().Clock ? *Services().Clock : SteadyClock();
  std::unique_lock<std::mutex> lock(FLock);
  for (;;) {
    FWake.wait(lock, [this] { return FTerminated || !FSuspended; });
    if (FTerminated) return;
    // Told to stop, the thread ends at once instead of sleeping out the
    // interval: the program does not wait 7.5 seconds to close.
    // An interval of 0 would spin; a millisecond is the shortest step.
    const unsigned interval = std::max<unsigned>(1, FIcon.Interval());
    clock.WaitFor(lock, FWake, interval, [this] { return FTerminated; });
    if (FTerminated) return;
    if (FSuspended) continue;  // hidden meanwhile: the position stays
    lock.unlock();
    FIcon.AnimationStep();
    lock.lock();
  }
}

// ---- TRxTrayIcon ----

TRxTrayIcon::TRxTrayIcon(TComponent* owner) : TComponent(owner) {
  if (TNotifyArea* area = Services().NotifyArea) {
    FTaskbarCreated = area->TaskbarCreatedMessage();
    FWindow = area->CreateUtilityWindow(
        [this](std::uint32_t message, TWParam wParam, TLParam lParam, TLResult& result) {
          return WndProc(message, wParam, lParam, result);
        });
  }
}

TRxTrayIcon::~TRxTrayIcon() {
  *FAlive = false;
  SetAnimated(false);
  {
    std::lock_guard<std::mutex> guard(FLock);
    Notify(kNimDelete);
    FShown = false;
  }
  if (FWindow && Services().NotifyArea) Services().NotifyArea->DestroyUtilityWindow(FWindow);
}

bool TRxTrayIcon::Active() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FActive;
}

bool TRxTrayIcon::Shown() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FShown;
}

void TRxTrayIcon::SetActive(bool active) {
  std::lock_guard<std::mutex> guard(FLock);
  FActive = active;
  if (active)
    ShowLocked();
  else
    HideLocked();
}

TIcon TRxTrayIcon::Icon() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FIcon;
}

bool TRxTrayIcon::IconEmpty() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FIcon.Empty();
}

void TRxTrayIcon::SetIcon(const TIcon& icon) { ReplaceIcon(TIcon(icon)); }

void TRxTrayIcon::LoadIcon(const std::string& path) {
  TIcon loaded;
  loaded.LoadFromFile(path);
  ReplaceIcon(std::move(loaded));
}

void TRxTrayIcon::ReplaceIcon(TIcon icon) {
  // The image is made (copied or loaded) before the lock is taken.
  TLock lock(FLock);
  FIcon = std::move(icon);
  auto stopped = ChangedLocked();
  lock.unlock();
}

int TRxTrayIcon::IconCount() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FIcons.Count();
}

void TRxTrayIcon::InsertIcon(int index, const TIcon& icon) {
  TLock lock(FLock);
  FIcons.Insert(index, icon);
  auto stopped = ChangedLocked();
  lock.unlock();
}

void TRxTrayIcon::AddIcon(const TIcon& icon) { InsertIcon(IconCount(), icon); }

void TRxTrayIcon::ClearIcons() {
  TLock lock(FLock);
  FIcons.Clear();
  auto stopped = ChangedLocked();
  lock.unlock();
  // `stopped` ends its thread here, without the lock: the thread may be
  // waiting for it.
}

bool TRxTrayIcon::Animated() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FAnimated;
}

void TRxTrayIcon::SetAnimated(bool animated) {
  std::unique_ptr<TTimerThread> stopped;
  TLock lock(FLock);
  if (animated && FIcons.Count() > 0) {
    FAnimated = true;
    // A hidden icon's thread waits until the icon is shown.
    if (!FThread) FThread = std::make_unique<TTimerThread>(*this, !FShown);
  } else {
    FAnimated = false;
    stopped = std::move(FThread);
  }
  FPosition = 0;
  // The picture follows at once: the first image of the list, or the base
  // image when the animation ends.
  auto alsoStopped = ChangedLocked();
  lock.unlock();
}

int TRxTrayIcon::AnimationPosition() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FPosition;
}

std::string TRxTrayIcon::Hint() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FHint;
}

void TRxTrayIcon::SetHint(const std::string& hint) {
  TLock lock(FLock);
  if (hint == FHint) return;
  FHint = hint;
  auto stopped = ChangedLocked();
  lock.unlock();
}

THandle TRxTrayIcon::ImageShown() const {
  std::lock_guard<std::mutex> guard(FLock);
  return CurrentImage();
}

std::string TRxTrayIcon::Tip() const {
  std::lock_guard<std::mutex> guard(FLock);
  return Record().Tip;
}

THandle TRxTrayIcon::CurrentImage() const {
  if (FAnimated && FIcons.Count() > 0) {
    const int at = FPosition < 0 || FPosition >= FIcons.Count() ? 0 : FPosition;
    return FIcons[at].Handle();
  }
  return FIcon.Handle();
}

TNotifyIconData TRxTrayIcon::Record() const {
  TNotifyIconData data;
  data.Window = FWindow;
  data.Id = 0;  // every icon has a window of its own
  data.Flags = kNifMessage | kNifIcon | kNifTip;
  data.CallbackMessage = kCallbackMessage;
  data.Icon = CurrentImage();
  // A hint may carry a long part after "|"; the tooltip is the short one.
  data.Tip = FHint.substr(0, FHint.find('|'));
  if (data.Tip.size() > kNotifyTipChars) data.Tip.resize(kNotifyTipChars);
  return data;
}

bool TRxTrayIcon::Notify(unsigned message) const {
  TNotifyArea* area = Services().NotifyArea;
  return area && area->NotifyIcon(message, Record());
}

void TRxTrayIcon::ShowLocked() {
  // A registration left over (after the taskbar came back, say) goes first.
  Notify(kNimDelete);
  FShown = false;
  if (CurrentImage()) FShown = Notify(kNimAdd);
  if (FAnimated && FThread) FThread->Resume();
}

void TRxTrayIcon::HideLocked() {
  Notify(kNimDelete);
  FShown = false;
  if (FThread) FThread->Suspend();
}

std::unique_ptr<TTimerThread> TRxTrayIcon::ChangedLocked() {
  std::unique_ptr<TTimerThread> stopped;
  if (FIcons.Count() == 0 && FAnimated) {
    FAnimated = false;
    FPosition = 0;
    stopped = std::move(FThread);
  }
  if (FShown) {
    if (!CurrentImage())
      HideLocked();
    else
      Notify(kNimModify);
  } else if (FActive) {
    // Not shown although wanted: a refused registration is tried again.
    ShowLocked();
  }
  return stopped;
}

void TRxTrayIcon::AnimationStep() {
  std::lock_guard<std::mutex> guard(FLock);
  // No thread means the animation is being stopped: this step is void.
  if (!FAnimated || !FThread || FIcons.Count() == 0) return;
  FPosition = FPosition + 1 >= FIcons.Count() ? 0 : FPosition + 1;
  ChangedLocked();  // the list is not empty, so no thread comes back
}

bool TRxTrayIcon::WndProc(std::uint32_t message, TWParam, TLParam lParam, TLResult& result) {
  if (message == kCallbackMessage) {
    if (Enabled) MouseMessage(static_cast<std::uint32_t>(lParam));
    result = 0;
    return true;
  }
  if (FTaskbarCreated != 0 && message == FTaskbarCreated) {
    // The taskbar was made anew (the shell restarted) and knows no icon:
    // every icon that should show registers again.
    std::lock_guard<std::mutex> guard(FLock);
    if (FActive) ShowLocked();
    result = 0;
    return true;
  }
  return false;
}

void TRxTrayIcon::FireMouse(const TMouseEvent& event, TMouseButton button, unsigned shift, int x,
                            int y) {
  if (event) Guarded([&] { event(this, button, shift, x, y); });
}

void TRxTrayIcon::MouseMessage(std::uint32_t mouseMessage) {
  // Each event may end the icon; nothing of it is touched afterwards.
  const std::shared_ptr<bool> alive = FAlive;
  int x = 0, y = 0;
  if (TNotifyArea* area = Services().NotifyArea) area->GetCursorPos(x, y);
  switch (mouseMessage) {
    case kWmMouseMove:
      if (OnMouseMove) Guarded([&] { OnMouseMove(this, 0, x, y); });
      break;
    case kWmLButtonDown:
      FireMouse(OnMouseDown, TMouseButton::Left, ssLeft, x, y);
      if (*alive) FLeftDown = true;
      break;
    case kWmLButtonUp:
      if (FLeftDown) {
        FLeftDown = false;
        FireMouse(OnClick, TMouseButton::Left, 0, x, y);
        if (!*alive) return;
      }
      FireMouse(OnMouseUp, TMouseButton::Left, 0, x, y);
      break;
    case kWmLButtonDblClk:
      if (TMenuItem* item = PopupMenu ? PopupMenu->DefaultItem() : nullptr)
        item->UserClicked();
      else
        DoEvent(OnDblClick, this);
      if (!*alive) return;
      FireMouse(OnMouseDown, TMouseButton::Left, ssLeft | ssDouble, x, y);
      break;
    case kWmRButtonDown:
      FireMouse(OnMouseDown, TMouseButton::Right, ssRight, x, y);
      if (*alive) FRightDown = true;
      break;
    case kWmRButtonUp:
      if (FRightDown) {
        FRightDown = false;
        bool opened = false;
        Guarded([&] { opened = DoPopup(x, y); });
        if (!*alive) return;
        if (!opened) FireMouse(OnClick, TMouseButton::Right, 0, x, y);
        if (!*alive) return;
      }
      FireMouse(OnMouseUp, TMouseButton::Right, 0, x, y);
      break;
    case kWmRButtonDblClk:
      FireMouse(OnMouseDown, TMouseButton::Right, ssRight | ssDouble, x, y);
      break;
    case kWmMButtonDown:
      FireMouse(OnMouseDown, TMouseButton::Middle, ssMiddle, x, y);
      break;
    case kWmMButtonUp:
      FireMouse(OnMouseUp, TMouseButton::Middle, 0, x, y);
      break;
    case kWmMButtonDblClk:
      FireMouse(OnMouseDown, TMouseButton::Middle, ssMiddle | ssDouble, x, y);
      break;
    default:
      break;
  }
}

bool TRxTrayIcon::DoPopup(int x, int y) {
  if (!Active() || !PopupMenu || !PopupMenu->AutoPopup) return false;
  PopupMenu->PopupComponent = this;
  TNotifyArea* area = Services().NotifyArea;
  if (area) {
    area->CancelMouseCapture();
    // Without the foreground the menu would not close when the user clicks
    // elsewhere.
    area->SetForegroundWindow(FWindow);
    area->ProcessMessages();
  }
  const std::shared_ptr<bool> alive = FAlive;
  const THandle window = FWindow;
  PopupMenu->Popup(x, y, window);
  if (area && *alive) area->SetForegroundWindow(window);
  return true;
}

}  // namespace drives
