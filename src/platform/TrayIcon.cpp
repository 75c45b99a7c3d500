#include "platform/TrayIcon.h"

#include <algorithm>
#include <utility>

#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/Guarded.h"
#include "platform/Messages.h"
#include "platform/Services.h"

namespace platform {

// ---- TIconList ----

void TIconList::Insert(int index, TIcon icon) {
  if (index < 0) index = 0;
  if (index > Count()) index = Count();
  FIcons.insert(FIcons.begin() + index, std::move(icon));
}

// ---- TTimerThread ----

TTimerThread::TTimerThread(TTrayIcon& icon, bool suspended)
    : FIcon(icon), FSuspended(suspended), FThread([this] { Execute(); }) {}

TTimerThread::~TTimerThread() {
  {
    TLock lock(FLock);
    FTerminated = true;
    FWake.NotifyAll();
  }
  FThread.Join();
}

void TTimerThread::Suspend() {
  TLock lock(FLock);
  FSuspended = true;
}

void TTimerThread::Resume() {
  TLock lock(FLock);
  FSuspended = false;
  FWake.NotifyAll();
}

bool TTimerThread::Suspended() const {
  TLock lock(FLock);
  return FSuspended;
}

void TTimerThread::PublishSoon() {
  TLock lock(FLock);
  FPublishDue = true;
  FWake.NotifyAll();
}

void TTimerThread::Execute() {
  // The services were installed before the icon was made; the clock is read
  // once, here, and never changes for this thread.
  TWaitClock& clock = Services().Clock ? *Services().Clock : SteadyClock();
  TLock lock(FLock);
  for (;;) {
    FWake.Wait(lock, [this] { return FTerminated || !FSuspended; });
    if (FTerminated) return;
    if (FPublishDue) {
      FPublishDue = false;
      lock.Unlock();
      FIcon.Publish(TTrayIcon::TSender::Animation);
      lock.Lock();
      continue;
    }
    // Told to stop, the thread ends at once instead of sleeping out the
    // interval: the program does not wait 7.5 seconds to close.
    // An interval of 0 would spin; a millisecond is the shortest step.
    const unsigned interval = std::max<unsigned>(1, FIcon.Interval());
    clock.WaitFor(lock, FWake, interval, [this] { return FTerminated || FPublishDue; });
    if (FTerminated) return;
    // Hidden meanwhile, the position stays; asked to send, it sends first.
    if (FSuspended || FPublishDue) continue;
    lock.Unlock();
    FIcon.AnimationStep();
    lock.Lock();
  }
}

// ---- TTrayIcon ----

TTrayIcon::TTrayIcon(TComponent* owner) : TComponent(owner) {
  if (TNotifyArea* area = Services().NotifyArea) FTaskbarCreated = area->TaskbarCreatedMessage();
}

void TTrayIcon::EnsureWindow() {
  // Listens on the program's thread, whose message loop serves the window,
  // and only for an icon that shows: a hidden icon has nothing to receive,
  // and a start with the icons hidden asks for no window for them.
  TNotifyArea* area = Services().NotifyArea;
  if (FWindow || !area) return;
  const unsigned id = area->StartListening(
      [this](std::uint32_t message, TWParam wParam, TLParam lParam, TLResult& result) {
        return WndProc(message, wParam, lParam, result);
      });
  if (id == 0) return;
  const THandle window = area->ListeningWindow();
  TLock lock(FLock);
  FWindow = window;
  FId = id;
}

TTrayIcon::~TTrayIcon() {
  *FAlive = false;
  std::unique_ptr<TTimerThread> stopped;
  {
    TLock lock(FLock);
    stopped = StopAnimationLocked();
  }
  stopped.reset();
  // Only this thread is left. A sender further up its stack (the icon was
  // ended by a handler inside one of its requests) sends nothing more. An
  // icon that never showed has no window and nothing to delete.
  if (!FWindow) return;
  Notify(kNimDelete, Record());
  if (Services().NotifyArea) Services().NotifyArea->StopListening(FId);
}

bool TTrayIcon::Active() const {
  TLock lock(FLock);
  return FActive;
}

bool TTrayIcon::Shown() const {
  TLock lock(FLock);
  return FShown;
}

void TTrayIcon::LoadImagesWhenNeeded(std::function<void(TTrayIcon&)> loader) {
  FImageLoader = std::move(loader);
}

void TTrayIcon::LoadPendingImages() const {
  if (!FImageLoader) return;
  // Taken first: the loader sets the images through members that call here.
  const auto loader = std::exchange(FImageLoader, nullptr);
  loader(const_cast<TTrayIcon&>(*this));
}

void TTrayIcon::SetActive(bool active) {
  if (active) {
    LoadPendingImages();
    EnsureWindow();
  }
  {
    TLock lock(FLock);
    FActive = active;
    // Showing registers anew, even when shown: a registration left over
    // (after the taskbar came back, say) goes first. Hiding deletes it;
    // an icon without a window was never registered.
    FReRegister = active;
    FDeleteDue = !active && FWindow != 0;
    if (FThread) active ? FThread->Resume() : FThread->Suspend();
  }
  Publish(TSender::Program);
}

TIcon TTrayIcon::Icon() const {
  LoadPendingImages();
  TLock lock(FLock);
  return FIcon;
}

bool TTrayIcon::IconEmpty() const {
  LoadPendingImages();
  TLock lock(FLock);
  return FIcon.Empty();
}

void TTrayIcon::SetIcon(const TIcon& icon) { ReplaceIcon(TIcon(icon)); }

void TTrayIcon::LoadIcon(const std::string& path) {
  LoadPendingImages();
  TIcon loaded;
  loaded.LoadFromFile(path);
  ReplaceIcon(std::move(loaded));
}

void TTrayIcon::ReplaceIcon(TIcon icon) {
  // The image is made (copied or loaded) before the lock is taken, and the
  // old one is destroyed after it is let go.
  LoadPendingImages();
  {
    TLock lock(FLock);
    std::swap(FIcon, icon);
    ChangedLocked();
  }
  Publish(TSender::Program);
}

int TTrayIcon::IconCount() const {
  LoadPendingImages();
  TLock lock(FLock);
  return FIcons.Count();
}

void TTrayIcon::InsertIcon(int index, TIcon icon) {
  LoadPendingImages();
  {
    TLock lock(FLock);
    FIcons.Insert(index, std::move(icon));
    ChangedLocked();
  }
  Publish(TSender::Program);
}

void TTrayIcon::AddIcon(TIcon icon) { InsertIcon(IconCount(), std::move(icon)); }

void TTrayIcon::ClearIcons() {
  LoadPendingImages();
  std::unique_ptr<TTimerThread> stopped;
  {
    TLock lock(FLock);
    FIcons.Clear();
    if (FAnimated) stopped = StopAnimationLocked();
    ChangedLocked();
  }
  stopped.reset();
  Publish(TSender::Program);
}

bool TTrayIcon::Animated() const {
  LoadPendingImages();
  TLock lock(FLock);
  return FAnimated;
}

void TTrayIcon::SetAnimated(bool animated) {
  LoadPendingImages();
  std::unique_ptr<TTimerThread> stopped;
  {
    TLock lock(FLock);
    if (animated && FIcons.Count() > 0) {
      FAnimated = true;
      FPosition = 0;
      // A hidden icon's thread waits until the icon is shown.
      if (!FThread) FThread = std::make_unique<TTimerThread>(*this, !FActive);
    } else {
      stopped = StopAnimationLocked();
    }
    // The picture follows at once: the first image of the list, or the
    // base image when the animation ends.
    ChangedLocked();
  }
  stopped.reset();
  Publish(TSender::Program);
}

int TTrayIcon::AnimationPosition() const {
  LoadPendingImages();
  TLock lock(FLock);
  return FPosition;
}

std::string TTrayIcon::Hint() const {
  TLock lock(FLock);
  return FHint;
}

void TTrayIcon::SetHint(const std::string& hint) {
  {
    TLock lock(FLock);
    if (hint == FHint) return;
    FHint = hint;
    ChangedLocked();
  }
  Publish(TSender::Program);
}

THandle TTrayIcon::ImageShown() const {
  LoadPendingImages();
  TLock lock(FLock);
  return CurrentImage();
}

std::string TTrayIcon::Tip() const {
  TLock lock(FLock);
  return Record().Tip;
}

THandle TTrayIcon::CurrentImage() const {
  if (FAnimated && FIcons.Count() > 0) {
    const int at = FPosition < 0 || FPosition >= FIcons.Count() ? 0 : FPosition;
    return FIcons[at].Handle();
  }
  return FIcon.Handle();
}

TNotifyIconData TTrayIcon::Record() const {
  TNotifyIconData data;
  data.Window = FWindow;
  data.Id = FId;
  data.Flags = kNifMessage | kNifIcon | kNifTip;
  data.CallbackMessage = kCallbackMessage;
  data.Icon = CurrentImage();
  // A hint may carry a long part after "|"; the tooltip is the short one.
  data.Tip = FHint.substr(0, FHint.find('|'));
  if (data.Tip.size() > kNotifyTipChars) data.Tip.resize(kNotifyTipChars);
  return data;
}

void TTrayIcon::ChangedLocked() {
  ++FVersion;
  // Not shown although wanted: a refused registration is tried again.
  if (!FShown && FActive && !FAddDue) FReRegister = true;
}

std::unique_ptr<TTimerThread> TTrayIcon::StopAnimationLocked() {
  FAnimated = false;
  FPosition = 0;
  return std::move(FThread);
}

bool TTrayIcon::NextRequestLocked(TRequest& request, TSender sender) {
  const bool wanted = FActive && CurrentImage() != 0;
  if (FReRegister || FDeleteDue || (FShown && !wanted)) {
    request.Message = kNimDelete;
    FAddDue = FReRegister;
    FReRegister = false;
    FDeleteDue = false;
    FShown = false;
  } else if (FAddDue && wanted) {
    // FAddDue stays set until the answer comes: a change meanwhile needs no
    // new registration, only the modification that follows this one.
    request.Message = kNimAdd;
    FSentVersion = FVersion;
  } else if (FShown && FSentVersion != FVersion &&
             (sender == TSender::Animation ||
              static_cast<int>(FProgramVersion - FSentVersion) > 0)) {
    request.Message = kNimModify;
    FSentVersion = FVersion;
  } else {
    FAddDue = false;
    return false;
  }
  request.Data = Record();
  return true;
}

bool TTrayIcon::Notify(unsigned message, const TNotifyIconData& data) {
  TNotifyArea* area = Services().NotifyArea;
  return area && area->NotifyIcon(message, data);
}

void TTrayIcon::Publish(TSender sender) {
  const auto alive = FAlive;
  TLock lock(FLock);
  if (sender == TSender::Program) FProgramVersion = FVersion;
  if (FSender != TSender::None || (sender == TSender::Animation && FProgramWaiting > 0)) {
    if (sender == TSender::Animation || FSender == TSender::Program) return;
    // The program's change is in the notification area when its call
    // returns; the animation thread's request under way ends first.
    ++FProgramWaiting;
    FPublished.Wait(lock, [this] { return FSender == TSender::None; });
    --FProgramWaiting;
  }
  FSender = sender;
  TRequest request;
  while (NextRequestLocked(request, sender)) {
    lock.Unlock();
    const bool accepted = Notify(request.Message, request.Data);
    if (!*alive) {
      // A handler run inside the request ended the icon. Its deletion may
      // have reached the shell before this request did: one more, and
      // nothing of the icon is touched any more.
      if (request.Message != kNimDelete) Notify(kNimDelete, request.Data);
      return;
    }
    lock.Lock();
    if (request.Message == kNimAdd) {
      FAddDue = false;
      FShown = accepted;
    }
  }
  // A step made during the program's last request is the animation
  // thread's to send.
  if (sender == TSender::Program && FShown && FSentVersion != FVersion && FThread)
    FThread->PublishSoon();
  FSender = TSender::None;
  FPublished.NotifyAll();
}

void TTrayIcon::AnimationStep() {
  {
    TLock lock(FLock);
    // No thread means the animation is being stopped: this step is void.
    if (!FAnimated || !FThread || FIcons.Count() == 0) return;
    FPosition = FPosition + 1 >= FIcons.Count() ? 0 : FPosition + 1;
    ChangedLocked();
  }
  Publish(TSender::Animation);
}

bool TTrayIcon::WndProc(std::uint32_t message, TWParam wParam, TLParam lParam, TLResult& result) {
  // The other icons on the window hear this icon's messages too.
  if (message == kCallbackMessage && wParam == FId) {
    if (Enabled) MouseMessage(static_cast<std::uint32_t>(lParam));
    result = 0;
    return true;
  }
  if (FTaskbarCreated != 0 && message == FTaskbarCreated) {
    // The taskbar was made anew (the shell restarted) and knows no icon:
    // every icon that should show registers again.
    {
      TLock lock(FLock);
      if (FActive) FReRegister = true;
    }
    Publish(TSender::Program);
    result = 0;
    return true;
  }
  return false;
}

void TTrayIcon::FireMouse(const TMouseEvent& event, TMouseButton button, unsigned shift, int x,
                          int y) {
  if (event) Guarded([&] { event(this, button, shift, x, y); });
}

void TTrayIcon::MouseMessage(std::uint32_t mouseMessage) {
  // Each event may end the icon; nothing of it is touched afterwards.
  const auto alive = FAlive;
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
      FMenuShownForClick = true;
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
    case kNinKeySelect:
      // Enter on the icon is a left click on it.
      MouseMessage(kWmLButtonDown);
      if (*alive) MouseMessage(kWmLButtonUp);
      break;
    case kWmContextMenu:
      // The menu key is a right click on the icon, but a right click's own
      // request comes after its menu has closed.
      if (std::exchange(FMenuShownForClick, false)) break;
      MouseMessage(kWmRButtonDown);
      if (*alive) MouseMessage(kWmRButtonUp);
      if (*alive) FMenuShownForClick = false;
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

bool TTrayIcon::DoPopup(int x, int y) {
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
  const auto alive = FAlive;
  const THandle window = FWindow;
  PopupMenu->Popup(x, y, window);
  if (area && *alive) area->SetForegroundWindow(window);
  return true;
}

}  // namespace platform
