// The numbers the program logic uses in place of the system's names must be
// the system's own: the peers and services pass them through unchanged.
// Checked when the Windows tests are compiled.

// The system's headers first and the macros that rename the services'
// methods taken back, before the platform's headers are read.
// clang-format off
#include <windows.h>
#include <mmsystem.h>
#include "platform/win32/Win32Undef.h"
// clang-format on

#include "platform/Dialogs.h"
#include "platform/Messages.h"
#include "platform/Services.h"

namespace {

using namespace platform;

static_assert(kWmClose == WM_CLOSE && kScMinimize == SC_MINIMIZE);
static_assert(kWmMouseMove == WM_MOUSEMOVE && kWmLButtonDown == WM_LBUTTONDOWN &&
              kWmLButtonUp == WM_LBUTTONUP && kWmLButtonDblClk == WM_LBUTTONDBLCLK &&
              kWmRButtonDown == WM_RBUTTONDOWN && kWmRButtonUp == WM_RBUTTONUP &&
              kWmRButtonDblClk == WM_RBUTTONDBLCLK && kWmMButtonDown == WM_MBUTTONDOWN &&
              kWmMButtonUp == WM_MBUTTONUP && kWmMButtonDblClk == WM_MBUTTONDBLCLK);
static_assert(kMciOpen == MCI_OPEN && kMciClose == MCI_CLOSE && kMciSet == MCI_SET &&
              kMciOpenType == MCI_OPEN_TYPE && kMciOpenElement == MCI_OPEN_ELEMENT &&
              kMciSetDoorOpen == MCI_SET_DOOR_OPEN && kMciSetDoorClosed == MCI_SET_DOOR_CLOSED);
static_assert(kMbOkCancel == MB_OKCANCEL && kMbIconQuestion == MB_ICONQUESTION);
static_assert(kSwShowNormal == SW_SHOWNORMAL);

}  // namespace
