// Which texts follow the chosen language, and where a language's file lives.
#pragma once

#include <string>
#include <vector>

namespace i18n {

// The paths the main window's language component translates, in the order
// they are applied; each is a [Translations] key of every language file. The
// about box's paths lead nowhere until it exists.
const std::vector<std::string>& LanguagePaths();

// The separator of list values in the language files.
inline constexpr const char* kLanguageSeparator = "|";

// The language used at start when the chosen one has no file.
inline constexpr const char* kFallbackLanguage = "english";

// `programDir` (with its trailing backslash), the name in lower case, and
// ".lng". The name is used as it stands otherwise.
std::string LangFileName(const std::string& programDir, const std::string& name);

}  // namespace i18n
