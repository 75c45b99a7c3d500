#include "app/KeysPage.h"

#include "app/Settings.h"
#include "platform/Dialogs.h"
#include "platform/Guarded.h"
#include "platform/Layout.h"
#include "platform/Services.h"

using namespace platform;

namespace app {

namespace {

constexpr const char* kSettingNames[] = {kSettingOpenKey, kSettingCloseKey, kSettingShowKey};

// Said when RegisterHotKey refuses a key: another program holds it (or
// another field of ours). %s is the key as the user names it.
constexpr const char* kKeyTaken = "The hot key %s is already in use.";

// Ids of RegisterHotKey, one per field; an application's ids lie between 0
// and 0xBFFF.
int IdOf(TKeysPage::TKey key) { return 1 + static_cast<int>(key); }

}  // namespace

TKeysPage::TKeysPage(TComponent* form, TPageControl* pageControl) {
  TabSheet4 = Make<TTabSheet>(form, pageControl, "TabSheet4", {}, "Keys");
  const char* const captions[] = {"Open the current drive", "Close the current drive",
                                  "Show Morvel"};
  const char* const labelNames[] = {"Label5", "Label6", "Label7"};
  const char* const fieldNames[] = {"HotKey1", "HotKey2", "HotKey3"};
  for (int k = 0; k < kKeyCount; ++k) {
    const int top = 8 + 44 * k;
    Labels[k] = Make<TLabel>(form, TabSheet4, labelNames[k], {8, top, 209, 13}, captions[k]);
    Fields[k] = Make<THotKey>(form, TabSheet4, fieldNames[k], {8, top + 16, 209, 21});
    Fields[k]->OnChange = [this, k](TObject*) { FieldChanged(static_cast<TKey>(k)); };
  }
}

TKeysPage::~TKeysPage() = default;

void TKeysPage::Start(TTranslate translate, TPressed pressed) {
  FTranslate = std::move(translate);
  FPressed = std::move(pressed);
  if (THotKeyService* service = Services().HotKeys) {
    FWindow = service->Listen([this](int id) {
      const int k = id - 1;
      if (k >= 0 && k < kKeyCount && FPressed) Guarded([&] { FPressed(static_cast<TKey>(k)); });
    });
  }
  for (int k = 0; k < kKeyCount; ++k) {
    const std::uint16_t stored = ReadHotKeySetting(kSettingNames[k]);
    Fields[k]->SetValue(stored);
    // A stored key that another program took meanwhile stays stored: the
    // next start tries it again.
    if (stored != 0) Register(static_cast<TKey>(k), stored);
  }
}

bool TKeysPage::Register(TKey key, std::uint16_t value) {
  // Without a window for them (a test without the service) the keys are
  // only kept.
  if (!FWindow || FWindow->Register(IdOf(key), HotKeyModifiers(value), HotKeyVirtualKey(value))) {
    FRegistered[key] = value;
    return true;
  }
  Fields[key]->SetValue(0);
  std::string text = FTranslate ? FTranslate(kKeyTaken) : std::string(kKeyTaken);
  const std::size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, HotKeyText(value));
  ShowMessage(text);
  return false;
}

void TKeysPage::FieldChanged(TKey key) {
  const std::uint16_t edited = Fields[key]->Value();
  const std::uint16_t value = ValidHotKey(edited);
  // Shift, Ctrl or Alt held down without a key yet.
  if (edited != 0 && value == 0) return;
  if (value == FRegistered[key]) return;
  if (FWindow) FWindow->Unregister(IdOf(key));
  FRegistered[key] = 0;
  if (value != 0 && !Register(key, value)) return;
  WriteHotKeySetting(kSettingNames[key], value);
}

}  // namespace app
