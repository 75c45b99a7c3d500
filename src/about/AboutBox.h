// The about box: the product's name and pictures, the help file, the reset
// of the AutoRun and autoplay settings, the update check and the maker's web
// links. Created once after the main window, shown modally by the main
// window's about button.
#pragma once

#include <functional>

#include "about/LinkLbl.h"
#include "about/UpdateCheck.h"
#include "platform/Forms.h"

namespace i18n {
class TLanguage;
}

namespace about {

inline constexpr const char* kVersionFileURL = "http://www.tandrel.invalid/sware/curr_ver.txt";
inline constexpr const char* kSiteURL = "http://www.tandrel.invalid/";
inline constexpr const char* kDonationURL =
    "https://pay.tandrel.invalid/donate?business=donations%40tandrel.invalid&item_name=Morvel"
    "&no_note=1&tax=0&currency_code=USD";
inline constexpr const char* kHelpFile = "MorvelHelp.chm";
// The pictures among the program's data resources.
inline constexpr const char* kProductPicture = "PRODUCT_JPG";
inline constexpr const char* kDonatePicture = "DONATE_JPG";

class TAboutBox : public platform::TForm {
 public:
  // `language` is the main window's language component, which translates
  // this box too; `updateURL` the version file of the update check, empty
  // for the maker's site. The program's entry point passes both.
  explicit TAboutBox(platform::TComponent* owner, i18n::TLanguage* language = nullptr,
                     const std::string& updateURL = {});
  ~TAboutBox() override;

  platform::TPanel* Panel1;
  platform::TBevel* Bevel2;
  platform::TLabel* ProductName;
  platform::TBevel* Bevel1;
  platform::TImage* ProgramIcon;
  TLinkLabel* LinkLabel1;
  platform::TImage* Image1;
  platform::TPanel* Panel2;
  platform::TBevel* Bevel3;
  platform::TButton* Button1;
  platform::TButton* Button2;
  platform::TButton* Button3;
  platform::TButton* OKButton;
  TUpdateCheck* mGetNewVer1;

  // Restores every AutoRun and autoplay setting to its default; the main
  // window provides it. Unset, the reset question is asked and nothing else
  // happens.
  std::function<void()> OnResetDefaults;

  // Translates the box (and the main window again) with the main window's
  // language component.
  void FormCreate(platform::TObject* sender);
  // Opens the help file beside the program and closes the box.
  void Button1Click(platform::TObject* sender);
  // Asks, then resets the settings to their defaults.
  void Button2Click(platform::TObject* sender);
  void Button3Click(platform::TObject* sender);
  // The donation page, in the browser.
  void Image1Click(platform::TObject* sender);

 private:
  i18n::TLanguage* FLanguage;
};

// The program's about box while it exists.
extern TAboutBox* AboutBox;

}  // namespace about
