#include "policies/XpPage.h"

#include "policies/PolicyMap.h"

namespace policies {

void WriteCdRomAccess(bool checked) { WriteText(kCdRomAccess, checked ? "0" : "1"); }

namespace {

void Store(platform::TCheckBox& box, TPolicy row, bool (*write)(bool checked)) {
  const bool checked = box.Checked();
  if (!box.UserChange())
    write(checked);
  else
    StoreOrPutBack(
        row, [&] { return write(checked); }, [&] { box.RestoreChecked(!checked); });
}

}  // namespace

void WriteCdBurning(platform::TCheckBox& box) {
  Store(box, kCdBurning, [](bool checked) { return WriteInteger(kCdBurning, checked ? 0 : 1); });
}

void WriteRemovableMediaInstall(platform::TCheckBox& box) {
  Store(box, kRemovableMediaInstall,
        [](bool checked) { return WriteDisableMedia(checked ? 0 : 1); });
}

}  // namespace policies
