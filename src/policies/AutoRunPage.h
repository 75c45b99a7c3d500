// The "Options" page (TabSheet1): the CD-ROM AutoRun service, the start
// with Windows and the autoplay of audio CDs; and the main window's own
// "Taskbar" and "Ikon" boxes, whose handlers the window sets.
#pragma once

#include "policies/PolicyCheckBox.h"
#include "policies/PolicySettings.h"

namespace policies {

class TAutoRunPage {
 public:
  // Makes the page on `pageControl`, its controls owned by the form.
  TAutoRunPage(TPolicyPages& policies, platform::TPageControl* pageControl);

  platform::TTabSheet* TabSheet1;
  platform::TPanel* Panel1;
  TPolicyCheckBox* CheckBox1;  // start with Windows
  TPolicyCheckBox* CheckBox2;  // audio CD autoplay
  platform::TBevel* Bevel1;
  platform::TBitBtn* BitBtn5;  // AutoRun on, disabled while on
  platform::TBitBtn* BitBtn6;  // AutoRun off, disabled while off
  TPolicyCheckBox* CheckBox3;  // "Taskbar": tray icons instead of the window
  TPolicyCheckBox* CheckBox5;  // "Ikon": discs show their own icons

  // Switches AutoRun on in the CD-ROM service, with no question first, and
  // asks to restart; a value that cannot be stored is reported instead.
  void BitBtn5Click(platform::TObject* sender);
  // The same, off.
  void BitBtn6Click(platform::TObject* sender);

 private:
  TPolicyPages& FPolicies;
};

}  // namespace policies
