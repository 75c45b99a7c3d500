#include "fakes/MainFormFixture.h"

namespace fakes {

TMainFormFixture::TMainFormFixture() {
  App->SetTitle("Morvel");
  App->ShowMainForm = false;
}

void TMainFormFixture::Store(const std::string& name, const std::string& value) {
  System.Registry.PutString(app::kSettingsRoot, app::kSettingsKey, name, value);
}

std::string TMainFormFixture::Stored(const std::string& name) const {
  return System.Registry.String(app::kSettingsRoot, app::kSettingsKey, name);
}

app::TForm1* TMainFormFixture::StartMainForm(const std::string& language, const std::string& tray,
                                             const std::string& icons) {
  Store(app::kSettingLanguage, language);
  Store(app::kSettingTray, tray);
  Store(app::kSettingIcons, icons);
  return CreateMainForm();
}

app::TForm1* TMainFormFixture::CreateMainForm() { return App->CreateForm<app::TForm1>("Form1"); }

}  // namespace fakes
