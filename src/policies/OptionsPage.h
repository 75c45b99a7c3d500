// The "Options" page: the CD-ROM AutoRun service, the start with Windows and
// the autoplay of audio CDs; and the default audio CD player of "Extras".
#pragma once

#include <string>

#include "i18n/Lang.h"
#include "policies/PolicySettings.h"

namespace policies {

// AutoRun on or off in the CD-ROM service, with no question first; the
// button of the state now in force is disabled. Ends with the restart
// question. A value that cannot be stored is reported, and nothing changes.
void SwitchCdRomAutoRun(bool on, int osCode, const TPolicyPages& pages,
                        const i18n::TLanguage& language);
// The program's full path in the machine's Run key, or the value deleted.
void WriteStartWithWindows(bool checked);
// "play" or "" in both places Windows looks; never deleted.
void WriteAudioCdAutoplay(bool checked);
// When `text` differs from what is stored, asks and on "Yes" stores it.
void ChangePlayerCommand(const std::string& text, std::string& playerCommand,
                         const i18n::TLanguage& language);

}  // namespace policies
