#include "policies/XpPage.h"

#include "policies/PolicyMap.h"

namespace policies {

void WriteCdRomAccess(bool checked) { WriteText(kCdRomAccess, checked ? "0" : "1"); }

void WriteCdBurning(bool checked) { WriteInteger(kCdBurning, checked ? 0 : 1); }

void WriteRemovableMediaInstall(bool checked) { WriteDisableMedia(checked ? 0 : 1); }

}  // namespace policies
