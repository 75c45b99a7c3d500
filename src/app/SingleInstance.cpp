#include "app/SingleInstance.h"

#include <utility>

#include "app/CommandLine.h"
#include "app/CommandRun.h"
#include "app/Main.h"
#include "platform/Application.h"
#include "platform/Services.h"

using platform::Application;
using platform::Services;

namespace app {

namespace {

// A handle on the named mutex; closing it is the guard's last act.
class TMutexHandle {
 public:
  TMutexHandle() = default;
  explicit TMutexHandle(platform::THandle handle) : FHandle(handle) {}
  ~TMutexHandle() { Reset(); }
  TMutexHandle(const TMutexHandle&) = delete;
  TMutexHandle& operator=(const TMutexHandle&) = delete;
  TMutexHandle& operator=(TMutexHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      FHandle = other.FHandle;
      other.FHandle = 0;
    }
    return *this;
  }
  explicit operator bool() const { return FHandle != 0; }
  void Reset() {
    if (FHandle) Services().Instance->CloseHandle(FHandle);
    FHandle = 0;
  }

 private:
  platform::THandle FHandle = 0;
};

// Runs its action when it goes, also when an exception passes.
template <class F>
class TOnExit {
 public:
  explicit TOnExit(F action) : FAction(std::move(action)) {}
  ~TOnExit() { FAction(); }
  TOnExit(const TOnExit&) = delete;
  TOnExit& operator=(const TOnExit&) = delete;

 private:
  F FAction;
};

// One of each per process, as the window procedure hook needs them.
std::uint32_t FMessageId = 0;
std::uintptr_t FPrevWndProc = 0;
TMutexHandle FMutex;
// A start with a command: what it sends, and the running copy's reply.
std::string FCommand;
int FForwardResult = kExitFailed;

}  // namespace

std::uint32_t TSingleInstance::InstanceMessage() { return FMessageId; }
int TSingleInstance::ForwardResult() { return FForwardResult; }

TSingleInstance::TSingleInstance() : TSingleInstance(std::string()) {}

TSingleInstance::TSingleInstance(std::string command) {
  FCommand = std::move(command);
  FForwardResult = kExitFailed;
  platform::TInstanceChannel& channel = *Services().Instance;
  FMessageId = channel.RegisterMessage(kInstanceId);
  FPrevWndProc = channel.ReplaceWindowProc(Application->Handle(), &NewWndProc);
  FMutex = TMutexHandle(channel.OpenMutex(platform::kMutexAllAccess, false, kInstanceId));
  if (FMutex) {
    // Another copy runs: ask it for its main window. The answer arrives as a
    // posted message and ends this copy (see NewWndProc).
    FSecondCopy = true;
    Application->ShowMainForm = false;
    channel.Broadcast(platform::kBsfIgnoreCurrentTask | platform::kBsfPostMessage,
                      platform::kBsmApplications, FMessageId,
                      FCommand.empty() ? kQuery : kCommandQuery,
                      static_cast<platform::TLParam>(Application->Handle()));
  } else {
    FMutex = TMutexHandle(channel.CreateMutex(kInstanceId));
  }
}

TSingleInstance::~TSingleInstance() {
  if (FPrevWndProc != 0) {
    Services().Instance->RestoreWindowProc(Application->Handle(), FPrevWndProc);
    FPrevWndProc = 0;
  }
  FMutex.Reset();
}

platform::TLResult TSingleInstance::NewWndProc(platform::THandle window, std::uint32_t message,
                                               platform::TWParam wParam, platform::TLParam lParam) {
  platform::TInstanceChannel& channel = *Services().Instance;
  if (message == platform::kWmCopyData && FMessageId != 0) {
    // A command another start sent; anything else goes the usual way.
    std::uint32_t tag = 0;
    std::string data;
    if (channel.ReadCopyData(lParam, 2, tag, data) && tag == kCommandTag)
      return CarryOutForwarded(data);
  }
  if (message != FMessageId || FMessageId == 0)
    return channel.CallWindowProc(FPrevWndProc, window, message, wParam, lParam);
  if (wParam == kCommandQuery) {
    channel.PostMessage(static_cast<platform::THandle>(lParam), FMessageId, kAnswer,
                        static_cast<platform::TLParam>(Application->MainFormHandle()));
  } else if (wParam == kQuery) {
    // The asking copy ends only on the answer: it goes whatever happens
    // below, an error in coming forward included (the error is reported
    // after it).
    const TOnExit answer([&channel, lParam] {
      channel.PostMessage(static_cast<platform::THandle>(lParam), FMessageId, kAnswer,
                          static_cast<platform::TLParam>(Application->MainFormHandle()));
    });
    if (channel.IsIconic(Application->Handle())) {
      if (platform::TForm* main = Application->MainForm())
        main->SetWindowState(platform::TWindowState::Normal);
      Application->Restore();
    }
    // A copy that shows neither its window nor a tray icon could otherwise
    // never be reached again: it shows its window. One in the notification
    // area stays there. Only once its start-up is over: a query answered from
    // a start-up message box would show a window not yet translated, or one
    // about to end ("Only seven").
    auto* main = dynamic_cast<TForm1*>(Application->MainForm());
    if (main && Application->Running() && !Application->Terminated() && !main->ShowsAnything())
      main->Restore1Click(main);
  } else if (wParam == kAnswer) {
    if (FCommand.empty())
      channel.SetForegroundWindow(static_cast<platform::THandle>(lParam));
    else
      FForwardResult = SendCommand(static_cast<platform::THandle>(lParam), FCommand);
    Application->Terminate();
  }
  return 0;
}

}  // namespace app
