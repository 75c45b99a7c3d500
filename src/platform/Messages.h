// Window message and system command numbers that the program logic acts on.
// They are the system's own numbers: the peers pass them on unchanged.
#pragma once

#include <cstdint>

namespace platform {

inline constexpr std::uint32_t kWmClose = 0x0010;  // WM_CLOSE

// The mouse messages; the notification area also passes them on in lParam.
inline constexpr std::uint32_t kWmMouseMove = 0x0200;      // WM_MOUSEMOVE
inline constexpr std::uint32_t kWmLButtonDown = 0x0201;    // WM_LBUTTONDOWN
inline constexpr std::uint32_t kWmLButtonUp = 0x0202;      // WM_LBUTTONUP
inline constexpr std::uint32_t kWmLButtonDblClk = 0x0203;  // WM_LBUTTONDBLCLK
inline constexpr std::uint32_t kWmRButtonDown = 0x0204;    // WM_RBUTTONDOWN
inline constexpr std::uint32_t kWmRButtonUp = 0x0205;      // WM_RBUTTONUP
inline constexpr std::uint32_t kWmRButtonDblClk = 0x0206;  // WM_RBUTTONDBLCLK
inline constexpr std::uint32_t kWmMButtonDown = 0x0207;    // WM_MBUTTONDOWN
inline constexpr std::uint32_t kWmMButtonUp = 0x0208;      // WM_MBUTTONUP
inline constexpr std::uint32_t kWmMButtonDblClk = 0x0209;  // WM_MBUTTONDBLCLK
// What a shell that speaks to icons of version 3 adds for the keyboard (and
// after each click): the menu key or Shift+F10 on the icon, the icon chosen
// with the mouse, and Enter or the space bar on it.
inline constexpr std::uint32_t kWmContextMenu = 0x007B;  // WM_CONTEXTMENU
inline constexpr std::uint32_t kNinSelect = 0x0400;      // NIN_SELECT
inline constexpr std::uint32_t kNinKeySelect = 0x0401;   // NIN_KEYSELECT

// The system command of the window menu's Minimize (WM_SYSCOMMAND's wParam).
// The system uses the low four bits itself, so a command may arrive with
// some of them set.
inline constexpr unsigned kScMinimize = 0xF020;  // SC_MINIMIZE

}  // namespace platform
