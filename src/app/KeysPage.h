// The "Keys" page (TabSheet4): three global hot keys, for opening and
// closing the current drive and for bringing the main window up. Each is
// stored the moment its field holds a whole key, and works in every
// program, in window mode and in tray mode alike.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/Controls.h"

namespace app {

class TKeysPage {
 public:
  enum TKey { kOpen, kClose, kShow, kKeyCount };
  // The English text of a message, in the chosen language.
  using TTranslate = std::function<std::string(const std::string& text)>;
  using TPressed = std::function<void(TKey key)>;

  // Makes the page on `pageControl`, its controls owned by `form`.
  TKeysPage(platform::TComponent* form, platform::TPageControl* pageControl);
  ~TKeysPage();

  // Start-up: the stored keys go into the fields and are registered;
  // `pressed` runs when one of them is pressed, in any program.
  void Start(TTranslate translate, TPressed pressed);

  platform::TTabSheet* TabSheet4;
  std::array<platform::TLabel*, kKeyCount> Labels{};   // Label5 to Label7
  std::array<platform::THotKey*, kKeyCount> Fields{};  // HotKey1 to HotKey3

 private:
  // The user changed a field: a whole key is registered and stored, an
  // emptied field gives its key up; modifiers alone wait for their key.
  void FieldChanged(TKey key);
  // Registers the field's key; a key that is taken is named in a message,
  // and the field is emptied. False then.
  bool Register(TKey key, std::uint16_t value);

  TTranslate FTranslate;
  TPressed FPressed;
  std::unique_ptr<platform::THotKeyWindow> FWindow;
  std::array<std::uint16_t, kKeyCount> FRegistered{};
};

}  // namespace app
