// A notification-area icon as a component: an image (or an animation over a
// list of images), a tooltip, mouse events and a pop-up menu.
//
// Threads: everything runs on the user-interface thread except the
// animation step, which runs on the icon's own TTimerThread. One lock per
// icon guards what both touch: the images, the animation position, the
// tooltip and what the notification area was told. No request to the
// notification area is made with that lock held: while the shell answers,
// the system hands this thread the messages sent to it, and the icon's
// handlers take the lock. One thread at a time sends the icon's requests
// and keeps sending until the notification area shows the icon as it is,
// so a change that arrives meanwhile is never lost or overtaken by an
// older one. Events are fired without the lock held, so a handler may
// change the icon.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Component.h"
#include "platform/Icon.h"
#include "platform/NotifyArea.h"
#include "platform/Threads.h"

namespace platform {

class TPopupMenu;

enum class TMouseButton { Left, Right, Middle };

// Which buttons were involved and whether it was a double click.
enum TShiftState : unsigned { ssLeft = 1, ssRight = 2, ssMiddle = 4, ssDouble = 8 };

using TMouseEvent = std::function<void(platform::TObject* sender, TMouseButton button,
                                       unsigned shift, int x, int y)>;
using TMouseMoveEvent =
    std::function<void(platform::TObject* sender, unsigned shift, int x, int y)>;

// A list of icon images; it owns the images it is given (an image passed
// by name is copied, a temporary one moves in).
class TIconList {
 public:
  int Count() const { return static_cast<int>(FIcons.size()); }
  const platform::TIcon& operator[](int index) const { return FIcons.at(index); }
  void Add(platform::TIcon icon) { FIcons.push_back(std::move(icon)); }
  void Insert(int index, platform::TIcon icon);
  void Clear() { FIcons.clear(); }

 private:
  std::vector<platform::TIcon> FIcons;
};

class TTrayIcon;

// Steps one icon's animation: waits the icon's interval, then advances it,
// until told to stop. Suspended while the icon is hidden; the position is
// kept, so the animation resumes where it stopped.
class TTimerThread {
 public:
  TTimerThread(TTrayIcon& icon, bool suspended);
  // Tells the thread to stop and waits for it.
  ~TTimerThread();
  TTimerThread(const TTimerThread&) = delete;
  TTimerThread& operator=(const TTimerThread&) = delete;

  void Suspend();
  void Resume();
  bool Suspended() const;
  // Has the thread send the icon's pending change without waiting for the
  // interval, which then starts again.
  void PublishSoon();

 private:
  void Execute();

  TTrayIcon& FIcon;
  mutable platform::TCriticalSection FLock;
  platform::TCondition FWake;
  bool FSuspended;
  bool FTerminated = false;
  bool FPublishDue = false;
  platform::TThread FThread;  // last: it starts once the state above exists
};

class TTrayIcon : public platform::TComponent {
 public:
  // The message the notification area sends the icon's window.
  static constexpr std::uint32_t kCallbackMessage = 0xB054;

  explicit TTrayIcon(platform::TComponent* owner);
  ~TTrayIcon() override;

  // Present in the notification area.
  bool Active() const;
  void SetActive(bool active);
  // Whether the notification area accepted the icon.
  bool Shown() const;

  // Makes the images when they are first needed, with `loader` (which
  // replaces one not run yet): at the icon's first show, or when its images
  // or animation are first read or changed. An icon that stays hidden and
  // untouched loads none, and of icons shown in turn each shows as soon as
  // its own images are there. Only the program's thread uses it.
  void LoadImagesWhenNeeded(std::function<void(TTrayIcon&)> loader);

  // The base image, shown while the icon does not animate.
  platform::TIcon Icon() const;  // a copy
  bool IconEmpty() const;
  void SetIcon(const platform::TIcon& icon);
  void LoadIcon(const std::string& path);

  // The animation list; each change of it counts as a change of the icon.
  int IconCount() const;
  void InsertIcon(int index, platform::TIcon icon);
  void AddIcon(platform::TIcon icon);
  void ClearIcons();

  bool Animated() const;
  // True takes effect only while the list holds an image; the position
  // starts again at 0 either way.
  void SetAnimated(bool animated);
  std::uint16_t Interval() const { return FInterval.load(); }
  void SetInterval(std::uint16_t ms) { FInterval = ms; }
  int AnimationPosition() const;

  std::string Hint() const;
  void SetHint(const std::string& hint);

  // Mouse messages are handled only while enabled.
  bool Enabled = true;
  platform::TPopupMenu* PopupMenu = nullptr;

  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseEvent OnClick;
  TMouseMoveEvent OnMouseMove;
  platform::TNotifyEvent OnDblClick;

  // The hidden window that receives the icon's messages, shared with the
  // program's other icons; 0 until the icon is first made active.
  platform::THandle Handle() const { return FWindow; }
  // The number that tells this icon apart on that window: the record's Id,
  // and the first parameter of its callback message.
  unsigned Id() const { return FId; }
  // The handle of the image the notification area is given now.
  platform::THandle ImageShown() const;
  // The tooltip as the record carries it.
  std::string Tip() const;

  // One message to the icon's window; true when handled.
  bool WndProc(std::uint32_t message, platform::TWParam wParam, platform::TLParam lParam,
               platform::TLResult& result);

 private:
  friend class TTimerThread;
  using TLock = platform::TLock;

  // Who sends the icon's requests now: the program (the user-interface
  // thread) or the animation thread.
  enum class TSender { None, Program, Animation };

  struct TRequest {
    unsigned Message = 0;
    platform::TNotifyIconData Data;
  };

  // All of these run with FLock held.
  platform::THandle CurrentImage() const;
  platform::TNotifyIconData Record() const;
  // A change of image or tooltip.
  void ChangedLocked();
  // Ends the animation; hands back its thread, to be stopped without the
  // lock (the thread may be waiting for it).
  std::unique_ptr<TTimerThread> StopAnimationLocked();
  // The next request that brings the notification area up to date with
  // the icon; false when it is. The program's sender sends the animation's
  // steps only up to the newest change the program made.
  bool NextRequestLocked(TRequest& request, TSender sender);

  // Sends the requests the icon's changes call for, without the lock. When
  // another sender is at work the program waits for it and the animation
  // thread leaves its change to it; a handler run inside one of the
  // program's own requests leaves its change to the request's sender.
  // The program's call ends once its own changes are out: a step made
  // meanwhile goes back to the animation thread, so a shell slower than the
  // animation cannot keep the program sending for ever.
  void Publish(TSender sender);
  static bool Notify(unsigned message, const platform::TNotifyIconData& data);

  void ReplaceIcon(platform::TIcon icon);
  // Runs the pending loader, once. Const, as the images read afterwards are
  // those the icon would have had all along.
  void LoadPendingImages() const;
  // Makes the icon's window once, on the program's thread.
  void EnsureWindow();

  // Runs on the animation thread.
  void AnimationStep();

  void MouseMessage(std::uint32_t mouseMessage);
  bool DoPopup(int x, int y);
  void FireMouse(const TMouseEvent& event, TMouseButton button, unsigned shift, int x, int y);

  mutable platform::TCriticalSection FLock;
  platform::TCondition FPublished;  // a sender finished
  platform::THandle FWindow = 0;    // set once, under the lock, by the program's thread
  unsigned FId = 0;                 // set with FWindow
  std::uint32_t FTaskbarCreated = 0;
  bool FActive = false;
  bool FAnimated = false;
  int FPosition = 0;
  platform::TIcon FIcon;
  mutable std::function<void(TTrayIcon&)> FImageLoader;  // the program's thread only
  TIconList FIcons;
  std::string FHint;
  std::atomic<std::uint16_t> FInterval{150};
  std::unique_ptr<TTimerThread> FThread;
  // What the notification area was told. FVersion counts the changes of
  // the record; FSentVersion is the one last sent.
  TSender FSender = TSender::None;
  bool FShown = false;
  bool FReRegister = false;  // delete, then add when there is an image
  bool FAddDue = false;
  bool FDeleteDue = false;
  unsigned FVersion = 0;
  unsigned FSentVersion = 0;
  // The newest version the program made, which its sender owes the shell.
  unsigned FProgramVersion = 0;
  // The program waits for the animation thread's request under way; the
  // thread then starts no other, or it could keep the program waiting.
  int FProgramWaiting = 0;
  // Cleared when the icon goes: a menu command or a handler may destroy
  // the icon while its message, or its own request, is still under way.
  std::shared_ptr<std::atomic<bool>> FAlive = std::make_shared<std::atomic<bool>>(true);
  // Which buttons went down on the icon; user-interface thread only.
  bool FLeftDown = false;
  bool FRightDown = false;
  // A right click's own menu request follows its release: the menu is open already.
  bool FMenuShownForClick = false;
};

}  // namespace platform
