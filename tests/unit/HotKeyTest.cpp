// The hot-key value on its way from the settings through the control to
// RegisterHotKey, and the words a message uses for it.
#include <gtest/gtest.h>

#include "app/Settings.h"
#include "fakes/Fakes.h"
#include "fakes/MainFormFixture.h"
#include "platform/HotKeys.h"

namespace {

using namespace platform;

TEST(HotKeyValue, StoredValueGivesTheControlsValueTheModifiersAndTheWords) {
  struct TRow {
    std::uint32_t Stored;
    bool AsText;          // stored as REG_SZ instead of REG_DWORD
    std::uint16_t Value;  // the control's, 0 for none
    unsigned Modifiers;   // RegisterHotKey's
    const char* Words;
  } rows[] = {
      {0x064F, false, 0x064F, kModControl | kModAlt, "Ctrl+Alt+O"},
      {0x0141, false, 0x0141, kModShift, "Shift+A"},  // Shift and Alt swap places
      {0x0470, false, 0x0470, kModAlt, "Alt+F1"},
      {0x0787, false, 0x0787, kModControl | kModShift | kModAlt, "Ctrl+Shift+Alt+F24"},
      {0x0A24, false, 0x0A24, kModControl, "Ctrl+Home"},  // the extended flag is no modifier
      {0x0263, false, 0x0263, kModControl, "Ctrl+Num 3"},
      {0x02BA, false, 0x02BA, kModControl, "Ctrl+;"},
      {0x0239, false, 0x0239, kModControl, "Ctrl+9"},
      {0x02E7, false, 0x02E7, kModControl, "Ctrl+Key E7"},
      {0, false, 0, 0, ""},
      {0x064F, true, 0, 0, ""},    // another type
      {0x1041, false, 0, 0, ""},   // a flag the control does not know
      {0x1064F, false, 0, 0, ""},  // more than 16 bits
      {0x0600, false, 0, 0, ""},   // modifiers without a key
      {0x0211, false, 0, 0, ""},   // Ctrl as the key
      {0x02A2, false, 0, 0, ""},   // left Ctrl as the key
      {0x0201, false, 0, 0, ""},   // a mouse button
      {0x025B, false, 0, 0, ""},   // a Windows key
      {0x02FF, false, 0, 0, ""},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(testing::Message() << std::hex << row.Stored << (row.AsText ? " text" : ""));
    fakes::TFakeSystem system;
    if (row.AsText)
      system.Registry.PutString(app::kSettingsRoot, app::kSettingsKey, "OpenKey",
                                std::to_string(row.Stored));
    else
      system.Registry.PutDword(app::kSettingsRoot, app::kSettingsKey, "OpenKey", row.Stored);
    const std::uint16_t value = app::ReadHotKeySetting(app::kSettingOpenKey);
    EXPECT_EQ(value, row.Value);
    EXPECT_EQ(HotKeyModifiers(value), row.Modifiers);
    EXPECT_EQ(HotKeyVirtualKey(value), row.Value & 0xFF);
    EXPECT_EQ(HotKeyText(value), row.Words);
    // What the field gives is stored as a DWORD that reads back the same.
    app::WriteHotKeySetting(app::kSettingCloseKey, value);
    const fakes::TFakeValue* stored =
        system.Registry.Find(app::kSettingsRoot, app::kSettingsKey, "CloseKey");
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->Type, kRegDword);
    EXPECT_EQ(app::ReadHotKeySetting(app::kSettingCloseKey), value);
  }
}

// RegisterHotKey as another program sees it: keys it holds are refused.
struct TFakeHotKeys : THotKeyService {
  std::map<int, unsigned> Registered;  // by id: modifiers << 8 | virtual key
  std::set<unsigned> Taken;
  struct TWindow : THotKeyWindow {
    TFakeHotKeys& Keys;
    explicit TWindow(TFakeHotKeys& keys) : Keys(keys) {}
    bool Register(int id, unsigned modifiers, unsigned vk) override {
      if (Keys.Taken.count(modifiers << 8 | vk)) return false;
      Keys.Registered[id] = modifiers << 8 | vk;
      return true;
    }
    void Unregister(int id) override { Keys.Registered.erase(id); }
  };
  std::unique_ptr<THotKeyWindow> Listen(THotKeyHandler) override {
    return std::make_unique<TWindow>(*this);
  }
};

class HotKeyField : public fakes::TMainFormFixture {};

TEST_F(HotKeyField, AWholeKeyIsRegisteredAndStoredATakenOneNamedAndDropped) {
  TFakeHotKeys keys;
  keys.Taken.insert((kModControl | kModAlt) << 8 | 'P');
  TServices services = Services();
  services.HotKeys = &keys;
  TScopedServices scope(services);
  app::TForm1* form = StartMainForm();
  THotKey* field = form->KeysPage->Fields[app::TKeysPage::kOpen];
  struct TRow {
    std::uint16_t Edited;
    unsigned Registered;  // 0: none
    std::int64_t Stored;  // -1: absent
    const char* Message;
    std::uint16_t Shown;
  } rows[] = {
      {0x0200, 0, -1, "", 0x0200},  // Ctrl held down: its key is still to come
      {0x064F, 0x034F, 0x064F, "", 0x064F},
      {0x0650, 0, 0x064F, "The hot key Ctrl+Alt+P is already in use.", 0},
      {0x0441, 0x0141, 0x0441, "", 0x0441},
      {0, 0, 0, "", 0},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(testing::Message() << std::hex << row.Edited);
    System.Dialogs.Asked.clear();
    field->UserChanged(row.Edited);
    EXPECT_EQ(keys.Registered.count(1) ? keys.Registered[1] : 0u, row.Registered);
    const fakes::TFakeValue* stored =
        System.Registry.Find(app::kSettingsRoot, app::kSettingsKey, "OpenKey");
    EXPECT_EQ(stored ? app::ReadHotKeySetting(app::kSettingOpenKey) : -1, row.Stored);
    EXPECT_EQ(System.Dialogs.Asked.empty() ? "" : System.Dialogs.Asked[0].Text, row.Message);
    EXPECT_EQ(field->Value(), row.Shown);
  }
}

}  // namespace
