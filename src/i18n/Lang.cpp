#include "i18n/Lang.h"

#include "platform/Application.h"
#include "platform/Convert.h"
#include "platform/Guarded.h"
#include "platform/IniFile.h"
#include "platform/Services.h"

using platform::TComponent;
using platform::TIniFile;
using platform::TPropInfo;
using platform::TPropKind;

namespace i18n {

namespace {

// Blanks here are spaces only, as the framework's Trim removes them (and
// every control character below the space).
std::string Trim(const std::string& s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(b, e - b);
}

}  // namespace

void TLanguage::SetSeparator(const std::string& separator) {
  FSeparator = Trim(separator).empty() ? std::string(",") : separator;
}

bool TLanguage::Translate() {
  // The events run directly: an error in the pass must reach the caller.
  if (OnBeforeTranslation) OnBeforeTranslation(this);
  const TIniFile ini(FLanguageFile);
  // Said once, where the language is loaded; the pass then runs as for a
  // file that cannot be read, and messages stay in English without a word.
  if (ini.TooLarge())
    platform::ReportException(platform::EInOutError(
        "The language file " + FLanguageFile + " is larger than " +
        std::to_string(platform::kReadFileMax / (1024 * 1024)) + " MiB and was not read"));
  // A copy: a handler may change the list while the pass runs.
  const std::vector<std::string> paths = FProperties.Items();
  for (const std::string& path : paths) {
    if (Trim(path).empty()) continue;
    SetPropertyByPath(path, ini.ReadString("Translations", path, {}));
  }
  if (OnAfterTranslation) OnAfterTranslation(this);
  return ini.Read();
}

std::string TLanguage::TranslateText(const std::string& text) const {
  return TIniFile(FLanguageFile).ReadString("Messages", text, text);
}

void TLanguage::SetPropertyByPath(const std::string& pathIn, const std::string& valueIn) {
  std::string path = Trim(pathIn);
  if (path.empty()) return;

  TComponent* current = platform::Application;
  for (std::size_t dot = path.find('.'); dot != std::string::npos; dot = path.find('.')) {
    const std::string head = Trim(path.substr(0, dot));
    path = Trim(path.substr(dot + 1));
    current = current ? current->FindComponent(head) : nullptr;
  }
  if (!current || valueIn.empty()) return;

  std::string value = valueIn;
  const TPropInfo* prop = current->FindProperty(path);
  if (OnTranslate) {
    const std::string old = prop && prop->Kind == TPropKind::Text ? prop->Get(*current) : "";
    OnTranslate(this, current, path, old, value);
  }

  // Path is the trimmed property name already; the handler cannot change it.
  if (!prop) return;
  switch (prop->Kind) {
    case TPropKind::Text:
      prop->Set(*current, value);
      break;
    case TPropKind::Integer:
      prop->Set(*current, std::to_string(platform::StrToInt(value)));
      break;
    case TPropKind::Strings: {
      std::vector<std::string> items;
      if (!FSeparator.empty()) {
        for (std::size_t at = value.find(FSeparator); at != std::string::npos;
             at = value.find(FSeparator)) {
          items.push_back(Trim(value.substr(0, at)));
          value.erase(0, at + FSeparator.size());
        }
      }
      if (const std::string rest = Trim(value); !rest.empty()) items.push_back(rest);
      if (prop->SetItems) {
        prop->SetItems(*current, items);
      } else {
        std::string joined;
        for (const std::string& item : items) joined += item + "\r\n";
        prop->Set(*current, joined);
      }
      break;
    }
    case TPropKind::Other:
      break;  // nothing the language files can set
  }
}

const platform::TPropTable& TLanguage::PublishedProperties() const {
  static const platform::TPropTable table{
      &TComponent::PublishedProperties(),
      {{"LanguageFile", TPropKind::Text,
        [](const TComponent& c) { return static_cast<const TLanguage&>(c).LanguageFile(); },
        [](TComponent& c, const std::string& v) { static_cast<TLanguage&>(c).SetLanguageFile(v); }},
       {"Properties", TPropKind::Strings,
        [](const TComponent& c) { return static_cast<const TLanguage&>(c).Properties().Text(); },
        [](TComponent& c, const std::string& v) {
          static_cast<TLanguage&>(c).Properties().SetText(v);
        },
        [](TComponent& c, const std::vector<std::string>& items) {
          static_cast<TLanguage&>(c).Properties().Assign(items);
        }},
       {"OnBeforeTranslation", TPropKind::Other, [](const TComponent&) { return std::string(); },
        [](TComponent&, const std::string&) {}},
       {"OnAfterTranslation", TPropKind::Other, [](const TComponent&) { return std::string(); },
        [](TComponent&, const std::string&) {}},
       {"OnTranslate", TPropKind::Other, [](const TComponent&) { return std::string(); },
        [](TComponent&, const std::string&) {}},
       {"Separator", TPropKind::Text,
        [](const TComponent& c) { return static_cast<const TLanguage&>(c).Separator(); },
        [](TComponent& c, const std::string& v) { static_cast<TLanguage&>(c).SetSeparator(v); }}}};
  return table;
}

}  // namespace i18n
