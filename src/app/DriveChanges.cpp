// Drives and discs that come and go while the program runs. The system
// tells every top-level window in volume messages; they are gathered, and
// once they have been quiet for a moment the drive box, the tray icons, the
// disc icons and the Extras page's letter lists follow the system as one
// change. Nothing is stored.
#include <algorithm>
#include <exception>

#include "app/Main.h"
#include "drives/CdDrives.h"
#include "drives/DriveIcons.h"
#include "drives/DriveSetChange.h"
#include "platform/Application.h"
#include "platform/Services.h"
#include "platform/TextFields.h"

using namespace platform;

namespace app {

namespace {

// Windows sends several messages for one device: the change is carried out
// once they have been quiet this long.
constexpr unsigned kDriveChangeQuietMs = 300;

// One drive of the drive box while the box is rebuilt.
struct TListedDrive {
  std::string Name;  // "E:"
  std::string Entry;
  platform::TTrayIcon* Icon = nullptr;  // nullptr: the drive has just come
  std::unique_ptr<TIcon> Image;
};

// The device entry the capability query gives a letter: the last one that
// names it, as at start.
std::string EntryOf(const TStrings& entries, char letter) {
  std::string found;
  for (const std::string& entry : entries.Items()) {
    const std::string description = platform::GetNthField(',', entry, 2);
    if (!description.empty() && description[0] == letter) found = entry;
  }
  return found;
}

}  // namespace

void TForm1::WatchDriveChanges() {
  DriveChangeTimer = TComponent::Create<TTimer>(this, "");
  DriveChangeTimer->SetEnabled(false);
  DriveChangeTimer->SetInterval(kDriveChangeQuietMs);
  DriveChangeTimer->SetOnTimer([this](TObject* s) { DriveChangeTimerTimer(s); });
  PopupMenu1->OnPopup = [this](TObject*) { FMenuDrive = CurrentDriveLetter(); };
  for (TMenuItem* item : {Open1, Close1, Run1, Explore1})
    item->OnClick = [this, command = item->OnClick](TObject* s) { RunMenuCommand(command, s); };
  if (TVolumeWatchService* volumes = Services().Volumes)
    FVolumeWatch = volumes->Watch([this](const TVolumeChange& c) { VolumesChanged(c); });
}

void TForm1::RunMenuCommand(const TNotifyEvent& command, TObject* sender) {
  const TStrings& drives = ComboBox2->Items();
  const bool gone =
      FMenuDrive != '\0' &&
      std::none_of(drives.Items().begin(), drives.Items().end(), [this](const std::string& name) {
        return !name.empty() && name[0] == FMenuDrive;
      });
  if (!gone) {
    command(sender);
    return;
  }
  // The menu was opened for a drive that has gone since: its commands do
  // what they do on an empty drive box, never act on the drive now current.
  struct TEmptyBox {
    TComboBox& Box;
    std::string Text;
    ~TEmptyBox() { Box.SetText(Text); }
  } empty{*ComboBox2, ComboBox2->Text()};
  ComboBox2->SetText({});
  command(sender);
}

void TForm1::VolumesChanged(const TVolumeChange& change) {
  // Inside the system's send: only take note, and start the quiet time
  // again.
  if (change.Media) FPendingMedia |= change.Units;
  DriveChangeTimer->SetEnabled(false);
  DriveChangeTimer->SetEnabled(true);
}

void TForm1::DriveChangeTimerTimer(TObject*) {
  // Start-up finishes first: what came meanwhile waits for the message loop.
  if (!Application || !Application->Running()) return;
  DriveChangeTimer->SetEnabled(false);
  drives::TDriveSetChange change;
  for (int k = 1; k <= DriveIconCount(); ++k) change.Listed |= drives::LetterBit(DriveLetterAt(k));
  change.Current = CurrentDriveLetter();
  const std::uint32_t present = Services().Drives->GetLogicalDrives();
  for (int i = 0; i < 26; ++i)
    if (present & (1u << i))
      change.Types[i] = Services().Drives->GetDriveType({static_cast<char>('A' + i), ':'});
  change.Media = FPendingMedia;
  FPendingMedia = 0;
  change.DiscIcons = AutoRunPage->CheckBox5->Checked();

  const drives::TDriveSetPlan plan = drives::PlanDriveSetChange(change);
  if (plan.Removed != 0 || plan.Added != 0) {
    ApplyDriveSetChange(plan.Removed, plan.Added, plan.Current);
    // The Extras page's letter lists offer the letters that are there.
    Policies.Baselines.PresentDrives = present;
    for (int i = 0; i < 26; ++i) {
      const std::uint32_t bit = 1u << i;
      if (!((plan.Removed | plan.Added) & bit)) continue;
      DrivesPage->CheckListBox1->SetItemEnabled(i, (present & bit) != 0);
      DrivesPage->CheckListBox2->SetItemEnabled(i, (present & bit) != 0);
    }
  }
  RecheckDiscIcons(plan.Recheck, plan.Added);
}

void TForm1::ApplyDriveSetChange(std::uint32_t removed, std::uint32_t added, char current) {
  std::vector<TListedDrive> listed;
  const int count = DriveIconCount();
  for (int k = 1; k <= count; ++k) {
    TListedDrive drive{ComboBox2->Items()[k - 1],
                       k - 1 < Drev->Items().Count() ? Drev->Items()[k - 1] : std::string(),
                       DriveTrayIcons[k], std::move(DriveIconImages[k])};
    DriveTrayIcons[k] = nullptr;
    if (!(removed & drives::LetterBit(drive.Name[0]))) {
      listed.push_back(std::move(drive));
      continue;
    }
    // The icon goes from the tray and waits for a drive that comes.
    drive.Icon->SetActive(false);
    drive.Icon->SetAnimated(false);
    drive.Icon->ClearIcons();
    FSpareTrayIcons.push_back(drive.Icon);
    FDiscIconFaults.erase(drive.Name[0]);
  }
  if (added != 0) {
    // The capability query is asked again, for the drives that came.
    MCDBurner1->InitializeASPI(true);
    if (MCDBurner1->DeviceList().Count() > 0)
      cbDrives->Items().Assign(MCDBurner1->DeviceList().Items());
    // Each in its place by letter, as a start lists them.
    for (int i = 0; i < 26; ++i) {
      if (!(added & (1u << i))) continue;
      const char letter = static_cast<char>('A' + i);
      const auto place = std::find_if(
          listed.begin(), listed.end(),
          [letter](const TListedDrive& d) { return d.Name.empty() || d.Name[0] > letter; });
      listed.insert(place, {std::string{letter, ':'}, EntryOf(cbDrives->Items(), letter), nullptr,
                            std::make_unique<TIcon>()});
    }
  }

  std::vector<std::string> names, entries;
  for (const TListedDrive& drive : listed) {
    names.push_back(drive.Name);
    entries.push_back(drive.Entry);
  }
  const std::string entryText = Drev->Text();
  const std::string boxText = ComboBox2->Text();
  ComboBox2->Items().Assign(names);
  Drev->Items().Assign(entries);
  Drev->SetText(entryText);
  ComboBox2->SetText(boxText);
  for (std::size_t p = 0; p < listed.size(); ++p) {
    const int k = static_cast<int>(p) + 1;
    DriveIconImages[k] = std::move(listed[p].Image);
    platform::TTrayIcon* icon = listed[p].Icon;
    if (icon) {
      icon->SetTag(k);
    } else if (!FSpareTrayIcons.empty()) {
      icon = FSpareTrayIcons.back();
      FSpareTrayIcons.pop_back();
    } else {
      icon = TComponent::Create<platform::TTrayIcon>(this, "");
    }
    DriveTrayIcons[k] = icon;
    if (!listed[p].Icon) SetUpDriveTrayIcon(*icon, k);
  }

  if (current != CurrentDriveLetter()) {
    ComboBox2->SetText(current ? std::string{current, ':'} : std::string());
    if (current) {
      ComboBox2Change(ComboBox2);
    } else {
      Drev->SetText({});
      StatusBar1->SetSimpleText({});
      Image1->LoadFromFile({});
    }
  }
  if (DriveIconCount() == 0 && !ProgramTrayIcon) CreateProgramTrayIcon();
  // Shown again all together, the last drive first, so that the tray keeps
  // the order a start gives.
  if (FTrayIconsOn && added != 0)
    ShowDriveIcons();
  else
    UpdateProgramTrayIcon();
}

void TForm1::RecheckDiscIcons(std::uint32_t letters, std::uint32_t skipRestore) {
  for (int k = DriveIconCount(); k >= 1; --k) {
    const char letter = DriveLetterAt(k);
    if (!(letters & drives::LetterBit(letter))) continue;
    try {
      if (drives::DiskInDrive(letter))
        ApplyDiscIcon(letter, k);
      else if (!(skipRestore & drives::LetterBit(letter)))
        RestoreDriveIcon(k);
    } catch (const std::exception& e) {
      // A new disc's fault is news; the other drives still follow theirs.
      if (Application) Application->HandleException(e);
    }
  }
}

}  // namespace app
