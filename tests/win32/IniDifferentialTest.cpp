// The program's INI reader against the system's GetPrivateProfileStringA on
// the same untidy files. Where the program's rules decide, the reader keeps
// them even where the system does not; those places are listed below, and
// the list is checked in both directions so that it stays true.
#include "platform/win32/Win32Undef.h"
// The service interfaces below are read without the system's renaming macros.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/IniFile.h"
#include "platform/Services.h"
#include "platform/win32/Win32Drives.h"

using namespace platform;

namespace {

// Windows-1252 letters; spelled apart because a hex escape would swallow the
// letters after it.
const std::string kCapitalAe = "\xC6";
const std::string kSmallAe = "\xE6";

// Text that shows where it was cut.
std::string Pattern(std::size_t length) {
  std::string text;
  for (std::size_t i = 0; i < length; ++i) text += static_cast<char>('a' + i % 26);
  return text;
}

// The files, byte for byte.
std::map<std::string, std::string> Files() {
  std::map<std::string, std::string> files;
  files["quotes.ini"] =
      "[Quotes]\r\ndouble=\"abc\"\r\nsingle='abc'\r\nmismatched=\"abc'\r\nlone=\"\r\n"
      "inside=say \"hi\" now\r\nleading=\"a\" b\r\nblanks=\" a b \"\r\nempty=\"\"\r\n"
      "twice=''abc''\r\nspaced =   \"x\"   \r\n";
  files["blanks.ini"] =
      "  [Blanks]  \r\n\tkey1\t=\tvalue one\t\r\nkey2   =   v2   \r\n  key3=v3\r\n"
      "key 4 = inner  blanks \r\n[ Padded ]\r\ninpad=p\r\n[\tTabbed\t]\r\nt=1\r\n";
  files["case.ini"] = "[MiXeD]\nKeY=v\n" + kCapitalAe + "ble=apple\n[lower]\nUPPER=u\n";
  files["long.ini"] = "[Long]\r\nv2046=" + Pattern(2046) + "\r\nv2047=" + Pattern(2047) +
                      "\r\nv2048=" + Pattern(2048) + "\r\nv3000=" + Pattern(3000) + "\r\nq2046=\"" +
                      Pattern(2046) + "\"\r\nq2047=\"" + Pattern(2047) + "\"\r\nq3000='" +
                      Pattern(3000) + "'\r\n";
  files["dups.ini"] =
      "[Dup]\r\nboth=first\r\ndupkey=one\r\ndupkey=two\r\n[Other]\r\nx=1\r\n"
      "[dup]\r\nboth=second\r\nonlysecond=2\r\n";
  const std::string lines[] = {"[End]", "a=1", "b=2", "[Next]", "c=3"};
  for (const auto& [name, eol] : std::map<std::string, std::string>{
           {"crlf.ini", "\r\n"}, {"lf.ini", "\n"}, {"cr.ini", "\r"}, {"nofinal.ini", "\r\n"}}) {
    for (const std::string& line : lines) files[name] += line + eol;
    if (name == "nofinal.ini") files[name].resize(files[name].size() - eol.size());
  }
  files["mixed.ini"] = "[End]\na=1\rb=2\r\nc=3\n";
  files["empty.ini"] =
      "[Empty]\r\nkey=\r\nkey2 =   \r\nnovalue\r\n=orphan\r\nurl=http://host/?a=b&c=d\r\n"
      "eq==\r\nlater=1\r\nnovalue=2\r\n";
  files["comments.ini"] =
      "early=before\r\n; leading comment\r\n[Com]\r\n;commented=1\r\n  ; indented=2\r\n"
      "real=3 ; not a comment\r\n;real=4\r\n";
  files["ctrlz.ini"] = "[Z]\r\nkey=value\r\nlast=end\x1A";
  files["ctrlzline.ini"] = "[Z]\r\nkey=value\r\n\x1A";
  return files;
}

struct TLookup {
  std::string File;
  std::string Section;
  std::string Key;
  std::string Default;
  bool operator==(const TLookup&) const = default;
};

// For the output: bytes outside ASCII as escapes, long text shortened.
std::string Shown(const std::string& text) {
  std::string shown = "\"";
  for (std::size_t i = 0; i < text.size() && i < 40; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x7F) {
      shown += static_cast<char>(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned>(c));
      shown += escaped;
    }
  }
  if (text.size() > 40) return shown + "...\" (" + std::to_string(text.size()) + " chars)";
  return shown + "\"";
}

std::string Describe(const TLookup& at) {
  return at.File + " [" + Shown(at.Section) + "] " + Shown(at.Key) + " default " +
         Shown(at.Default);
}

std::vector<TLookup> Lookups() {
  std::vector<TLookup> lookups;
  auto add = [&](const std::string& file, const std::string& section,
                 std::initializer_list<std::string> keys, const std::string& def = "dflt") {
    for (const std::string& key : keys) lookups.push_back({file, section, key, def});
  };
  add("quotes.ini", "Quotes",
      {"double", "single", "mismatched", "lone", "inside", "leading", "blanks", "empty", "twice",
       "spaced", "missing"});
  add("blanks.ini", "Blanks", {"key1", " key2 ", "key3", "key 4", "key4"});
  add("blanks.ini", " Blanks\t", {"key1"});
  add("blanks.ini", "Padded", {"inpad"});
  add("blanks.ini", " Padded ", {"inpad"});
  add("blanks.ini", "Tabbed", {"t"});
  add("case.ini", "mixed", {"key", "KEY", kSmallAe + "ble", kCapitalAe + "BLE"});
  add("case.ini", "LOWER", {"upper"});
  add("long.ini", "Long", {"v2046", "v2047", "v2048", "v3000", "q2046", "q2047", "q3000"});
  add("dups.ini", "Dup", {"both", "dupkey", "onlysecond"});
  add("dups.ini", "dup", {"onlysecond"});
  add("dups.ini", "Other", {"x", "both"});
  for (const char* file : {"crlf.ini", "lf.ini", "cr.ini", "nofinal.ini", "mixed.ini"}) {
    add(file, "End", {"a", "b", "c"});
    add(file, "Next", {"c"});
  }
  add("empty.ini", "Empty", {"key", "key2", "novalue", "", "url", "eq", "later", "nokey"});
  add("empty.ini", "Empty", {"key", "nokey"}, "");
  add("empty.ini", "Empty", {"nokey"}, "  two blanks  ");
  add("empty.ini", "Nope", {"key"});
  add("missing.ini", "Empty", {"key"}, "fallback");
  add("missing.ini", "Empty", {"key"}, "fallback ");
  add("comments.ini", "Com", {"commented", "indented", "real", "early"});
  add("comments.ini", "", {"early"});
  add("ctrlz.ini", "Z", {"key", "last"});
  add("ctrlzline.ini", "Z", {"key"});
  return lookups;
}

struct TKnownDifference {
  TLookup At;
  std::string System;  // what GetPrivateProfileStringA returns
  std::string Ours;    // what the reader's rules give
  const char* Reason;
};

std::vector<TKnownDifference> KnownDifferences() {
  return {
      {{"case.ini", "mixed", kSmallAe + "ble", "dflt"},
       "dflt",
       "apple",
       "the system folds only ASCII letters when it compares names"},
      {{"long.ini", "Long", "q2047", "dflt"},
       Pattern(2046),
       Pattern(2047),
       "the system counts the closing quote against the buffer and loses one more character"},
      {{"empty.ini", "Empty", "nokey", "  two blanks  "},
       "  two blanks",
       "  two blanks  ",
       "the system drops trailing blanks from the default"},
      {{"missing.ini", "Empty", "key", "fallback "},
       "fallback",
       "fallback ",
       "the system drops trailing blanks from the default"},
      {{"comments.ini", "", "early", "dflt"},
       "before",
       "dflt",
       "the system files lines before the first header under a nameless section"},
  };
}

class IniDifferential : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char temp[MAX_PATH];
    ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
    Folder = std::string(temp) + "MorvelIni." + std::to_string(GetCurrentProcessId()) + "\\";
    ASSERT_TRUE(CreateDirectoryA(Folder.c_str(), nullptr));
    for (const auto& [name, bytes] : Files()) {
      std::ofstream out(Folder + name, std::ios::binary);
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      ASSERT_TRUE(out.good()) << name;
    }
  }

  static void TearDownTestSuite() {
    for (const auto& file : Files()) DeleteFileA((Folder + file.first).c_str());
    EXPECT_TRUE(RemoveDirectoryA(Folder.c_str()));
  }

  void SetUp() override {
    Wired.Drives = &Drives;
    FScope = std::make_unique<TScopedServices>(Wired);
  }

  static std::string System(const TLookup& at) {
    char buffer[2048];
    GetPrivateProfileStringA(at.Section.c_str(), at.Key.c_str(), at.Default.c_str(), buffer,
                             sizeof buffer, (Folder + at.File).c_str());
    return buffer;
  }

  static std::string Ours(const TLookup& at) {
    return platform::TIniFile(Folder + at.File).ReadString(at.Section, at.Key, at.Default);
  }

  static bool Known(const TLookup& at) {
    for (const TKnownDifference& d : KnownDifferences())
      if (d.At == at) return true;
    return false;
  }

  static inline std::string Folder;
  win32::TWin32Drives Drives;
  TServices Wired;

 private:
  std::unique_ptr<TScopedServices> FScope;
};

TEST_F(IniDifferential, TheReadersAgreeOnEveryOtherLookup) {
  // The Windows-1252 letters in the names assume that code page.
  EXPECT_EQ(GetACP(), 1252u);
  int compared = 0;
  for (const TLookup& at : Lookups()) {
    if (Known(at)) continue;
    EXPECT_EQ(Ours(at), System(at)) << Describe(at);
    ++compared;
  }
  RecordProperty("compared", compared);
}

TEST_F(IniDifferential, KnownDifferencesStillHoldAndTheReaderKeepsItsRules) {
  std::cout << "Known differences from GetPrivateProfileStringA:\n";
  for (const TKnownDifference& d : KnownDifferences()) {
    std::cout << "  " << Describe(d.At) << ": system " << Shown(d.System) << ", ours "
              << Shown(d.Ours) << " - " << d.Reason << "\n";
    EXPECT_EQ(Ours(d.At), d.Ours) << Describe(d.At);
    EXPECT_EQ(System(d.At), d.System) << Describe(d.At);
  }
}

}  // namespace
