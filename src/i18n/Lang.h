// The language component: it switches the program's texts to another
// language at run time from a language file in INI form.
//
// [Translations] holds one entry per property to change, keyed by its path
// ("Form1.BitBtn2.Caption"): the walk goes from the application through the
// components each one owns, and the last part names a published property.
// [Messages] holds the message texts, keyed by their English wording; every
// message is passed through TranslateText just before it is shown.
//
// The file is read afresh on every call, so a new LanguageFile, or an edit of
// the file, counts from the next call on.
#pragma once

#include <functional>
#include <string>

#include "platform/Component.h"
#include "platform/Strings.h"

namespace i18n {

class TLanguage;

// Called for each property just before it is written; may change NewValue.
using TLanguageNotifyEvent = std::function<void(
    TLanguage* sender, platform::TComponent* component, const std::string& propertyName,
    const std::string& oldValue, std::string& newValue)>;

class TLanguage : public platform::TComponent {
 public:
  using TComponent::TComponent;

  const std::string& LanguageFile() const { return FLanguageFile; }
  void SetLanguageFile(const std::string& path) { FLanguageFile = path; }

  // The paths to translate, in the order they are applied.
  platform::TStrings& Properties() { return FProperties; }
  const platform::TStrings& Properties() const { return FProperties; }
  void SetProperties(const platform::TStrings& list) { FProperties.Assign(list.Items()); }

  // Separates the items of a value meant for a string-list property. Blanks
  // only, or nothing, store a comma; never assigned, it is empty.
  const std::string& Separator() const { return FSeparator; }
  void SetSeparator(const std::string& separator);

  platform::TNotifyEvent OnBeforeTranslation;
  platform::TNotifyEvent OnAfterTranslation;
  TLanguageNotifyEvent OnTranslate;

  // Applies [Translations] to every path in Properties. An invalid integer
  // for an integer property raises EConvertError and ends the pass there.
  // A file over the size cap goes to the application's error report by name
  // and then counts as one that cannot be read. False when the file could
  // not be read (absent, unreadable or over the cap): nothing was written.
  bool Translate();
  // The [Messages] translation of `text`, or `text` itself.
  std::string TranslateText(const std::string& text) const;
  // Writes one property addressed by a dotted path; a path that leads
  // nowhere, or an empty value, writes nothing.
  void SetPropertyByPath(const std::string& path, const std::string& value);

  const platform::TPropTable& PublishedProperties() const override;

 private:
  std::string FLanguageFile;
  platform::TStrings FProperties;
  std::string FSeparator;
};

}  // namespace i18n
