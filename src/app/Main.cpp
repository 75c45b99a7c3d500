#include "app/Main.h"

#include <algorithm>

#include "about/OmU.h"
#include "app/Settings.h"
#include "drives/CDFunc.h"
#include "drives/DriveIcons.h"
#include "drives/RunDisc.h"
#include "i18n/LangSelect.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "platform/TextFields.h"
#include "policies/OSVersion.h"
#include "policies/RegisterU.h"

using namespace platform;

namespace app {

namespace {

template <class T>
T* Make(TComponent* owner, TWinControl* parent, const char* name, TRect r,
        const std::string& caption = {}, const std::string& hint = {}) {
  T* control = TComponent::Create<T>(owner, name, parent);
  control->SetBounds(r.Left, r.Top, r.Width, r.Height);
  control->SetCaption(caption);
  control->SetHint(hint);
  return control;
}

const char* const kDriveTypes[] = {"Uknown",           "No Root Directory", "Removable Drives",
                                   "Hard Disk Drives", "Network Drives",    "CD-ROM Drives",
                                   "RAM Disk Drives"};

void FillLetters(TCheckListBox* list) {
  std::vector<std::string> letters;
  for (char c = 'A'; c <= 'Z'; ++c) letters.emplace_back(1, c);
  list->Items().Assign(letters);
}

void FillDriveTypes(TCheckListBox* list) {
  list->Items().Assign(std::vector<std::string>(std::begin(kDriveTypes), std::end(kDriveTypes)));
}

}  // namespace

TForm1::TForm1(TComponent* owner) : TForm(owner) {
  SetCaption("Morvel v 2.3");
  SetBounds(318, 254, 491, 227);
  IconFile = "";  // the program icon comes from the executable's resources
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
  TabSheet1 = Make<TTabSheet>(this, PageControl1, "TabSheet1", {}, "Options");
  Panel1 = Make<TPanel>(this, TabSheet1, "Panel1", {0, 1, 233, 142});
  CheckBox1 = Make<TMyCheckBox>(this, Panel1, "CheckBox1", {8, 5, 201, 17}, "Start Morvel");
  CheckBox1->OnClick = [this](TObject* s) { CheckBox1Click(s); };
  CheckBox2 = Make<TMyCheckBox>(this, Panel1, "CheckBox2", {8, 24, 201, 17}, "Lyd auto");
  CheckBox2->OnClick = [this](TObject* s) { CheckBox2Click(s); };
  Bevel1 = Make<TBevel>(this, Panel1, "Bevel1", {6, 46, 222, 54});
  BitBtn5 =
      Make<TBitBtn>(this, Panel1, "BitBtn5", {12, 62, 89, 25}, "BitBtn5", "Autorun function on");
  BitBtn5->OnClick = [this](TObject* s) { BitBtn5Click(s); };
  BitBtn6 =
      Make<TBitBtn>(this, Panel1, "BitBtn6", {130, 62, 91, 25}, "BitBtn6", "Autorun function off");
  BitBtn6->OnClick = [this](TObject* s) { BitBtn6Click(s); };
  CheckBox3 = Make<TMyCheckBox>(this, Panel1, "CheckBox3", {8, 104, 177, 17}, "Taskbar");
  CheckBox3->OnClick = [this](TObject* s) { CheckBox3Click(s); };
  CheckBox5 = Make<TMyCheckBox>(this, Panel1, "CheckBox5", {8, 121, 201, 17}, "Ikon");

  TabSheet2 = Make<TTabSheet>(this, PageControl1, "TabSheet2", {}, "Extras");
  Bevel4 = Make<TBevel>(this, TabSheet2, "Bevel4", {1, 3, 224, 41});
  Label3 = Make<TLabel>(this, TabSheet2, "Label3", {8, 6, 114, 13}, "Default CD Audio Player");
  DefPlay =
      Make<TEdit>(this, TabSheet2, "DefPlay", {8, 20, 209, 21}, {}, "Default Audio CD Player");
  DefPlay->SetText("DefPlay");
  DefPlay->OnExit = [this](TObject* s) { DefPlayExit(s); };
  CheckBox4 =
      Make<TMyCheckBox>(this, TabSheet2, "CheckBox4", {5, 48, 212, 17}, "CD-R/DVD-R Auto Start");
  CheckBox4->OnClick = [this](TObject* s) { CheckBox4Click(s); };
  Bevel3 = Make<TBevel>(this, TabSheet2, "Bevel3", {2, 69, 66, 74});
  Label2 = Make<TLabel>(this, TabSheet2, "Label2", {10, 70, 42, 13}, "Autostart");
  Label2->Centered = true;
  Label4 = Make<TLabel>(this, TabSheet2, "Label4", {16, 82, 30, 13}, "Drives");
  CheckListBox1 = Make<TCheckListBox>(this, TabSheet2, "CheckListBox1", {8, 98, 49, 16}, {},
                                      "Auto Start Specific Drive (user)");
  FillLetters(CheckListBox1);
  CheckListBox1->OnClickCheck = [this](TObject* s) { CheckListBox1ClickCheck(s); };
  CheckListBox2 = Make<TCheckListBox>(this, TabSheet2, "CheckListBox2", {8, 119, 49, 16}, {},
                                      "Auto Start Specific Drive (system)");
  FillLetters(CheckListBox2);
  CheckListBox2->OnClickCheck = [this](TObject* s) { CheckListBox2ClickCheck(s); };
  Bevel2 = Make<TBevel>(this, TabSheet2, "Bevel2", {72, 69, 153, 74});
  Label1 = Make<TLabel>(this, TabSheet2, "Label1", {111, 75, 57, 13}, "Drive Types");
  Label1->Centered = true;
  CheckListBox3 = Make<TCheckListBox>(this, TabSheet2, "CheckListBox3", {80, 92, 137, 16}, {},
                                      "Auto Start Drive Type (user)");
  FillDriveTypes(CheckListBox3);
  CheckListBox3->OnClickCheck = [this](TObject* s) { CheckListBox3ClickCheck(s); };
  CheckListBox4 = Make<TCheckListBox>(this, TabSheet2, "CheckListBox4", {80, 122, 137, 16}, {},
                                      "Auto Start Drive Type (system)");
  FillDriveTypes(CheckListBox4);
  CheckListBox4->OnClickCheck = [this](TObject* s) { CheckListBox4ClickCheck(s); };

  TabSheet3 = Make<TTabSheet>(this, PageControl1, "TabSheet3", {}, "XP");
  Bevel5 = Make<TBevel>(this, TabSheet3, "Bevel5", {2, 17, 223, 104});
  CheckBox7 =
      Make<TMyCheckBox>(this, TabSheet3, "CheckBox7", {8, 32, 217, 17}, "Access to CD-ROM drives");
  CheckBox7->OnClick = [this](TObject* s) { CheckBox7Click(s); };
  CheckBox8 =
      Make<TMyCheckBox>(this, TabSheet3, "CheckBox8", {8, 64, 217, 17}, "Enable cd burning");
  CheckBox8->OnClick = [this](TObject* s) { CheckBox8Click(s); };
  CheckBox6 = Make<TCheckBox>(this, TabSheet3, "CheckBox6", {8, 96, 217, 17},
                              "Install from Removable Media");
  // A plain check box: its handler runs on every change, also from code.
  CheckBox6->OnClick = [this](TObject* s) { CheckBox6Click(s); };

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
  Timer1 = TComponent::Create<TTimer>(this, "Timer1");
  MCDBurner1 = TComponent::Create<drives::TMCDBurner>(this, "MCDBurner1");
}

void TForm1::BuildMenu() {
  PopupMenu1 = TComponent::Create<TPopupMenu>(this, "PopupMenu1");
  Restore1 = PopupMenu1->Add("Restore1", "Gendan", [this](TObject* s) { Restore1Click(s); });
  PopupMenu1->Add("N1", "-");
  Open1 = PopupMenu1->Add("Open1",
                          "\xC5"
                          "ben",
                          [this](TObject* s) { BitBtn2Click(s); });
  Close1 = PopupMenu1->Add("Close1", "Luk", [this](TObject* s) { BitBtn3Click(s); });
  PopupMenu1->Add("N3", "-");
  Run1 = PopupMenu1->Add("Run1", "K\xF8r", [this](TObject* s) { BitBtn4Click(s); });
  Explore1 = PopupMenu1->Add("Explore1", "Explore", [this](TObject* s) { Explore1Click(s); });
  PopupMenu1->Add("N2", "-");
  Exit1 = PopupMenu1->Add("Exit1", "Exit", [this](TObject* s) { Exit1Click(s); });
  Restore1->Picture = "restore.ico";
  Open1->Picture = "open.ico";
  Close1->Picture = "close.ico";
  Run1->Picture = "run.ico";
  Explore1->Picture = "explore.ico";
  Exit1->Picture = "exit.ico";
}

int TForm1::DriveIconCount() const {
  int n = 0;
  while (n < kMaxDrives && DriveTrayIcons[n + 1]) ++n;
  return n;
}

void TForm1::CreateDriveTrayIcons() {
  const TStrings& drives = ComboBox2->Items();
  for (int k = std::min(drives.Count(), kMaxDrives); k >= 1; --k) {
    const char letter = drives[k - 1].empty() ? '\0' : drives[k - 1][0];
    DriveIconImages[k] = std::make_unique<TIcon>();
    drives::TRxTrayIcon* icon = TComponent::Create<drives::TRxTrayIcon>(this, "");
    DriveTrayIcons[k] = icon;
    icon->PopupMenu = PopupMenu1;
    icon->SetActive(false);
    const std::string entry = k - 1 < Drev->Items().Count() ? Drev->Items()[k - 1] : std::string();
    drives::LoadDriveImages(*icon, letter, entry);
    icon->OnMouseDown = [this](TObject* s, drives::TMouseButton b, unsigned shift, int x, int y) {
      OnDriveIconMouseDown(s, b, shift, x, y);
    };
    icon->OnDblClick = [this](TObject* s) { OnDriveIconDblClick(s); };
    icon->SetHint(platform::GetNthField(',', entry, 2));
    icon->SetTag(k);
    icon->SetAnimated(true);
    icon->SetInterval(7500);
  }
}

void TForm1::ShowDriveIcons() {
  for (int k = DriveIconCount(); k >= 1; --k) DriveTrayIcons[k]->SetActive(true);
}

void TForm1::HideDriveIcons() {
  for (int k = DriveIconCount(); k >= 1; --k) DriveTrayIcons[k]->SetActive(false);
}

void TForm1::RestoreDriveIcon(int position) {
  if (position < 1 || position > DriveIconCount()) return;
  drives::RestoreDriveImages(*DriveTrayIcons[position], CurrentDriveLetter());
}

void TForm1::OnDriveIconMouseDown(TObject* sender, drives::TMouseButton, unsigned, int, int) {
  const int k = static_cast<TComponent*>(sender)->Tag();
  if (k < 1 || k > ComboBox2->Items().Count()) return;
  ComboBox2->SetText(ComboBox2->Items()[k - 1]);
  ComboBox2Change(ComboBox2);
}

void TForm1::OnDriveIconDblClick(TObject*) { BitBtn4->UserClicked(); }

char TForm1::CurrentDriveLetter() const {
  const std::string& text = ComboBox2->Text();
  return text.empty() ? '\0' : text[0];
}

int TForm1::CurrentDriveIndex() const {
  const char letter = CurrentDriveLetter();
  if (letter == '\0') return 0;
  const TStrings& items = ComboBox2->Items();
  int found = 0;
  for (int i = 0; i < items.Count(); ++i)
    if (!items[i].empty() && items[i][0] == letter) found = i + 1;
  return found;
}

void TForm1::PairDeviceEntries() {
  const TStrings& drives = ComboBox2->Items();
  const TStrings& entries = cbDrives->Items();
  for (int e = 0; e < entries.Count(); ++e) {
    const std::string description = platform::GetNthField(',', entries[e], 2);
    if (description.empty()) continue;
    for (int p = 0; p < drives.Count() && p < Drev->Items().Count(); ++p)
      if (!drives[p].empty() && description[0] == drives[p][0]) Drev->Items().Set(p, entries[e]);
  }
}

void TForm1::FormCreate(TObject*) {
  OSCode = policies::GetOperatingSystem();
  drives::ListCdDrives(ComboBox2->Items());
  // The message is passed through the language component before any
  // language file is chosen, so it shows in English.
  const std::string onlySeven = Sprog->TranslateText("Only seven");
  if (ComboBox2->Items().Count() > 7) {
    ShowMessage(onlySeven);
    Application->Terminate();
    return;
  }
  ComboBox2->SetText(ComboBox2->Items().Count() > 0 ? ComboBox2->Items()[0] : std::string());

  Drev->Items().Assign(std::vector<std::string>(ComboBox2->Items().Count()));
  Drev->SetText({});
  MCDBurner1->InitializeASPI(true);
  if (MCDBurner1->DeviceList().Count() > 0) {
    cbDrives->Items().Assign(MCDBurner1->DeviceList().Items());
    PairDeviceEntries();
    Drev->SetItemIndex(0);
    MCDBurner1->SelectDevice(Drev->Text());
  }
  StatusBar1->SetSimpleText(platform::GetNthField(',', Drev->Text(), 2));

  CreateDriveTrayIcons();

  if (const char letter = CurrentDriveLetter())
    Image1->LoadFromFile(drives::GetIcoFileName(letter));

  // The "XP" page has nothing for the 9x family, nor for a system unknown.
  if (policies::Is9xFamily(OSCode)) TabSheet3->SetEnabled(false);

  ApplyStartupLanguage();
  ApplyWindowMode();
  LoadPolicySettings();
  ApplyDiscIconSetting();
}

std::string TForm1::GetLangFileName(const std::string& language) const {
  return i18n::LangFileName(Services().Drives->ProgramDir(), language);
}

void TForm1::ApplyStartupLanguage() {
  std::string language;
  policies::RegReadStr(kSettingsRoot, kSettingsKey, kSettingLanguage, language);
  Sprog->SetLanguageFile(GetLangFileName(language));
  if (!Services().Drives->FileExists(Sprog->LanguageFile()))
    Sprog->SetLanguageFile(GetLangFileName(i18n::kFallbackLanguage));
  Sprog->Translate();
  // The box shows the stored name even when English stands in for it. This
  // is no change by the user: nothing is stored and no file is loaded.
  ComboBox1->SetText(language);
}

void TForm1::ApplyWindowMode() {
  std::string mode;
  policies::RegReadStr(kSettingsRoot, kSettingsKey, kSettingTray, mode);
  if (mode == kYes) {
    CheckBox3->SetChecked(true);
    Hide();
    ShowDriveIcons();
  } else if (mode == kNo) {
    CheckBox3->SetChecked(false);
    Show();
  }
  // Anything else leaves the window hidden.
}

void TForm1::ApplyDiscIconSetting() {
  std::string icons;
  policies::RegReadStr(kSettingsRoot, kSettingsKey, kSettingIcons, icons);
  CheckBox5->SetChecked(icons == kYes);
}

void TForm1::ComboBox1Change(TObject*) {
  // Stored first: a refused write is reported, and the language still
  // changes for this run.
  policies::RegWriteStr(kSettingsRoot, kSettingsKey, kSettingLanguage, ComboBox1->Text());
  Sprog->SetLanguageFile(GetLangFileName(ComboBox1->Text()));
  Sprog->Translate();
}

void TForm1::FormCloseQuery(TObject*, bool& canClose) {
  if (FEndingSession) return;
  // The caption stays as it is; only the question is translated.
  const int answer = Services().Dialogs->MessageBox(
      Handle(), Sprog->TranslateText("Close program?"), "Exit?", kMbOkCancel | kMbIconQuestion);
  canClose = answer != kIdCancel;
}

bool TForm1::WMQueryEndSession() {
  FEndingSession = true;
  return TForm::WMQueryEndSession();
}

void TForm1::ComboBox2Change(TObject*) {
  const char letter = CurrentDriveLetter();
  if (letter == '\0') return;
  Image1->LoadFromFile(drives::GetIcoFileName(letter));
  const TStrings& drives = ComboBox2->Items();
  for (int p = 0; p < drives.Count() && p < Drev->Items().Count(); ++p)
    if (ComboBox2->Text() == drives[p]) Drev->SetText(Drev->Items()[p]);
  StatusBar1->SetSimpleText(platform::GetNthField(',', Drev->Text(), 2));
}

void TForm1::BitBtn2Click(TObject*) {
  // Without a current drive there is nothing to open.
  const char letter = CurrentDriveLetter();
  if (!letter) return;
  const int position = CurrentDriveIndex();
  drives::OpenCD(letter);
  // An open tray holds no disc: whatever icon a disc gave the drive goes.
  RestoreDriveIcon(position);
}

void TForm1::BitBtn3Click(TObject*) {
  if (const char letter = CurrentDriveLetter()) drives::CloseCD(letter);
}

void TForm1::BitBtn4Click(TObject*) {
  const char letter = CurrentDriveLetter();
  if (!drives::DiskInDrive(letter)) {
    ShowMessage(Sprog->TranslateText("No CD Present"));
    return;
  }
  drives::RunDisc(letter);
}

void TForm1::Explore1Click(TObject*) {
  const char letter = CurrentDriveLetter();
  if (drives::DiskInDrive(letter))
    drives::ExploreDrive(letter);
  else
    ShowMessage(Sprog->TranslateText("No CD Present"));
}

bool TForm1::WMSysCommand(unsigned command) {
  // Exactly the minimise command: its variants with the low bits set go the
  // standard way.
  if (command != 0xF020) return false;
  Hide();
  CheckBox3->SetChecked(true);
  policies::RegWriteStr(kSettingsRoot, kSettingsKey, kSettingTray, kYes);
  ShowDriveIcons();
  return true;
}

void TForm1::FormCanResize(TObject*, int&, int&, bool& resize) { resize = false; }

void TForm1::CheckBox3Click(TObject*) {
  // The window stays as it is; only the icons follow the box.
  if (CheckBox3->Checked()) {
    policies::RegWriteStr(kSettingsRoot, kSettingsKey, kSettingTray, kYes);
    ShowDriveIcons();
  } else {
    policies::RegWriteStr(kSettingsRoot, kSettingsKey, kSettingTray, kNo);
    HideDriveIcons();
  }
}

void TForm1::Restore1Click(TObject*) {
  Show();
  BringToFront();
}

void TForm1::Exit1Click(TObject*) { Close(); }

void TForm1::BitBtn1Click(TObject*) {
  if (about::AboutBox) about::AboutBox->ShowModal();
}

}  // namespace app
