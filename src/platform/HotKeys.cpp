#include "platform/HotKeys.h"

#include <cstdio>

namespace platform {

namespace {

// Keys that only change another key, and the mouse buttons: the control
// never gives them as the key, and RegisterHotKey would take them from
// every program.
bool IsKey(std::uint8_t vk) {
  if (vk < 0x08 || vk == 0xFF) return false;   // none, mouse buttons
  if (vk >= 0x10 && vk <= 0x12) return false;  // Shift, Ctrl, Alt
  if (vk == 0x5B || vk == 0x5C) return false;  // the Windows keys
  if (vk >= 0xA0 && vk <= 0xA5) return false;  // left and right modifiers
  return true;
}

struct TKeyName {
  std::uint8_t Vk;
  const char* Name;
};

// The names the keys carry on a keyboard; the punctuation keys as on a
// US keyboard, where the system's own names would depend on the layout.
constexpr TKeyName kKeyNames[] = {
    {0x08, "Backspace"},
    {0x09, "Tab"},
    {0x0C, "Clear"},
    {0x0D, "Enter"},
    {0x13, "Pause"},
    {0x14, "Caps Lock"},
    {0x1B, "Esc"},
    {0x20, "Space"},
    {0x21, "Page Up"},
    {0x22, "Page Down"},
    {0x23, "End"},
    {0x24, "Home"},
    {0x25, "Left"},
    {0x26, "Up"},
    {0x27, "Right"},
    {0x28, "Down"},
    {0x2C, "Print Screen"},
    {0x2D, "Insert"},
    {0x2E, "Delete"},
    {0x5D, "Menu"},
    {0x6A, "Num *"},
    {0x6B, "Num +"},
    {0x6D, "Num -"},
    {0x6E, "Num Del"},
    {0x6F, "Num /"},
    {0x90, "Num Lock"},
    {0x91, "Scroll Lock"},
    {0xBA, ";"},
    {0xBB, "="},
    {0xBC, ","},
    {0xBD, "-"},
    {0xBE, "."},
    {0xBF, "/"},
    {0xC0, "`"},
    {0xDB, "["},
    {0xDC, "\\"},
    {0xDD, "]"},
    {0xDE, "'"},
};

std::string KeyName(std::uint8_t vk) {
  char name[16] = "";
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z'))
    std::snprintf(name, sizeof name, "%c", static_cast<char>(vk));
  else if (vk >= 0x60 && vk <= 0x69)
    std::snprintf(name, sizeof name, "Num %d", vk - 0x60);
  else if (vk >= 0x70 && vk <= 0x87)
    std::snprintf(name, sizeof name, "F%d", vk - 0x70 + 1);
  else {
    for (const TKeyName& key : kKeyNames)
      if (key.Vk == vk) return key.Name;
    std::snprintf(name, sizeof name, "Key %02X", static_cast<unsigned>(vk));
  }
  return name;
}

}  // namespace

std::uint16_t ValidHotKey(std::uint32_t value) {
  const std::uint32_t flags = value >> 8;
  const auto vk = static_cast<std::uint8_t>(value & 0xFF);
  if (flags > 0x0F || !IsKey(vk)) return 0;
  return static_cast<std::uint16_t>(value);
}

std::uint8_t HotKeyVirtualKey(std::uint16_t value) { return static_cast<std::uint8_t>(value); }

unsigned HotKeyModifiers(std::uint16_t value) {
  const unsigned flags = value >> 8;
  return ((flags & kHotKeyShift) ? kModShift : 0) | ((flags & kHotKeyControl) ? kModControl : 0) |
         ((flags & kHotKeyAlt) ? kModAlt : 0);
}

std::string HotKeyText(std::uint16_t value) {
  if (ValidHotKey(value) == 0) return {};
  // In the order the control itself shows them.
  const unsigned flags = value >> 8;
  std::string text;
  if (flags & kHotKeyControl) text += "Ctrl+";
  if (flags & kHotKeyShift) text += "Shift+";
  if (flags & kHotKeyAlt) text += "Alt+";
  return text + KeyName(HotKeyVirtualKey(value));
}

void THotKey::SetValue(std::uint16_t value) {
  if (value == FValue) return;
  FValue = value;
  Changed(TChange::Text);
}

void THotKey::UserChanged(std::uint16_t value) {
  FValue = value;
  DoEvent(OnChange, this);
}

std::unique_ptr<TPeer> THotKey::CreatePeer(TPeerFactory& factory) { return factory.Create(*this); }

}  // namespace platform
