// A language file of any bytes applied to a small form: the pass ends
// normally or with a conversion error, the text it was given is the one
// written, list items come out trimmed, no component goes missing, and
// messages the file does not name stay as they are.
#include "Fuzz.h"
#include "fakes/Fakes.h"
#include "fakes/LangForm.h"
#include "i18n/Lang.h"
#include "platform/Forms.h"
#include "platform/IniFile.h"

using i18n::TLanguage;

namespace {

constexpr const char* kFile = "C:\\Morvel\\fuzz.lng";

// The paths a form lists, of every kind; the caption comes first, so that
// it is written whatever ends the pass.
const std::vector<std::string> kPaths = {"Form1.Button1.Caption", "Form1.Lang.Separator",
                                         "Form1.List1.Items",     "Form1.Button1.Hint",
                                         "Form1.Button1.Left",    "Form1.Button1.Tag",
                                         "Form1.Caption",         "Form2.Button1.Caption",
                                         "Form1..Caption",        " . "};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = fuzz::Text(data, size);
  fakes::TFakeSystem system;
  system.Drives.Files[kFile] = text;
  platform::TApplication app;
  fakes::TLangForm* form = app.CreateForm<fakes::TLangForm>("Form1");
  TLanguage& lang = *form->Lang;
  lang.SetLanguageFile(kFile);

  const auto translate = [&](const std::vector<std::string>& paths) {
    lang.Properties().Assign(paths);
    try {
      lang.Translate();
    } catch (const platform::EConvertError&) {
    }
  };
  translate(kPaths);
  const std::string caption =
      platform::TIniFile::FromText(text).ReadString("Translations", kPaths[0], "");
  FUZZ_CHECK(form->Button->Caption() == (caption.empty() ? "Design" : caption));
  // Then every key of the file as a path of its own: they may rename,
  // re-point the file or replace the list while the pass runs.
  std::vector<std::string> keys;
  for (const std::string& line : fuzz::Lines(text, 16))
    keys.push_back(line.substr(0, line.find('=')));
  translate(keys);

  FUZZ_CHECK(form->Components().size() == 4);
  for (const std::string& item : form->List->Items().Items())
    FUZZ_CHECK(item.empty() || (static_cast<unsigned char>(item.front()) > ' ' &&
                                static_cast<unsigned char>(item.back()) > ' '));
  if (text.find('\x02') == std::string::npos)
    FUZZ_CHECK(lang.TranslateText("\x02 not in any file") == "\x02 not in any file");
  for (const std::string& line : fuzz::Lines(text, 4)) lang.TranslateText(line);
  return 0;
}
