#include "drives/DriveIcons.h"

#include <cctype>

#include "drives/CDFunc.h"
#include "platform/Services.h"

namespace drives {

void LoadDriveImages(TRxTrayIcon& icon, char letter, const std::string& deviceEntry) {
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

void RestoreDriveImages(TRxTrayIcon& icon, char letter) {
  icon.LoadIcon(GetIcoFileName(letter));
  if (icon.IconEmpty()) icon.LoadIcon(platform::Services().Drives->ProgramDir() + "morvel.ico");
  icon.SetAnimated(true);
}

}  // namespace drives
