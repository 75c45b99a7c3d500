// The update check: downloads a small version file from the maker's site,
// compares the version it lists with the program's own and offers to open
// the download address it names.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Component.h"
#include "platform/Download.h"

namespace about {

// Called once the version file has been read, with the version and the
// download address it lists for this program.
using TOnGetURLEvent = std::function<void(platform::TObject* sender, std::string currentVersion,
                                          std::string downloadURL)>;

// True when Latest is newer than Own. A version without a "." is never
// newer, nor is anything newer than it. Otherwise each must be four decimal
// numbers, weighted 1000000, 10000, 100 and 1 in 32-bit arithmetic (so a
// part of 100 or more carries into the one before); anything else raises
// EConvertError.
bool IsNewerVersion(const std::string& latest, const std::string& own);

// Whether the download address may be handed to the shell: only a web page,
// one argument of no more than the shell takes.
bool IsWebAddress(const std::string& address);

// The running program's version strings, in this order when present:
// FileVersion, LegalCopyright, ProductName, ProductVersion, from the first
// language and code page its version information lists.
std::vector<std::string> OwnVersionStrings();

class TUpdateCheck : public platform::TComponent {
 public:
  using TComponent::TComponent;

  std::string URLCurrVerFile = "http://www.tandrel.invalid/ver/curr_ver.txt";
  std::string SiteName = "Tandrel";
  bool FailureDlg = true;
  bool DownloadDlg = true;
  std::string TempFile = "c:\\curr_ver.tmp";
  TOnGetURLEvent OnGetURL;

  // Downloads, compares and says what it found in dialogs. Raises
  // platform::Exception for a version that is not four numbers, a program
  // without version information and a download address that is no web page.
  void CheckForNewVersion();

  const platform::TPropTable& PublishedProperties() const override;

 private:
  enum class TDownloadResult { Done, Failed, Abandoned };
  // Fetches the version file into TempFile while the windows go on; gives
  // up when the box it sits on closes or the program ends.
  TDownloadResult Download(platform::TDownloadService& download);

  bool FChecking = false;
};

}  // namespace about
