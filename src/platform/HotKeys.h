// Global hot keys: the value the system's hot-key control edits, the field
// that edits it, and the registration that makes a key work in every
// program.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/ControlBase.h"

namespace platform {

// The hot-key control's value (HKM_GETHOTKEY): the virtual key in the low
// byte, the HOTKEYF_* flags in the high byte; 0 for none.
inline constexpr std::uint32_t kHotKeyShift = 0x01;     // HOTKEYF_SHIFT
inline constexpr std::uint32_t kHotKeyControl = 0x02;   // HOTKEYF_CONTROL
inline constexpr std::uint32_t kHotKeyAlt = 0x04;       // HOTKEYF_ALT
inline constexpr std::uint32_t kHotKeyExtended = 0x08;  // HOTKEYF_EXT: which of two like keys

// RegisterHotKey's modifiers: Shift and Alt sit the other way round.
inline constexpr unsigned kModAlt = 0x1;      // MOD_ALT
inline constexpr unsigned kModControl = 0x2;  // MOD_CONTROL
inline constexpr unsigned kModShift = 0x4;    // MOD_SHIFT

// A stored or edited value as a key the program can register: 0 for none,
// and also for anything the control never gives (more than 16 bits, flags
// it does not know, modifiers without a key, a mouse button, a modifier
// key on its own).
std::uint16_t ValidHotKey(std::uint32_t value);
std::uint8_t HotKeyVirtualKey(std::uint16_t value);
// RegisterHotKey's modifiers for a value.
unsigned HotKeyModifiers(std::uint16_t value);
// The key as a user names it: "Ctrl+Alt+O"; empty for none.
std::string HotKeyText(std::uint16_t value);

// The system's hot-key control (msctls_hotkey32).
class THotKey : public TWinControl {
 public:
  using TWinControl::TWinControl;
  std::uint16_t Value() const { return FValue; }
  // From code: no OnChange.
  void SetValue(std::uint16_t value);
  // Input from the peer: the user pressed a key or cleared the field;
  // raises OnChange.
  void UserChanged(std::uint16_t value);

  TNotifyEvent OnChange;

 protected:
  std::unique_ptr<TPeer> CreatePeer(TPeerFactory& factory) override;

 private:
  std::uint16_t FValue = 0;
};

// Runs with the id a key was registered under, when it is pressed.
using THotKeyHandler = std::function<void(int id)>;

// Holds the program's hot keys while it lives, on a top-level window of its
// own: the main window is hidden in tray mode, and a key must work there
// too.
class THotKeyWindow {
 public:
  virtual ~THotKeyWindow() = default;
  // RegisterHotKey; false when the key is taken (another program holds it).
  virtual bool Register(int id, unsigned modifiers, unsigned virtualKey) = 0;
  // UnregisterHotKey; nothing happens for an id not registered.
  virtual void Unregister(int id) = 0;
};

class THotKeyService {
 public:
  virtual ~THotKeyService() = default;
  // nullptr when no window can be made.
  virtual std::unique_ptr<THotKeyWindow> Listen(THotKeyHandler handler) = 0;
};

}  // namespace platform
