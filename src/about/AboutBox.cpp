#include "about/AboutBox.h"

#include "i18n/Lang.h"
#include "platform/Dialogs.h"
#include "platform/Download.h"
#include "platform/ProgramInfo.h"
#include "platform/Services.h"
#include "policies/RegistryRoutines.h"

using namespace platform;

namespace about {

TAboutBox* AboutBox = nullptr;

namespace {

template <class T>
T* Make(TComponent* owner, TWinControl* parent, const char* name, TRect r,
        const std::string& caption = {}) {
  T* control = TComponent::Create<T>(owner, name, parent);
  control->SetBounds(r.Left, r.Top, r.Width, r.Height);
  control->SetCaption(caption);
  return control;
}

std::string Picture(const char* name) {
  TProgramInfo* info = Services().ProgramInfo;
  return info ? info->ResourceData(name) : std::string();
}

}  // namespace

TAboutBox::TAboutBox(TComponent* owner, i18n::TLanguage* language, const std::string& updateURL)
    : TForm(owner), FLanguage(language) {
  SetCaption("About");
  Dialog = true;
  MaximizeBox = false;
  MinimizeBox = false;
  ScreenCenter = true;
  Color = clActiveBorder;
  SetClientSize(272, 245);
  SetBounds(0, 0, 278, 274);

  // The OK button lies over the lower panel, so it is made after it; Tab
  // visits it first all the same (TabOrder below).
  Panel2 = Make<TPanel>(this, this, "Panel2", {-1, 160, 273, 89});
  Bevel3 = Make<TBevel>(this, Panel2, "Bevel3", {8, 40, 257, 9});
  Button3 = Make<TButton>(this, Panel2, "Button3", {88, 8, 81, 25}, "Updates?");
  Button2 = Make<TButton>(this, Panel2, "Button2", {176, 8, 91, 25}, "Reset default");
  Button1 = Make<TButton>(this, Panel2, "Button1", {8, 8, 75, 25}, "Help");

  Panel1 = Make<TPanel>(this, this, "Panel1", {-2, 0, 274, 161});
  Panel1->BevelInner = TBevelCut::Raised;
  Panel1->BevelOuter = TBevelCut::Lowered;
  // A frame first: of two painted controls the later lies on top.
  Bevel2 = Make<TBevel>(this, Panel1, "Bevel2", {55, 8, 189, 25});
  ProductName = Make<TLabel>(this, Panel1, "ProductName", {60, 8, 181, 24}, "Morvel v 2.3");
  ProductName->AutoSize = false;
  ProductName->Transparent = true;
  ProductName->SetFont({clRed, -19, true, false});
  Bevel1 = Make<TBevel>(this, Panel1, "Bevel1", {8, 48, 89, 105});
  ProgramIcon = Make<TImage>(this, Panel1, "ProgramIcon", {8, 48, 89, 105});
  ProgramIcon->Stretch = true;
  ProgramIcon->SetJpeg(Picture(kProductPicture));
  LinkLabel1 = Make<TLinkLabel>(this, Panel1, "LinkLabel1", {126, 58, 114, 13}, "Morvel Web Site");
  LinkLabel1->HREF = kSiteURL;
  Image1 = Make<TImage>(this, Panel1, "Image1", {152, 104, 63, 31});
  Image1->Cursor = TCursor::HandPoint;
  Image1->SetJpeg(Picture(kDonatePicture));

  OKButton = Make<TButton>(this, this, "OKButton", {101, 215, 75, 25}, "OK");
  OKButton->Default = true;
  OKButton->TabOrder = 0;
  Panel1->TabOrder = 1;
  Panel2->TabOrder = 2;
  Button1->TabOrder = 0;
  Button2->TabOrder = 1;
  Button3->TabOrder = 2;

  mGetNewVer1 = TComponent::Create<TUpdateCheck>(this, "mGetNewVer1");
  mGetNewVer1->URLCurrVerFile = updateURL.empty() ? kVersionFileURL : updateURL;
  mGetNewVer1->SiteName = "Tandrel Software";
  mGetNewVer1->FailureDlg = true;
  mGetNewVer1->DownloadDlg = true;
  // A standard user may not write to the root of C: since Vista; the
  // temporary folder is the user's own.
  if (TDownloadService* download = Services().Download) {
    const std::string folder = download->TempFolder();
    if (!folder.empty()) mGetNewVer1->TempFile = folder + "curr_ver.tmp";
  }

  OKButton->OnClick = [this](TObject*) { Close(); };
  Button1->OnClick = [this](TObject* s) { Button1Click(s); };
  Button2->OnClick = [this](TObject* s) { Button2Click(s); };
  Button3->OnClick = [this](TObject* s) { Button3Click(s); };
  Image1->OnClick = [this](TObject* s) { Image1Click(s); };
  OnCreate = [this](TObject* s) { FormCreate(s); };
  AboutBox = this;
}

TAboutBox::~TAboutBox() {
  if (AboutBox == this) AboutBox = nullptr;
  DestroyComponents();
}

void TAboutBox::FormCreate(TObject*) {
  if (FLanguage) FLanguage->Translate();
}

void TAboutBox::Button1Click(TObject*) {
  const std::string dir = Services().Drives->ProgramDir();
  if (const unsigned error = Services().Drives->SetCurrentDirectory(dir))
    throw EInOutError("I/O error " + std::to_string(error));
  Services().Shell->Execute(0, "Open", dir + kHelpFile, "", "", kSwShowNormal);
  Close();
}

void TAboutBox::Button2Click(TObject*) {
  const std::string question =
      FLanguage ? FLanguage->TranslateText("Restore default?") : std::string("Restore default?");
  const int answer = Services().Dialogs->MessageBox(Handle(), question, "Default values",
                                                    kMbOkCancel | kMbIconQuestion);
  if (answer != kIdOk) return;
  if (OnResetDefaults) OnResetDefaults();
}

void TAboutBox::Button3Click(TObject*) { mGetNewVer1->CheckForNewVersion(); }

void TAboutBox::Image1Click(TObject*) { policies::OpenInBrowser(kDonationURL); }

}  // namespace about
