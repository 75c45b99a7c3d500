// The main window: drive commands on the left, the option pages in the
// middle, the about button, drive picture and language box on the right.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/KeysPage.h"
#include "drives/OpticalDrive.h"
#include "i18n/Lang.h"
#include "platform/Forms.h"
#include "platform/TrayIcon.h"
#include "platform/VolumeWatch.h"
#include "policies/AutoRunPage.h"
#include "policies/DrivesPage.h"
#include "policies/PolicySettings.h"
#include "policies/XpPage.h"

namespace app {

class TForm1 : public platform::TForm {
 public:
  explicit TForm1(platform::TComponent* owner);

  // Left column: the current drive and its commands.
  platform::TPanel* Panel2;
  platform::TComboBox* ComboBox2;
  platform::TBitBtn* BitBtn2;
  platform::TBitBtn* BitBtn3;
  platform::TBitBtn* BitBtn4;

  // Centre: the option pages, each making and handling its own controls.
  platform::TPageControl* PageControl1;
  // What the pages share: the form, the system, the language, the baselines.
  policies::TPolicyPages Policies{.Form = this};
  std::unique_ptr<policies::TAutoRunPage> AutoRunPage;
  std::unique_ptr<policies::TDrivesPage> DrivesPage;
  std::unique_ptr<policies::TXpPage> XpPage;
  // The global hot keys, on a page of their own.
  std::unique_ptr<TKeysPage> KeysPage;

  // Right column.
  platform::TBitBtn* BitBtn1;
  platform::TShape* Shape1;
  platform::TImage* Image1;
  platform::TComboBox* ComboBox1;

  platform::TStatusBar* StatusBar1;
  // Never shown: string lists of the device entries.
  platform::TComboBox* cbDrives;
  platform::TComboBox* Drev;

  // Components without a window.
  i18n::TLanguage* Sprog;
  platform::TPopupMenu* PopupMenu1;
  platform::TMenuItem* Restore1;
  platform::TMenuItem* Open1;
  platform::TMenuItem* Close1;
  platform::TMenuItem* Run1;
  platform::TMenuItem* Explore1;
  platform::TMenuItem* Exit1;
  platform::TTimer* Timer1;
  drives::TOpticalDrive* MCDBurner1;

  // One tray icon per drive, with the image a disc may give it; slot k
  // (1 to 7) belongs to drive item k - 1. Slot 0 is never used.
  static constexpr int kMaxDrives = 7;
  std::array<platform::TTrayIcon*, kMaxDrives + 1> DriveTrayIcons{};
  std::array<std::unique_ptr<platform::TIcon>, kMaxDrives + 1> DriveIconImages{};
  int DriveIconCount() const;
  // Stands in for the drive icons when there is no drive: the program's own
  // icon with the shared menu, shown while the tray icons are on and the
  // window is hidden, so that the program can always be reached.
  platform::TTrayIcon* ProgramTrayIcon = nullptr;
  // The window or a tray icon is on the screen.
  bool ShowsAnything() const;

  // The 1-based position of the current drive in the drive list: the last
  // item whose first character is the current drive letter, exactly as to
  // case; 0 when none matches.
  int CurrentDriveIndex() const;
  // The first character of the current drive text; 0 when the text is empty.
  char CurrentDriveLetter() const;

  // Set when the system asks whether the session may end; never cleared.
  bool FEndingSession = false;

  void FormCreate(platform::TObject* sender);
  // Asks "Close program?" unless the session is ending.
  void FormCloseQuery(platform::TObject* sender, bool& canClose);
  bool WMQueryEndSession() override;
  // Minimising sends the window to the notification area.
  bool WMSysCommand(unsigned command) override;
  // The window keeps its size.
  void FormCanResize(platform::TObject* sender, int& newWidth, int& newHeight, bool& resize);

  // Show or hide every drive's tray icon, the last drive first.
  void ShowDriveIcons();
  void HideDriveIcons();
  // A press on a drive's icon makes that drive current.
  void OnDriveIconMouseDown(platform::TObject* sender, platform::TMouseButton button,
                            unsigned shift, int x, int y);
  // A double click on a drive's icon runs its disc.
  void OnDriveIconDblClick(platform::TObject* sender);

  // The "Taskbar" box: tray icons or none, stored at once.
  void CheckBox3Click(platform::TObject* sender);
  void Restore1Click(platform::TObject* sender);
  void Exit1Click(platform::TObject* sender);
  // The about box, modally.
  void BitBtn1Click(platform::TObject* sender);
  // Run and explore the current drive's disc.
  void BitBtn4Click(platform::TObject* sender);
  // Run: what BitBtn4Click does; false when nothing was started (the user
  // has been told why).
  bool RunCurrentDisc();
  void Explore1Click(platform::TObject* sender);
  // Brings the picture, the device entry and the status text in line with
  // the current drive.
  void ComboBox2Change(platform::TObject* sender);
  void BitBtn2Click(platform::TObject* sender);
  void BitBtn3Click(platform::TObject* sender);
  // Stores the language box text and applies its language file at once.
  void ComboBox1Change(platform::TObject* sender);

  // Disc icons: the "Ikon" box, stored at once; the disc's own icon for the
  // drive at position k (1 to 7), which must hold a readable disc; and the
  // once-a-second look at the current drive, on the 9x family only.
  void CheckBox5Click(platform::TObject* sender);
  void ApplyDiscIcon(char letter, int k);
  void Timer1Timer(platform::TObject* sender);

  // The language file of a language name, beside the program.
  std::string GetLangFileName(const std::string& language) const;

  // Gives every drive the device entry of its letter: for each entry of
  // cbDrives in order, the drive whose first character is the entry's
  // description's first character gets it in Drev.
  void PairDeviceEntries();

  // The about box's "Reset default", once confirmed there.
  void ResetPolicyDefaults() { policies::ResetPolicyDefaults(Policies); }

  // ---- Drives and discs that come and go (DriveChanges.cpp) ----
  // Listens for the system's volume messages from the first start-up step
  // on; what they announce is carried out once the message loop runs.
  void WatchDriveChanges();
  void VolumesChanged(const platform::TVolumeChange& change);
  // The messages gathered since the last change, carried out as one.
  void DriveChangeTimerTimer(platform::TObject* sender);

 private:
  // The designed layout (MainLayout.cpp).
  void BuildControls();
  void BuildMenu();
  // Start-up: one hidden tray icon per drive, the last drive first.
  void CreateDriveTrayIcons();
  // Gives the hidden tray icon of drive position k its images, hint and
  // events, as a drive found at start gets them.
  void SetUpDriveTrayIcon(platform::TTrayIcon& icon, int k);
  void CreateProgramTrayIcon();
  std::uint16_t FAnimationInterval = 0;
  // Drives that come and go (DriveChanges.cpp).
  void ApplyDriveSetChange(std::uint32_t removed, std::uint32_t added, char current);
  void RecheckDiscIcons(std::uint32_t letters, std::uint32_t skipRestore);
  void RunMenuCommand(const platform::TNotifyEvent& command, platform::TObject* sender);
  std::unique_ptr<platform::TVolumeWatch> FVolumeWatch;
  platform::TTimer* DriveChangeTimer = nullptr;
  std::uint32_t FPendingMedia = 0;
  // The drive the tray menu was opened for.
  char FMenuDrive = '\0';
  // Tray icons of drives that went: kept for drives that come, never
  // destroyed while the program runs, since one may be in its own menu.
  std::vector<platform::TTrayIcon*> FSpareTrayIcons;
  // The drive's tray icon goes back to its letter and kind animation.
  void RestoreDriveIcon(int position);
  // The first character of drive item k - 1.
  char DriveLetterAt(int k) const;
  void UpdateProgramTrayIcon();
  // Set by ShowDriveIcons, cleared by HideDriveIcons.
  bool FTrayIconsOn = false;
  // A timer tick's error report is open: the ticks its message loop
  // handles do not stack another one on it.
  bool FTimerReporting = false;
  // The error each drive's disc icon last raised, by drive letter: the
  // timer reports an error once per disc, not once a second. Forgotten when
  // the disc leaves the drive or the option is switched off.
  std::map<char, std::string> FDiscIconFaults;
  // Start-up: the stored language, or English when it has no file.
  void ApplyStartupLanguage();
  // Start-up: window or notification area, as stored.
  void ApplyWindowMode();
  // Start-up: whether discs show their own icons, as stored.
  void ApplyDiscIconSetting();
  // Start-up: the stored hot keys, registered.
  void StartHotKeys();
};

}  // namespace app
