#include "about/UpdateCheck.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "drives/RunDisc.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/Download.h"
#include "platform/IniFile.h"
#include "platform/ProgramInfo.h"
#include "platform/Services.h"

using namespace platform;

namespace about {

namespace {

constexpr const char* kCrLf = "\r\n";

// A version file is a few hundred bytes and comes at once. A server that
// holds the connection, drips, sends without end or redirects in a circle
// is given up, and the check says the file could not be downloaded.
constexpr TDownloadLimits kDownloadLimits{15000, 64 * 1024, 10};
// How often the wait looks at the deadline and at the box.
constexpr unsigned kPollMs = 100;

// Four decimal numbers, or EConvertError naming the version.
std::int32_t Weight(const std::string& version) {
  const auto invalid = [&] {
    return EConvertError("'" + version + "' is not a valid version number");
  };
  std::uint32_t parts[4] = {};
  std::size_t count = 0, start = 0;
  for (;;) {
    const std::size_t dot = version.find('.', start);
    const std::string part =
        version.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
    // Ten digits hold any 32-bit number; the overflow check below does the rest.
    if (count == 4 || part.empty() || part.size() > 10) throw invalid();
    std::uint64_t value = 0;
    for (char c : part) {
      if (c < '0' || c > '9') throw invalid();
      value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value > 0x7FFFFFFF) throw invalid();
    parts[count++] = static_cast<std::uint32_t>(value);
    if (dot == std::string::npos) break;
    start = dot + 1;
  }
  if (count != 4) throw invalid();
  // Wraps as the 32-bit signed sum would.
  const std::uint32_t sum = parts[0] * 1000000u + parts[1] * 10000u + parts[2] * 100u + parts[3];
  return static_cast<std::int32_t>(sum);
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

std::string Title() { return Application ? Application->Title() : std::string(); }

// The form the checker sits on owns its dialogs while it shows: a message
// box gives its owner back the input when it closes, which would free the
// main window from under a modal about box.
THandle DialogOwnerOf(const TComponent& checker) {
  for (const TComponent* c = checker.Owner(); c; c = c->Owner())
    if (auto* form = dynamic_cast<const TForm*>(c); form && form->Visible() && form->Handle())
      return form->Handle();
  return Application ? Application->DialogOwner() : 0;
}

const TForm* FormOf(const TComponent& checker) {
  for (const TComponent* c = checker.Owner(); c; c = c->Owner())
    if (auto* form = dynamic_cast<const TForm*>(c)) return form;
  return nullptr;
}

// The downloaded file goes when the check is done with it, however it ends.
class TRemoveWhenDone {
 public:
  TRemoveWhenDone(TDownloadService& download, const std::string& file)
      : FDownload(download), FFile(file) {}
  ~TRemoveWhenDone() { FDownload.RemoveFile(FFile); }
  TRemoveWhenDone(const TRemoveWhenDone&) = delete;
  TRemoveWhenDone& operator=(const TRemoveWhenDone&) = delete;

 private:
  TDownloadService& FDownload;
  const std::string& FFile;
};

}  // namespace

bool IsNewerVersion(const std::string& latest, const std::string& own) {
  if (latest.find('.') == std::string::npos || own.find('.') == std::string::npos) return false;
  return Weight(own) < Weight(latest);
}

bool IsWebAddress(const std::string& address) {
  // The shell overflows on a long text, and a blank or a quote would end
  // the address and start another argument of the browser.
  if (address.size() > drives::kShellTextMax) return false;
  for (const char c : address)
    if (static_cast<unsigned char>(c) <= ' ' || c == '"' || c == '\x7F') return false;
  return StartsWithNoCase(address, "http://") || StartsWithNoCase(address, "https://");
}

std::vector<std::string> OwnVersionStrings() {
  std::vector<std::string> strings;
  TProgramInfo* info = Services().ProgramInfo;
  std::string block;
  if (!info || !info->LoadVersionInfo(block)) return strings;
  std::uint16_t language = 0, codePage = 0;
  if (!info->QueryTranslation(block, language, codePage)) return strings;
  char key[9];
  std::snprintf(key, sizeof key, "%04X%04X", static_cast<unsigned>(language),
                static_cast<unsigned>(codePage));
  for (const char* name : {"FileVersion", "LegalCopyright", "ProductName", "ProductVersion"}) {
    std::string value;
    if (info->QueryString(block, std::string("StringFileInfo\\") + key + "\\" + name, value))
      strings.push_back(value);
  }
  return strings;
}

TUpdateCheck::TDownloadResult TUpdateCheck::Download(TDownloadService& download) {
  TDownloadWatch watch(kDownloadLimits);
  std::atomic<long> result{kEAbort};
  std::atomic<bool> finished{false};
  const auto fetch = [&] {
    result = download.DownloadToFile(URLCurrVerFile, TempFile, watch);
    finished = true;
  };
  const TForm* form = FormOf(*this);
  const bool shown = form && form->Visible();
  const auto abandoned = [&] {
    return (shown && !form->Visible()) || (Application && Application->Terminated());
  };
  {
    // On a thread of its own, so that the box goes on painting and
    // answering while the server takes its time.
    TThread worker(fetch);
    TAppHost* host = Services().AppHost;
    if (!worker.Started()) {
      fetch();
    } else if (host) {
      host->RunLoopPolling(
          [&] {
            if (!watch.Stopped() && (watch.Expired() || abandoned())) watch.Stop();
            return finished.load();
          },
          kPollMs);
      // The loop gives up when the program ends; the download goes too.
      if (!finished) watch.Stop();
    }
  }
  if (abandoned()) return TDownloadResult::Abandoned;
  return result == kSOk && !watch.Stopped() ? TDownloadResult::Done : TDownloadResult::Failed;
}

void TUpdateCheck::CheckForNewVersion() {
  // A second press while the download runs; the box takes no input while
  // one of the check's dialogs shows.
  if (FChecking) return;
  FChecking = true;
  const struct TDone {
    bool& Flag;
    ~TDone() { Flag = false; }
  } done{FChecking};

  TDownloadService* download = Services().Download;
  std::string own, latest, address;
  {
    std::optional<TRemoveWhenDone> remove;
    if (download) remove.emplace(*download, TempFile);
    const TDownloadResult fetched = download ? Download(*download) : TDownloadResult::Failed;
    // The box closed or the program ends: nobody is left to tell.
    if (fetched == TDownloadResult::Abandoned) return;
    if (fetched == TDownloadResult::Failed) {
      if (FailureDlg)
        Services().Dialogs->MessageBox(
            DialogOwnerOf(*this),
            std::string("Couldn't download file version information from:") + kCrLf +
                URLCurrVerFile + " !",
            "Warning", kMbOk | kMbIconWarning);
      return;
    }

    const std::vector<std::string> strings = OwnVersionStrings();
    if (strings.empty()) throw Exception("The program carries no version information.");
    own = strings.front();

    // Read through the drive service, which refuses a file larger than any
    // version file can be: an endless answer cannot fill the memory.
    const TIniFile ini(TempFile);
    latest = ini.ReadString("CurrentVersions", Title(), "");
    address = ini.ReadString("DownloadURL", Title(), "");
  }

  if (OnGetURL) OnGetURL(this, latest, address);

  if (IsNewerVersion(latest, own)) {
    if (!DownloadDlg) return;
    const int answer = Services().Dialogs->MessageBox(
        DialogOwnerOf(*this),
        "There's a new version " + latest + " of this program" + kCrLf +
            "avaliable at: " + SiteName + kCrLf + "Do you wan't to download it now ?",
        "Confirm", kMbYesNo | kMbIconQuestion);
    if (answer != kIdYes) return;
    // The address comes from the network: the shell would run a program or
    // open a file just as readily as a web page.
    if (!IsWebAddress(address)) throw Exception("Not a web address: '" + address + "'");
    Services().Shell->Execute(0, "open", address, "", "", kSwShowNormal);
  }
  if (!IsNewerVersion(latest, own))
    Services().Dialogs->MessageBox(DialogOwnerOf(*this), "No new version available", Title(),
                                   kMbOk);
}

const TPropTable& TUpdateCheck::PublishedProperties() const {
  using T = TUpdateCheck;
  const auto text = [](std::string_view name, std::string T::*field) {
    return TPropInfo{
        name, TPropKind::Text,
        [field](const TComponent& c) { return static_cast<const T&>(c).*field; },
        [field](TComponent& c, const std::string& v) { static_cast<T&>(c).*field = v; }};
  };
  // Booleans and the event are neither text nor numbers to the language
  // component, which leaves them alone.
  const auto flag = [](std::string_view name, bool T::*field) {
    return TPropInfo{name, TPropKind::Other,
                     [field](const TComponent& c) {
                       return std::string(static_cast<const T&>(c).*field ? "True" : "False");
                     },
                     [](TComponent&, const std::string&) {}};
  };
  static const TPropTable table{
      &TComponent::PublishedProperties(),
      {text("URLCurrVerFile", &T::URLCurrVerFile), text("SiteName", &T::SiteName),
       flag("FailureDlg", &T::FailureDlg), flag("DownloadDlg", &T::DownloadDlg),
       text("TempFile", &T::TempFile),
       TPropInfo{"OnGetURL", TPropKind::Other, [](const TComponent&) { return std::string(); },
                 [](TComponent&, const std::string&) {}}}};
  return table;
}

}  // namespace about
