// The main window as designed: the form's frame, every control with its
// place, caption and hint, the tray menu, and which handler each event
// runs. The handlers themselves are in Main.cpp; the option pages make and
// handle their own controls (policies/AutoRunPage, DrivesPage, XpPage).
#include "app/Main.h"
#include "i18n/LangSelect.h"
#include "platform/Layout.h"

using namespace platform;

namespace app {

TForm1::TForm1(TComponent* owner) : TForm(owner) {
  SetCaption("Morvel v 2.3");
  SetBounds(318, 254, 491, 227);
  BuildControls();
  BuildMenu();
  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnCloseQuery = [this](TObject* s, bool& canClose) { FormCloseQuery(s, canClose); };
  OnCanResize = [this](TObject* s, int& w, int& h, bool& resize) {
    FormCanResize(s, w, h, resize);
  };
  // FormCreate runs once the application owns the form under its name, so
  // that the language paths "Form1. ..." reach it.
}

void TForm1::BuildControls() {
  // Creation order is also the tab order and, for overlapping controls, the
  // order in which they are stacked.
  Panel2 = Make<TPanel>(this, this, "Panel2", {8, 16, 113, 20}, "Selected CD Drive");
  ComboBox2 =
      Make<TComboBox>(this, this, "ComboBox2", {24, 48, 73, 21}, {}, "Current selected drive");
  ComboBox2->SetText("drev");
  ComboBox2->OnChange = [this](TObject* s) { ComboBox2Change(s); };
  BitBtn2 = Make<TBitBtn>(this, this, "BitBtn2", {8, 79, 113, 25}, "Open", "Open selected drive");
  BitBtn2->OnClick = [this](TObject* s) { BitBtn2Click(s); };
  BitBtn3 =
      Make<TBitBtn>(this, this, "BitBtn3", {8, 111, 113, 24}, "Close", "Close selected drive");
  BitBtn3->OnClick = [this](TObject* s) { BitBtn3Click(s); };
  BitBtn4 = Make<TBitBtn>(this, this, "BitBtn4", {8, 143, 113, 25}, "Run", "Run selected drive");
  BitBtn4->OnClick = [this](TObject* s) { BitBtn4Click(s); };

  PageControl1 = Make<TPageControl>(this, this, "PageControl1", {129, 1, 240, 172});
  AutoRunPage = std::make_unique<policies::TAutoRunPage>(Policies, PageControl1);
  AutoRunPage->CheckBox3->OnClick = [this](TObject* s) { CheckBox3Click(s); };
  AutoRunPage->CheckBox5->OnClick = [this](TObject* s) { CheckBox5Click(s); };
  DrivesPage = std::make_unique<policies::TDrivesPage>(Policies, PageControl1);
  XpPage = std::make_unique<policies::TXpPage>(Policies, PageControl1);
  KeysPage = std::make_unique<TKeysPage>(this, PageControl1);

  BitBtn1 = Make<TBitBtn>(this, this, "BitBtn1", {382, 23, 89, 25}, "BitBtn1", "About the program");
  BitBtn1->OnClick = [this](TObject* s) { BitBtn1Click(s); };
  // The frame first: of two painted controls the later one lies on top, and
  // the picture must sit over its frame.
  Shape1 = Make<TShape>(this, this, "Shape1", {398, 65, 71, 63});
  Image1 = Make<TImage>(this, this, "Image1", {397, 63, 73, 65});
  ComboBox1 = Make<TComboBox>(this, this, "ComboBox1", {382, 149, 89, 21}, {}, "Select Language");
  ComboBox1->Items().Assign({"Dansk", "Deutsch", "English", "Francais", "User"});
  ComboBox1->SetText("sprog");
  ComboBox1->OnChange = [this](TObject* s) { ComboBox1Change(s); };
  StatusBar1 = Make<TStatusBar>(this, this, "StatusBar1", {0, 174, 483, 19});

  cbDrives = Make<TComboBox>(this, this, "cbDrives", {8, 0, 121, 21});
  cbDrives->SetText("cbDrives");
  cbDrives->SetVisible(false);
  Drev = Make<TComboBox>(this, this, "Drev", {8, 32, 65, 21});
  Drev->SetText("Drev");
  Drev->SetVisible(false);

  Sprog = TComponent::Create<i18n::TLanguage>(this, "Sprog");
  Sprog->SetSeparator(i18n::kLanguageSeparator);
  Sprog->Properties().Assign(i18n::LanguagePaths());
  Policies.Language = Sprog;
  Timer1 = TComponent::Create<TTimer>(this, "Timer1");
  Timer1->SetOnTimer([this](TObject* s) { Timer1Timer(s); });
  MCDBurner1 = TComponent::Create<drives::TOpticalDrive>(this, "MCDBurner1");
}

void TForm1::BuildMenu() {
  PopupMenu1 = TComponent::Create<TPopupMenu>(this, "PopupMenu1");
  Restore1 = PopupMenu1->Add("Restore1", "Gendan", [this](TObject* s) { Restore1Click(s); });
  PopupMenu1->AddSeparator("N1");
  Open1 = PopupMenu1->Add("Open1",
                          "\xC5"
                          "ben",
                          [this](TObject* s) { BitBtn2Click(s); });
  Close1 = PopupMenu1->Add("Close1", "Luk", [this](TObject* s) { BitBtn3Click(s); });
  PopupMenu1->AddSeparator("N3");
  Run1 = PopupMenu1->Add("Run1", "K\xF8r", [this](TObject* s) { BitBtn4Click(s); });
  Explore1 = PopupMenu1->Add("Explore1", "Explore", [this](TObject* s) { Explore1Click(s); });
  PopupMenu1->AddSeparator("N2");
  Exit1 = PopupMenu1->Add("Exit1", "Exit", [this](TObject* s) { Exit1Click(s); });
  Restore1->Picture = "restore.ico";
  Open1->Picture = "open.ico";
  Close1->Picture = "close.ico";
  Run1->Picture = "run.ico";
  Explore1->Picture = "explore.ico";
  Exit1->Picture = "exit.ico";
}

}  // namespace app
