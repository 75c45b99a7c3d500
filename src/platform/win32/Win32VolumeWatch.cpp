// The system sends its volume messages to top-level windows only: a
// message-only window hears none, and the main window is hidden in tray
// mode. So the watch is a top-level window of its own that is never shown.
#include "platform/win32/Win32VolumeWatch.h"

#include <windows.h>
#include <dbt.h>

#include "platform/Types.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WindowBinding.h"

namespace platform::win32 {

namespace {

class TVolumeWindow final : public TVolumeWatch, public TWindowTarget {
 public:
  explicit TVolumeWindow(TVolumeHandler handler) : FHandler(std::move(handler)) {
    FWindow.reset(CreateListenerWindow());
    if (!FWindow) throw Exception("Error creating window");
    BindWindow(FWindow.get(), *this);
  }
  ~TVolumeWindow() override { UnbindWindow(FWindow.get()); }

  LRESULT WindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != WM_DEVICECHANGE) return ::DefWindowProcA(window, message, wParam, lParam);
    if ((wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE) && lParam != 0) {
      // Anyone may broadcast this message: a record too short for a volume
      // is no volume.
      const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
      if (header->dbch_size >= sizeof(DEV_BROADCAST_VOLUME) &&
          header->dbch_devicetype == DBT_DEVTYP_VOLUME) {
        const auto* volume = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(lParam);
        TVolumeChange change;
        change.Arrived = wParam == DBT_DEVICEARRIVAL;
        change.Units = volume->dbcv_unitmask & 0x03FFFFFFu;
        change.Media = (volume->dbcv_flags & DBTF_MEDIA) != 0;
        if (FHandler) FHandler(change);
      }
    }
    // Nothing is refused: a query to remove a device is granted.
    return TRUE;
  }

 private:
  TVolumeHandler FHandler;
  TWindowHandle FWindow;
};

}  // namespace

std::unique_ptr<TVolumeWatch> TWin32VolumeWatchService::Watch(TVolumeHandler handler) {
  return std::make_unique<TVolumeWindow>(std::move(handler));
}

}  // namespace platform::win32
