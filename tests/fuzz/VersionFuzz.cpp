// A version file of any bytes through the whole update check, and its lines
// as versions: the check raises only the program's own errors and opens
// only the web address the file names; the comparison is irreflexive,
// asymmetric and transitive, refuses exactly what is not four numbers, reads
// a version and its plain rewriting as equal, and orders small versions
// part by part.
#include <array>
#include <optional>

#include "Fuzz.h"
#include "about/UpdateCheck.h"
#include "fakes/FakeUpdate.h"
#include "platform/Dialogs.h"
#include "platform/IniFile.h"

using about::IsNewerVersion;

namespace {

using TParts = std::array<std::uint64_t, 4>;

// Four dot-separated decimal numbers of up to ten digits within the signed
// 32-bit range, read apart from the program's own reading.
std::optional<TParts> Parse(const std::string& version) {
  TParts parts{};
  std::vector<std::string> fields(1);
  for (char c : version) {
    if (c == '.')
      fields.emplace_back();
    else
      fields.back().push_back(c);
  }
  if (fields.size() != 4) return std::nullopt;
  for (std::size_t i = 0; i < 4; ++i) {
    if (fields[i].empty() || fields[i].size() > 10) return std::nullopt;
    for (char c : fields[i])
      if (c < '0' || c > '9') return std::nullopt;
    parts[i] = std::stoull(fields[i]);
    if (parts[i] > 0x7FFFFFFF) return std::nullopt;
  }
  return parts;
}

std::string Plain(const TParts& parts) {
  return std::to_string(parts[0]) + '.' + std::to_string(parts[1]) + '.' +
         std::to_string(parts[2]) + '.' + std::to_string(parts[3]);
}

bool Dotted(const std::string& version) { return version.find('.') != std::string::npos; }

// The comparison, or nothing where it raises; it must raise exactly when
// both texts have a dot and one of them is no version.
std::optional<bool> Newer(const std::string& latest, const std::string& own) {
  const bool valid = !Dotted(latest) || !Dotted(own) || (Parse(latest) && Parse(own));
  try {
    const bool newer = IsNewerVersion(latest, own);
    FUZZ_CHECK(valid);
    return newer;
  } catch (const platform::EConvertError&) {
    FUZZ_CHECK(!valid);
    return std::nullopt;
  }
}

void CheckVersions(const std::string& a, const std::string& b, const std::string& c) {
  FUZZ_CHECK(Newer(a, a).value_or(false) == false);
  const std::optional<bool> ab = Newer(a, b), ba = Newer(b, a), bc = Newer(b, c), ac = Newer(a, c);
  if (ab && ba) FUZZ_CHECK(!(*ab && *ba));
  if (ab && bc && ac && *ab && *bc) FUZZ_CHECK(*ac);
  const std::optional<TParts> pa = Parse(a), pb = Parse(b);
  if (pa) FUZZ_CHECK(Newer(a, Plain(*pa)) == false && Newer(Plain(*pa), a) == false);
  // Parts below 100 carry nothing, and the sum stays in range.
  const auto small = [](const TParts& p) {
    return p[0] <= 2000 && p[1] < 100 && p[2] < 100 && p[3] < 100;
  };
  if (pa && pb && small(*pa) && small(*pb)) FUZZ_CHECK(*ab == (*pa > *pb));
}

void CheckUpdate(const std::string& file) {
  fakes::TFakeAboutSystem system;
  system.Download.Body = file;
  system.Dialogs.Answers = {platform::kIdYes};
  platform::TApplication app;
  app.SetTitle("Morvel");
  auto* checker = platform::TComponent::Create<about::TUpdateCheck>(&app, "mGetNewVer1");
  checker->TempFile = "C:\\T\\curr_ver.tmp";
  try {
    checker->CheckForNewVersion();
  } catch (const platform::Exception&) {
  }
  const std::string address =
      platform::TIniFile::FromText(file).ReadString("DownloadURL", "Morvel", "");
  for (const fakes::TShellCall& call : system.Shell.Calls)
    FUZZ_CHECK(call.File == address && about::IsWebAddress(address));
  FUZZ_CHECK(system.Shell.Calls.size() <= 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = fuzz::Text(data, size);
  CheckUpdate(text);
  std::vector<std::string> lines = fuzz::Lines(text, 3);
  lines.resize(3, "2.3.0.0");
  CheckVersions(lines[0], lines[1], lines[2]);
  return 0;
}
