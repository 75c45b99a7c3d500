#include "platform/Application.h"

#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "platform/StartupTrace.h"

namespace platform {

TApplication* Application = nullptr;

TApplication::TApplication() : TComponent(nullptr) {
  Application = this;
  if (TAppHost* host = Services().AppHost) FHandle = host->CreateAppWindow(FTitle);
}

TApplication::~TApplication() {
  // Forms and their windows go before the application window that owns them.
  FMainForm = nullptr;
  DestroyComponents();
  if (TAppHost* host = Services().AppHost; host && FHandle) host->DestroyAppWindow(FHandle);
  if (Application == this) Application = nullptr;
}

void TApplication::SetTitle(const std::string& title) {
  FTitle = title;
  if (TAppHost* host = Services().AppHost; host && FHandle) host->SetTitle(FHandle, title);
}

void TApplication::Run() {
  if (FTerminated) return;
  FRunning = true;
  if (ShowMainForm && FMainForm) FMainForm->Show();
  STARTUP_MARK("message loop");
  if (TAppHost* host = Services().AppHost) host->RunLoop([this] { return FTerminated; });
}

void TApplication::Terminate() {
  FTerminated = true;
  // Like a quit request, this also ends a message box that is open now.
  if (TAppHost* host = Services().AppHost) host->PostQuit();
}

void TApplication::Minimize() {
  if (TAppHost* host = Services().AppHost; host && FHandle) host->MinimizeAppWindow(FHandle);
  if (FMainForm) FMainForm->UserMinimized(true);
}

void TApplication::Restore() {
  if (TAppHost* host = Services().AppHost; host && FHandle) host->RestoreAppWindow(FHandle);
  if (FMainForm) FMainForm->UserMinimized(false);
}

void TApplication::HandleException(const std::exception& e) {
  if (TDialogService* dialogs = Services().Dialogs)
    dialogs->MessageBox(DialogOwner(), e.what(), FTitle, kMbOk | kMbIconStop);
}

void TApplication::MainFormVisibilityChanged(bool visible) {
  if (TAppHost* host = Services().AppHost; host && FHandle) host->ShowAppWindow(FHandle, visible);
}

THandle TApplication::DialogOwner() const {
  // A box owned by a window that a modal form has disabled would give that
  // window its input back when it closes, under the modal form.
  for (const auto& owned : Components())
    if (const auto* form = dynamic_cast<const TForm*>(owned.get());
        form && form->Modal() && form->Visible())
      return form->Handle();
  if (FMainForm && FMainForm->Visible() && FMainForm->Handle()) return FMainForm->Handle();
  return FHandle;
}

const TPropTable& TApplication::PublishedProperties() const {
  static const TPropTable table{nullptr, {}};
  return table;
}

void ShowMessage(const std::string& text) {
  if (TDialogService* dialogs = Services().Dialogs)
    dialogs->MessageBox(Application ? Application->DialogOwner() : 0, text,
                        Application ? Application->Title() : std::string(), kMbOk);
}

TServices& Services() {
  static TServices services;
  return services;
}

}  // namespace platform
