// The main window's behaviour: start-up, the drive commands, the tray icons
// and the settings the window stores. Its designed layout is MainLayout.cpp.
#include "app/Main.h"

#include <algorithm>

#include "about/AboutBox.h"
#include "app/Settings.h"
#include "drives/CdDrives.h"
#include "drives/DriveIcons.h"
#include "drives/RunDisc.h"
#include "i18n/LangSelect.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/Guarded.h"
#include "platform/Messages.h"
#include "platform/Services.h"
#include "platform/StartupTrace.h"
#include "platform/TextFields.h"
#include "policies/OSVersion.h"
#include "policies/RegistryRoutines.h"

using namespace platform;

namespace app {

int TForm1::DriveIconCount() const {
  int n = 0;
  while (n < kMaxDrives && DriveTrayIcons[n + 1]) ++n;
  return n;
}

char TForm1::DriveLetterAt(int k) const {
  const TStrings& drives = ComboBox2->Items();
  if (k < 1 || k > drives.Count() || drives[k - 1].empty()) return '\0';
  return drives[k - 1][0];
}

void TForm1::CreateDriveTrayIcons() {
  const TStrings& drives = ComboBox2->Items();
  FAnimationInterval = ReadAnimationSetting();
  for (int k = std::min(drives.Count(), kMaxDrives); k >= 1; --k) {
    DriveIconImages[k] = std::make_unique<TIcon>();
    DriveTrayIcons[k] = TComponent::Create<platform::TTrayIcon>(this, "");
    SetUpDriveTrayIcon(*DriveTrayIcons[k], k);
  }
  if (DriveIconCount() == 0) CreateProgramTrayIcon();
}

void TForm1::SetUpDriveTrayIcon(platform::TTrayIcon& icon, int k) {
  const char letter = DriveLetterAt(k);
  icon.PopupMenu = PopupMenu1;
  icon.SetActive(false);
  const std::string entry = k - 1 < Drev->Items().Count() ? Drev->Items()[k - 1] : std::string();
  // A start in window mode shows no icon, and in tray mode each shows once
  // its own images are read.
  icon.LoadImagesWhenNeeded([letter, entry](platform::TTrayIcon& shown) {
    drives::LoadDriveImages(shown, letter, entry);
    shown.SetAnimated(true);
  });
  icon.OnMouseDown = [this](TObject* s, platform::TMouseButton b, unsigned shift, int x, int y) {
    OnDriveIconMouseDown(s, b, shift, x, y);
  };
  icon.OnDblClick = [this](TObject* s) { OnDriveIconDblClick(s); };
  icon.SetHint(platform::GetNthField(',', entry, 2));
  icon.SetTag(k);
  icon.SetInterval(FAnimationInterval);
}

void TForm1::CreateProgramTrayIcon() {
  // Without a drive, minimising would otherwise leave nothing to click.
  ProgramTrayIcon = TComponent::Create<platform::TTrayIcon>(this, "");
  ProgramTrayIcon->PopupMenu = PopupMenu1;
  ProgramTrayIcon->SetActive(false);
  ProgramTrayIcon->LoadIcon(Services().Drives->ProgramDir() + "morvel.ico");
  ProgramTrayIcon->SetHint(Application ? Application->Title() : std::string());
}

void TForm1::ShowDriveIcons() {
  FTrayIconsOn = true;
  for (int k = DriveIconCount(); k >= 1; --k) DriveTrayIcons[k]->SetActive(true);
  UpdateProgramTrayIcon();
}

void TForm1::HideDriveIcons() {
  FTrayIconsOn = false;
  for (int k = DriveIconCount(); k >= 1; --k) DriveTrayIcons[k]->SetActive(false);
  UpdateProgramTrayIcon();
}

void TForm1::UpdateProgramTrayIcon() {
  if (!ProgramTrayIcon) return;
  const bool wanted = FTrayIconsOn && !Visible() && DriveIconCount() == 0;
  // Showing registers anew each time; only a change is sent.
  if (ProgramTrayIcon->Active() != wanted) ProgramTrayIcon->SetActive(wanted);
}

bool TForm1::ShowsAnything() const {
  if (Visible()) return true;
  for (int k = DriveIconCount(); k >= 1; --k)
    if (DriveTrayIcons[k]->Shown()) return true;
  return ProgramTrayIcon && ProgramTrayIcon->Shown();
}

void TForm1::RestoreDriveIcon(int position) {
  if (position < 1 || position > DriveIconCount()) return;
  drives::RestoreDriveImages(*DriveTrayIcons[position], DriveLetterAt(position));
  // The disc's icon, if it gave one, goes with its disc, and so does its
  // error.
  DriveIconImages[position] = std::make_unique<TIcon>();
  FDiscIconFaults.erase(DriveLetterAt(position));
}

void TForm1::OnDriveIconMouseDown(TObject* sender, platform::TMouseButton, unsigned, int, int) {
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
  STARTUP_MARK("main window and its models");
  // First: a drive that comes during start-up is not missed.
  WatchDriveChanges();
  STARTUP_MARK("volume watch");
  Policies.OSCode = policies::GetOperatingSystem();
  // One look at the drive letters serves the drive list and the probe.
  const std::uint32_t cdRoms = drives::CdRomLetters();
  drives::ListCdDrives(ComboBox2->Items(), cdRoms);
  STARTUP_MARK("drive list");
  // The message is passed through the language component before any
  // language file is chosen, so it shows in English.
  const std::string onlySeven = Sprog->TranslateText("Only seven");
  if (ComboBox2->Items().Count() > kMaxDrives) {
    ShowMessage(onlySeven);
    Application->Terminate();
    return;
  }
  ComboBox2->SetText(ComboBox2->Items().Count() > 0 ? ComboBox2->Items()[0] : std::string());

  Drev->Items().Assign(std::vector<std::string>(ComboBox2->Items().Count()));
  Drev->SetText({});
  MCDBurner1->InitializeASPI(true, cdRoms);
  if (MCDBurner1->DeviceList().Count() > 0) {
    cbDrives->Items().Assign(MCDBurner1->DeviceList().Items());
    PairDeviceEntries();
    Drev->SetItemIndex(0);
    MCDBurner1->SelectDevice(Drev->Text());
  }
  StatusBar1->SetSimpleText(platform::GetNthField(',', Drev->Text(), 2));
  STARTUP_MARK("device probe");

  CreateDriveTrayIcons();
  STARTUP_MARK("tray icons made");

  if (const char letter = CurrentDriveLetter())
    Image1->LoadFromFile(drives::GetIcoFileName(letter));

  // The "XP" page has nothing for the 9x family, nor for a system unknown.
  if (policies::Is9xFamily(Policies.OSCode)) XpPage->TabSheet3->SetEnabled(false);

  STARTUP_MARK("picture");
  ApplyStartupLanguage();
  STARTUP_MARK("language");
  ApplyWindowMode();
  STARTUP_MARK("window mode");
  // Before the steps that read settings of the system: a value there of the
  // wrong type ends the start-up, and the keys should work all the same.
  StartHotKeys();
  STARTUP_MARK("hot keys");
  policies::LoadPolicySettings(Policies);
  STARTUP_MARK("policies");
  ApplyDiscIconSetting();
  STARTUP_MARK("disc icons");
}

void TForm1::StartHotKeys() {
  // A key does what its button or tray menu item does.
  KeysPage->Start([this](const std::string& text) { return Sprog->TranslateText(text); },
                  [this](TKeysPage::TKey key) {
                    if (key == TKeysPage::kOpen) BitBtn2Click(BitBtn2);
                    if (key == TKeysPage::kClose) BitBtn3Click(BitBtn3);
                    if (key == TKeysPage::kShow) Restore1Click(Restore1);
                  });
}

std::string TForm1::GetLangFileName(const std::string& language) const {
  return i18n::LangFileName(Services().Drives->ProgramDir(), language);
}

void TForm1::ApplyStartupLanguage() {
  std::string language;
  ReadLanguageSetting(language);
  const std::string chosen = GetLangFileName(language);
  const std::string english = GetLangFileName(i18n::kFallbackLanguage);
  Sprog->SetLanguageFile(chosen);
  // A file that cannot be read counts as a missing one: English stands in,
  // rather than the designed placeholders, and the about box finds English
  // too (one over the size cap is reported once, by the pass that met it).
  const bool read = Services().Drives->FileExists(chosen) && Sprog->Translate();
  if (!read && chosen != english) {
    Sprog->SetLanguageFile(english);
    Sprog->Translate();
  }
  // The box shows the stored name even when English stands in for it. This
  // is no change by the user: nothing is stored and no file is loaded.
  ComboBox1->SetText(language);
}

void TForm1::ApplyWindowMode() {
  std::string mode;
  ReadTraySetting(mode);
  if (mode == kYes) {
    AutoRunPage->CheckBox3->SetChecked(true);
    Hide();
    ShowDriveIcons();
  } else if (mode == kNo) {
    AutoRunPage->CheckBox3->SetChecked(false);
    Show();
  }
  // Anything else leaves the window hidden.
}

void TForm1::ApplyDiscIconSetting() {
  std::string icons;
  ReadIconSetting(icons);
  if (icons != kYes) {
    AutoRunPage->CheckBox5->SetChecked(false);
    return;
  }
  AutoRunPage->CheckBox5->SetChecked(true);
  // An error ends the pass: the drives before it in the list keep their
  // images.
  for (int k = DriveIconCount(); k >= 1; --k)
    if (drives::DiskInDrive(DriveLetterAt(k))) ApplyDiscIcon(DriveLetterAt(k), k);
}

void TForm1::ApplyDiscIcon(char letter, int k) {
  if (k < 1 || k > DriveIconCount()) return;
  try {
    drives::ApplyDiscIcon(*DriveTrayIcons[k], *DriveIconImages[k], letter);
  } catch (const std::exception& e) {
    // The caller reports it; the timer then knows it was told.
    FDiscIconFaults[letter] = e.what();
    throw;
  }
}

void TForm1::CheckBox5Click(TObject*) {
  const bool on = AutoRunPage->CheckBox5->Checked();
  WriteIconSetting(on);
  for (int k = DriveIconCount(); k >= 1; --k) {
    if (!on)
      RestoreDriveIcon(k);
    else if (drives::DiskInDrive(DriveLetterAt(k)))
      ApplyDiscIcon(DriveLetterAt(k), k);
  }
}

void TForm1::Timer1Timer(TObject*) {
  // Only the 9x family looks once a second; elsewhere a new disc shows its
  // icon when the system says it came (DriveChanges.cpp).
  if (!policies::Is9xFamily(Policies.OSCode) || FTimerReporting) return;
  const int k = CurrentDriveIndex();
  if (!AutoRunPage->CheckBox5->Checked() || k == 0) return;
  const char letter = CurrentDriveLetter();
  if (!drives::DiskInDrive(letter)) {
    // The disc has left: the next one's errors are news.
    FDiscIconFaults.erase(letter);
    return;
  }
  const auto known = FDiscIconFaults.find(letter);
  const std::string told = known == FDiscIconFaults.end() ? std::string() : known->second;
  try {
    ApplyDiscIcon(letter, k);
  } catch (const std::exception& e) {
    // A bad entry fails on every tick: once reported is enough for a disc,
    // or the user gets a box a second.
    if (!told.empty() && told == e.what()) return;
    // The report's own message loop goes on ticking: one box at a time. The
    // flag goes down even when the report fails, or the looking would stop
    // for good.
    struct TRaised {
      bool& Flag;
      explicit TRaised(bool& flag) : Flag(flag) { Flag = true; }
      ~TRaised() { Flag = false; }
    } reporting(FTimerReporting);
    ReportException(e);
  }
}

void TForm1::ComboBox1Change(TObject*) {
  // Stored first: a refused write is reported, and the language still
  // changes for this run.
  WriteLanguageSetting(ComboBox1->Text());
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
  // Without a current drive there is nothing to close.
  const char letter = CurrentDriveLetter();
  if (!letter) return;
  const int position = CurrentDriveIndex();
  drives::CloseCD(letter);
  // A letter that is no drive raises here, once the tray command is out.
  if (AutoRunPage->CheckBox5->Checked() && drives::DiskInDrive(letter) && position > 0)
    ApplyDiscIcon(letter, position);
}

void TForm1::BitBtn4Click(TObject*) { RunCurrentDisc(); }

bool TForm1::RunCurrentDisc() {
  const char letter = CurrentDriveLetter();
  if (!drives::DiskInDrive(letter)) {
    ShowMessage(Sprog->TranslateText("No CD Present"));
    return false;
  }
  if (const char* refusal = drives::RefusalText(drives::RunDisc(letter))) {
    ShowMessage(Sprog->TranslateText(refusal));
    return false;
  }
  return true;
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
  if (command != kScMinimize) return false;
  Hide();
  AutoRunPage->CheckBox3->SetChecked(true);
  WriteTraySetting(true);
  ShowDriveIcons();
  return true;
}

void TForm1::FormCanResize(TObject*, int&, int&, bool& resize) { resize = false; }

void TForm1::CheckBox3Click(TObject*) {
  // The window stays as it is; only the icons follow the box.
  const bool inTray = AutoRunPage->CheckBox3->Checked();
  WriteTraySetting(inTray);
  if (inTray)
    ShowDriveIcons();
  else
    HideDriveIcons();
}

void TForm1::Restore1Click(TObject*) {
  Show();
  BringToFront();
  // The window is back: the program's own icon has nothing left to stand in for.
  UpdateProgramTrayIcon();
}

void TForm1::Exit1Click(TObject*) { Close(); }

void TForm1::BitBtn1Click(TObject*) {
  if (about::AboutBox) about::AboutBox->ShowModal();
}

}  // namespace app
