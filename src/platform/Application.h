// The application object: a hidden application window that carries the
// taskbar button and receives broadcasts, the list of forms, and the message
// loop.
#pragma once

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "platform/Forms.h"

namespace platform {

// The native side of the application object.
class TAppHost {
 public:
  virtual ~TAppHost() = default;
  // Creates the hidden application window; returns its handle.
  virtual THandle CreateAppWindow(const std::string& title) = 0;
  virtual void SetTitle(THandle appWindow, const std::string& title) = 0;
  // Shows or hides the taskbar button of the application window.
  virtual void ShowAppWindow(THandle appWindow, bool show) = 0;
  // Takes the application window out of the minimised state.
  virtual void RestoreAppWindow(THandle appWindow) = 0;
  virtual void MinimizeAppWindow(THandle appWindow) = 0;
  // Runs the message loop until `done` answers true after a message.
  virtual void RunLoop(const std::function<bool()>& done) = 0;
  // The same loop, which also asks `done` every `pollMs` milliseconds while
  // no message comes: for a wait on another thread.
  virtual void RunLoopPolling(const std::function<bool()>& done, unsigned pollMs) = 0;
  // Posts a quit request: it wakes the loop so that it checks `done`, and
  // ends any message box that is open at the time.
  virtual void PostQuit() = 0;
  virtual void DestroyAppWindow(THandle appWindow) = 0;
};

class TApplication : public TComponent {
 public:
  TApplication();
  ~TApplication() override;

  void Initialize() {}
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& title);
  bool ShowMainForm = true;

  // Creates a form owned by the application; the first one becomes the main
  // form. Its construction, with `args` after the owner, runs its creation
  // handler to the end.
  template <class T, class... Args>
  T* CreateForm(std::string name, Args&&... args) {
    return TComponent::Create<T>(this, std::move(name), std::forward<Args>(args)...);
  }
  // Called by a form owned by the application as its construction begins, so
  // that the main form is known while its creation handler runs.
  void FormConstructing(TForm* form) {
    if (!FMainForm) FMainForm = form;
  }

  // Shows the main form when ShowMainForm is set, then runs the message loop
  // until Terminate.
  void Run();
  // Asks the message loop to end.
  void Terminate();
  bool Terminated() const { return FTerminated; }
  // Run has entered the message loop: the start-up is over. The message
  // boxes of the start-up run loops of their own before that.
  bool Running() const { return FRunning; }
  void Minimize();
  void Restore();

  THandle Handle() const { return FHandle; }
  TForm* MainForm() const { return FMainForm; }
  THandle MainFormHandle() const { return FMainForm ? FMainForm->Handle() : 0; }

  // The standard error report: the exception's text in a message box.
  // Exceptions reach it through ReportException (platform/Guarded.h).
  void HandleException(const std::exception& e);
  // Keeps the taskbar button in step with the main form's visibility.
  void MainFormVisibilityChanged(bool visible);
  // The window that owns message boxes: a modal form while it shows, else
  // the main form while it shows.
  THandle DialogOwner() const;

  // The application object publishes nothing: a language path without a
  // form name writes nowhere.
  const TPropTable& PublishedProperties() const override;

 private:
  std::string FTitle;
  TForm* FMainForm = nullptr;
  bool FTerminated = false;
  bool FRunning = false;
  THandle FHandle = 0;
};

// The one application object of the process; set by the constructor.
extern TApplication* Application;

}  // namespace platform
