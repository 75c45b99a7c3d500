#include "drives/DriveIcons.h"

#include <cctype>

#include "drives/CdDrives.h"
#include "drives/DiscIcon.h"
#include "platform/DeviceNames.h"
#include "platform/IniFile.h"
#include "platform/NotifyArea.h"
#include "platform/Services.h"

namespace drives {

void LoadDriveImages(TTrayIcon& icon, char letter, const std::string& deviceEntry) {
  const std::string dir = platform::Services().Drives->ProgramDir();
  icon.LoadIcon(GetIcoFileName(letter));
  if (!icon.IconEmpty()) icon.InsertIcon(0, icon.Icon());

  std::string entry = deviceEntry;
  for (char& c : entry) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  // Each kind on its own: a DVD writer is a DVD, a CD and a rewriter alike.
  static const struct {
    const char* Kind;
    const char* File;
  } kKinds[] = {{"DVD", "dvd.ico"}, {"CD", "acd.ico"}, {"RW", "RW.ico"}};
  for (const auto& kind : kKinds) {
    if (entry.find(kind.Kind) == std::string::npos) continue;
    icon.LoadIcon(dir + kind.File);
    if (!icon.IconEmpty()) icon.AddIcon(icon.Icon());
  }

  if (icon.IconCount() == 0) icon.LoadIcon(dir + "morvel.ico");
}

void RestoreDriveImages(TTrayIcon& icon, char letter) {
  icon.LoadIcon(GetIcoFileName(letter));
  if (icon.IconEmpty()) icon.LoadIcon(platform::Services().Drives->ProgramDir() + "morvel.ico");
  icon.SetAnimated(true);
}

void ApplyDiscIcon(TTrayIcon& icon, platform::TIcon& extracted, char letter) {
  const std::string root{letter, ':', '\\'};
  const std::string autorun = root + "Autorun.inf";
  if (!platform::Services().Drives->EntryExists(autorun)) return;
  const std::string value = platform::TIniFile(autorun).ReadString("autorun", "icon", "");
  if (value.empty()) return;
  const TIconEntry entry = ParseIconEntry(value);
  if (entry.FileName.empty()) return;
  const std::string path = root + entry.FileName;

  // "aux.ico" is the serial port, whatever the disc holds: never opened.
  const bool device = platform::NamesADevice(path);
  platform::TIcon image;
  if (entry.Kind == TIconKind::IconFile) {
    // The system's loader believes the sizes a file claims, and an image of
    // 2^31 x 2^31 pixels ends the program inside it: a disc's file is read
    // and checked first, and one that fails is one that cannot be opened.
    std::string bytes;
    if (!device &&
        platform::Services().Drives->ReadFile(path, bytes) == platform::TFileRead::Done &&
        IsSoundIconFile(bytes))
      image.LoadFromFile(path);
    if (image.Empty()) throw platform::EInOutError("Cannot open file " + path);
  } else if (entry.Kind == TIconKind::Program && entry.Index != -1 && !device) {
    // Index -1 would ask the system for the number of icons, not for one.
    platform::TIcon found(platform::Services().Icons
                              ? platform::Services().Icons->ExtractIcon(path, entry.Index)
                              : 0);
    // A file without that icon leaves the drive as it is, like a file of
    // another kind.
    if (found.Empty()) return;
    extracted = std::move(found);
    image = extracted;
  } else {
    return;
  }
  // The disc's icon first, then the animation off: the icon changes once.
  icon.SetIcon(image);
  icon.SetAnimated(false);
}

}  // namespace drives
