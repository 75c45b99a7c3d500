#include "platform/Forms.h"

#include "platform/Application.h"
#include "platform/Guarded.h"
#include "platform/Services.h"

namespace platform {

TForm::TForm(TComponent* owner) : TWinControl(owner, nullptr) {
  SetVisible(false);
  if (Application && owner == Application) Application->FormConstructing(this);
}

std::unique_ptr<TPeer> TForm::CreatePeer(TPeerFactory& f) { return f.Create(*this); }

void TForm::DoCreate() {
  if (FCreated) return;
  FCreated = true;
  // The native window exists before the creation handler runs, so that the
  // handler can show dialogs owned by it and start timers. Creating it goes
  // through the same error report as the handler: a window the system
  // refuses must not end the program from inside a constructor.
  DoEvent([this](TObject*) { CreateHandle(); }, this);
  DoEvent(OnCreate, this);
}

namespace {
void TellApplication(const TForm* form, bool visible) {
  if (Application && Application->MainForm() == form)
    Application->MainFormVisibilityChanged(visible);
}
}  // namespace

void TForm::Show() {
  CreateHandle();
  SetVisible(true);
  TellApplication(this, true);
}

void TForm::Hide() {
  SetVisible(false);
  TellApplication(this, false);
}

void TForm::BringToFront() {
  Show();
  Changed(TChange::Visible);  // the peer raises a shown window to the front
}

void TForm::SetWindowState(TWindowState state) {
  FWindowState = state;
  Changed(TChange::Visible);
}

bool TForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery && !Guarded([&] { OnCloseQuery(this, canClose); })) canClose = false;
  return canClose;
}

void TForm::Close() {
  if (!CloseQuery()) return;
  if (FModal) {
    FModalDone = true;
    Hide();
  } else if (Application && Application->MainForm() == this) {
    Application->Terminate();
  } else {
    Hide();
  }
}

void TForm::ShowModal() {
  FModal = true;
  FModalDone = false;
  Show();
  if (TAppHost* host = Services().AppHost)
    host->RunLoop([this] { return FModalDone || (Application && Application->Terminated()); });
  FModal = false;
  Hide();
}

bool TForm::CanResize(int& width, int& height) {
  bool resize = true;
  if (OnCanResize) Guarded([&] { OnCanResize(this, width, height, resize); });
  return resize;
}

}  // namespace platform
